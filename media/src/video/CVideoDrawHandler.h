#pragma once
// CVideoDrawHandler: what happens to each decoded frame. The frame is
// converted into the player's frame image at the video's own size and in the
// back buffer's pixel format (8-bit back buffers get the nearest colours of
// their current palette), the frame image is stretched over the whole back
// buffer, and the viewport is presented. A frame that cannot be converted
// is not drawn and the viewport is not presented for it.

#include "imaging/DibRef.h"
#include "imaging/PixelFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

class CDib;
class CDibSection;
class CNearestColourMap;
class IVideoViewport;
struct AVFrame;
struct SwsContext;

// Results of Draw.
enum VideoDrawResult : int {
    VIDEO_DRAW_OK = 0,
    VIDEO_DRAW_NO_SURFACE = -1,  // no back buffer, or one of a format not drawn into
    VIDEO_DRAW_BAD_FORMAT = -2,  // a frame the converter cannot read
};

class CVideoDrawHandler {
public:
    CVideoDrawHandler();
    ~CVideoDrawHandler();
    CVideoDrawHandler(const CVideoDrawHandler&) = delete;
    CVideoDrawHandler& operator=(const CVideoDrawHandler&) = delete;

    // True for the back-buffer formats frames can be drawn into.
    static bool CanDrawInto(PixelFormat format);

    // Draws one frame as described above. `image` is the frame image; it is
    // made again when the back buffer's format has changed since.
    int Draw(const AVFrame& frame, DibRef<CDibSection>& image, IVideoViewport& viewport);

private:
    bool Convert(const AVFrame& frame, CDibSection& image, CDib& surface);
    CNearestColourMap* MapFor(CDib& surface);

    SwsContext* m_scaler = nullptr;
    std::vector<uint8_t> m_bgr;
    std::unique_ptr<CNearestColourMap> m_map;
    uint64_t m_mapSerial = 0;
    uint32_t m_mapVersion = 0;
    // The ordered dither's spread for the mapped palette, and whether it
    // holds only colours high colour can show (five bits a channel).
    int m_spread = 32;
    bool m_highColourPalette = false;
};

// A new frame image of the given size and format, owned by the handle (the
// player alone holds it); empty when it cannot be made.
DibRef<CDibSection> MakeFrameImage(int width, int height, PixelFormat format);
