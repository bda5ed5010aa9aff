#pragma once
// AVI files for the video tests, written in memory with FFmpeg's own
// encoders and muxer (independent of the player's reading side), and a
// viewport that records what the player presents.

#include "imaging/CDibSection.h"
#include "imaging/DibRef.h"
#include "media/IVideoViewport.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace videotest {

// The colour (0xRRGGBB) frame k has everywhere unless a painter says else:
// far apart for neighbouring frames, so lossy codecs keep them apart.
uint32_t FrameColour(int k);

struct AviSpec {
    std::string codec = "rawvideo"; // an FFmpeg encoder name
    int width = 32;
    int height = 24;
    int framesPerSecond = 10;
    int frames = 5;
    int audioRate = 0; // 0: no audio track; else 16-bit mono PCM at this rate
    // Colour of frame k at (x, y); null paints FrameColour(k).
    std::function<uint32_t(int k, int x, int y)> paint;
};

// The whole file; empty when this FFmpeg lacks the encoder or fails.
std::vector<uint8_t> MakeAvi(const AviSpec& spec);

// True when the channels of two colours differ by at most `tolerance`.
bool Near(uint32_t a, uint32_t b, int tolerance);

// A back buffer in memory; counts the presents and keeps the frame number
// the player reported at each (through `frameNumber`, when set).
class RecordingViewport final : public IVideoViewport {
public:
    RecordingViewport(int width, int height, PixelFormat format);
    CDib* DrawingSurface() override { return m_surface.Get(); }
    void Present() override;

    CDibSection& Surface() const { return *m_surface.Get(); }
    // The colour at (x, y) as 0xRRGGBB, whatever the format.
    uint32_t ColourAt(int x, int y) const;

    std::function<int64_t()> frameNumber;
    std::vector<int64_t> presented;

private:
    DibRef<CDibSection> m_surface;
};

} // namespace videotest
