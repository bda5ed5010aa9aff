#pragma once
// CStoredFrame: one frame of a document as the document keeps it: the
// picture's header (the 40-byte info header with its colour table or masks)
// and its pixels (bottom-up rows padded to 4 bytes, as a plain packed picture
// holds them), the pixels packed with a fast in-memory codec (LZ4) whenever
// that saves memory. Packing a frame costs about a millisecond and unpacking
// a fraction of one, so every change can be stored at once and long
// sequences still take a fraction of their plain size.
//
// A stored frame never changes: edits store a new frame in its place, so the
// undo history and repeated frames share it by reference. Because it holds
// no image object, every operation of it may run on any thread.

#include "imaging/PixelFormat.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CStoredFrame;
using FrameRef = std::shared_ptr<const CStoredFrame>;

class CStoredFrame {
public:
    // Stores a plain packed picture (info header first, compression 0 or 3,
    // no optional colour table at the direct-colour depths): exactly the
    // header and pixel bytes it describes, no fewer. Null for anything else
    // or when memory runs out.
    static FrameRef FromPicture(const uint8_t* picture, size_t size);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    PixelFormat Format() const { return m_format; }
    // The info header and colour table or masks.
    const std::vector<uint8_t>& Header() const { return m_header; }
    // Bytes of the plain pixels.
    size_t PixelBytes() const { return m_pixelBytes; }
    // Bytes the frame holds in memory.
    size_t StoredBytes() const;
    bool IsPacked() const { return m_packed; }

    // Writes the plain pixels to `out` (PixelBytes() bytes); false when the
    // packed data does not unpack to exactly them.
    bool UnpackPixels(uint8_t* out) const;
    // The plain packed picture (header, then pixels); empty on failure.
    std::vector<uint8_t> Picture() const;

private:
    CStoredFrame() = default;

    int m_width = 0;
    int m_height = 0;
    PixelFormat m_format = PF_NONE;
    std::vector<uint8_t> m_header;
    size_t m_pixelBytes = 0;
    bool m_packed = false;
    std::vector<uint8_t> m_pixels; // plain, or LZ4-packed when m_packed
};
