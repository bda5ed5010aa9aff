#pragma once
// CNearestColourMap: the exact nearest palette colour (smallest squared
// distance in RGB, the lowest index among equals) at nearly the cost of a
// table lookup. Colour space is cut into 32 × 32 × 32 cells; the first pixel
// that falls into a cell lists the few entries that can be nearest to any
// colour in it (those no farther from the cell than the best entry's
// farthest corner), and every pixel then only compares those.

#include "imaging/PaletteEntry.h"

#include <cstdint>
#include <vector>

class CNearestColourMap {
public:
    // Entries flagged PALETTE_FLAG_RESERVED are never chosen. `count` is
    // taken to 0..256; the entries are copied.
    CNearestColourMap(const PaletteEntry* entries, int count);

    // The nearest entry's index; -1 when every entry is reserved.
    int Nearest(uint8_t red, uint8_t green, uint8_t blue);

    // Maps `width` × `height` 24-bit pixels (blue, green, red) to 8-bit
    // indices; pitches may be negative. No usable entry maps to 0.
    void MapPixels(uint8_t* indices, int indexPitch, const uint8_t* bgr, int bgrPitch, int width, int height);

    // As MapPixels, with an ordered dither: each channel is moved by an
    // offset from an 8 x 8 matrix, from -spread/2 to +spread/2, before the
    // nearest entry is taken, so gradients between palette colours show as
    // a fine, steady pattern instead of bands, and a still picture maps the
    // same way every time. Colours the palette holds exactly are not
    // dithered. `spread` 0 is MapPixels; it is taken to 0..128.
    void MapPixelsOrdered(uint8_t* indices, int indexPitch, const uint8_t* bgr, int bgrPitch, int width, int height,
                          int spread);

private:
    const uint8_t* Candidates(uint32_t cell, int* count);

    std::vector<PaletteEntry> m_entries;
    std::vector<uint8_t> m_usable; // indices of the unreserved entries
    // Per cell: where its candidates start in m_pool, -1 until first used.
    std::vector<int32_t> m_cellStart;
    std::vector<uint16_t> m_cellCount;
    std::vector<uint8_t> m_pool;
};
