#pragma once
// The link between a packed picture's header and the image library's pixel
// formats: which PixelFormat a header describes, and the header a new picture
// of a given format and size starts with.

#include "imaging/PixelFormat.h"

#include <cstddef>
#include <cstdint>

// Largest header BuildPictureHeader writes: 40 bytes plus 256 colour entries.
constexpr size_t MAX_PICTURE_HEADER_SIZE = 40 + 256 * 4;

// The pixel format of a picture whose header was checked with
// IsPictureWithin(info, available). 1-8 bits are the indexed formats, 24 and
// 32 bits the blue-first orders. 16 bits: 5-6-5 when the green mask is not
// 0x3E0, 5-5-5 otherwise; unmasked pixels (BI_RGB, "PKC1", or a "TRLE" data
// area whose pixel compression is BI_RGB) are always 5-5-5, and a red mask of
// 0x1F selects the red-last order that BuildPictureHeader writes for
// PF_BGR555/PF_BGR565. A "TRLE" picture keeps its masks at the start of its
// data area, which is where a masked picture keeps them too. PF_NONE when
// the masks lie outside `available` or the bit count is unknown.
PixelFormat PackedPictureFormat(const uint8_t* info, size_t available);

// Writes the header of a new uncompressed picture of `format` (info header
// with planes 1 and the given size, zeroed colour table or the format's three
// masks) into `out`, which holds MAX_PICTURE_HEADER_SIZE bytes. Returns the
// header size, or 0 for a format without a header (PF_BGR24, PF_BGR32 and
// unknown codes) or a size outside 1..65535. The size always equals
// PictureHeaderSize of the header written, so the pixels follow it directly.
size_t BuildPictureHeader(PixelFormat format, int width, int height, uint8_t* out);
