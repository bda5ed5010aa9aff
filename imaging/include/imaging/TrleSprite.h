#pragma once
// A "TRLE" sprite as the blitters see it: the encoded data area of a packed
// picture, drawn row by row without decoding. Data area layout (offsets from
// its start, little-endian): three u32 colour masks, a u32 pixel compression
// (0 or 3), then one 8-byte entry per row, top row first {u32 offset of the
// row's first stored pixel from the data area start, u16 skip, u16 count},
// then the stored pixels.
//
// Whoever builds a view has validated it (the sprite library does on attach):
// every row's skip + count <= width and offset + count × bytes per pixel
// <= dataSize, and the row table lies inside the data area. The blitters trust
// a validated view and check nothing per row.

#include "imaging/BlitFlags.h"
#include "imaging/DibResult.h"
#include "imaging/PixelFormat.h"

#include <cstddef>
#include <cstdint>

class CDib;
class CDibPalette;
class TrleRunCache;

struct TrleSpriteView {
    const uint8_t* dataArea = nullptr;
    size_t dataSize = 0;
    int width = 0;
    int height = 0;
    PixelFormat format = PF_NONE; // of the stored pixels
    CDibPalette* palette = nullptr; // 8-bit sprites: the sprite's colours
    // Where keyed blits keep the sprite's runs and converted pixels between
    // calls (see TrleRunCache.h); without one they look every index up.
    TrleRunCache* runCache = nullptr;

    const uint8_t* RowEntry(int row) const { return dataArea + 16 + size_t(row) * 8; }
};

// Checks the invariants above; the sprite library calls it before handing a
// view to the blitters.
bool ValidateTrleView(const TrleSpriteView& view);

// Draws a "TRLE" sprite into `target` with the clipping, keys, mirroring,
// scaling, table and alpha rules of the ordinary blit. With BLIT_ALPHA,
// `extra` is a `const TrleSpriteView*` holding the opacity of each stored
// pixel in the sprite's row layout (the sprite image's Blit, which takes its
// opacity as an image like every blit, passes that image's view); with
// BLIT_TABLE, `extra` is the table. Debug builds check that `sprite` is valid.
// Keyed blits read the stored pixels as 8-bit indices through a table of
// 256 entries laid out as CDibPalette::GetConversionTable's for the target's
// format (bytes for PF_INDEX8, 16-bit pixels, or 32-bit words at 24 and 32
// bits). An alpha blit draws nothing unless its opacity sprite is a valid
// PF_INDEX8 view of the sprite's size with the sprite's skip and count on
// every row, and the target's pixels are the size of the sprite's.
DibResult TrleBlit(const TrleSpriteView& sprite, CDib* target, int dstX, int dstY, int dstW, int dstH, int srcX,
                   int srcY, int srcW, int srcH, uint32_t flags, BlitExtra extra);
