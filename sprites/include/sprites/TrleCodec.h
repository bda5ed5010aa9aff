#pragma once
// The "TRLE" sprite codec. Every row of a picture loses its run of transparent
// (zero) pixels at both ends; a row table records, top row first, where the
// stored pixels of each row lie, how many were skipped at the left and how
// many are stored. The blitters draw straight from that table, so the game
// keeps sprites encoded and even converts them to the display's format while
// they stay encoded.
//
// Data area (after the colour table of an 8-bit picture, right after the
// 40-byte info header otherwise; offsets from its start):
//   0   three u32 colour masks of the pixels (when the word at 12 is 3; else 0)
//   12  u32 compression of the pixels: 0 (BI_RGB) or 3 (BI_BITFIELDS)
//   16  one 8-byte entry per row: u32 offset of the first stored pixel from
//       the data area start, u16 skip, u16 count
//   16 + 8 × height: the stored pixels, top row first, unpadded.
// The info header's image size is the size of the data area.
//
// Every entry point takes a packed picture (info header first) and the number
// of bytes really there, refuses anything whose header, row table, offsets or
// spans do not fit those bytes, and returns a new picture of exactly
// PictureSize bytes from AllocPicture (free it with FreePicture), or null.
// Inputs are never changed.

#include "imaging/PaletteEntry.h"
#include "imaging/PixelFormat.h"
#include "sprites/PictureFormat.h"

#include <cstddef>
#include <cstdint>

// A "TRLE" picture whose every size, offset and span was checked against the
// bytes available.
struct TrleLayout {
    const uint8_t* info = nullptr;
    const uint8_t* dataArea = nullptr;
    size_t dataOffset = 0; // from the info header
    size_t dataSize = 0;
    int width = 0;
    int height = 0;
    uint32_t bitCount = 0;
    uint32_t bytesPerPixel = 0;
    uint32_t pixelCompression = 0; // word 12: BI_RGB or BI_BITFIELDS
    PixelFormat format = PF_NONE;  // of the stored pixels

    uint32_t RowOffset(int row) const { return ReadLE32(dataArea + 16 + size_t(row) * 8); }
    uint32_t RowSkip(int row) const { return ReadLE16(dataArea + 16 + size_t(row) * 8 + 4); }
    uint32_t RowCount(int row) const { return ReadLE16(dataArea + 16 + size_t(row) * 8 + 6); }
    const uint8_t* RowPixels(int row) const { return dataArea + RowOffset(row); }
};

// Fills `layout` and returns true when `picture` is a well-formed "TRLE"
// picture of 8, 16, 24 or 32 bits within `available` bytes: skip + count of
// every row within the width, every row's stored pixels inside the data
// area, the data area inside the bytes, pixel compression 0 (or 3 at 16 and
// 32 bits).
[[nodiscard]] bool ReadTrleLayout(const uint8_t* picture, size_t available, TrleLayout& layout);

// Encodes an uncompressed 8-bit picture (compression BI_RGB), trimmed by its
// own zero pixels. The colour table is kept.
uint8_t* TrleEncode8(const uint8_t* picture, size_t available);

// Encodes an uncompressed picture of 8, 16, 24 or 32 bits with the row trims
// of a "TRLE" reference of the same width and height; the reference's pixels
// are never read, so its depth may differ (the 8-bit version of the art).
uint8_t* TrleEncodeWithReference(const uint8_t* source, size_t sourceAvailable, const uint8_t* reference,
                                 size_t referenceAvailable);

// Decodes to an uncompressed bottom-up picture: transparent pixels become 0,
// the colour table (8 bits) or the masks (pixel compression 3) come back.
// Empty rows cost 8 bytes each encoded, so a small file may claim a picture
// of gigabytes: results larger than TRLE_MAX_DECODED_SIZE are refused.
uint8_t* TrleDecode(const uint8_t* picture, size_t available);
constexpr size_t TRLE_MAX_DECODED_SIZE = size_t(256) << 20;

// Converts the stored pixels to `target` (8 bits or more, a format with a
// picture header: not PF_BGR24 or PF_BGR32) keeping the row trims. An 8-bit
// target needs `palette` (256 entries): it becomes the colour table, and each
// pixel takes the nearest entry not marked reserved.
uint8_t* TrleConvertFormat(const uint8_t* picture, size_t available, PixelFormat target,
                           const PaletteEntry* palette);

// Converts to 8 bits through `inverseMap` (32768 entries, indexed by the
// pixel's 5-5-5 value) instead of a nearest-colour search; `palette` (256
// entries) becomes the colour table.
uint8_t* TrleConvertFast8(const uint8_t* picture, size_t available, const PaletteEntry* palette,
                          const uint8_t* inverseMap);
