#pragma once
// CPlainPictureCheck: tells which pictures of a long run (the frames of a
// video) are already in the plain form the document stores, so they can be
// stored as they are, on any thread, instead of being rebuilt through image
// objects one by one. It learns from a picture that was rebuilt: when the
// rebuilt header is the picture's own, a later picture with the very same
// header (size, format, colours) is plain too. Only whole-byte pixels are
// taken so (the unused bits of a 1- to 4-bit row are not compared), and the
// padding at the end of each row is cleared in the copy, as a rebuilt
// picture has it.

#include "editor/CStoredFrame.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CPlainPictureCheck {
public:
    // `picture` (a packed picture, info header first, or behind a 14-byte
    // file header) was rebuilt into `frame`.
    void Learn(const uint8_t* picture, size_t size, const CStoredFrame& frame);
    // Whether the picture is plain as the one learnt was.
    bool IsPlain(const uint8_t* picture, size_t size) const;
    // The plain picture's bytes, row padding cleared; for an IsPlain picture.
    std::vector<uint8_t> Copy(const uint8_t* picture) const;

private:
    std::vector<uint8_t> m_header; // empty until a plain picture is learnt
    size_t m_pixelBytes = 0;
    size_t m_rowBytes = 0;
    size_t m_stride = 0;
};
