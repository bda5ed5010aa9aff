#pragma once
// CColourBoxQuantizer: minimum-variance colour reduction over a histogram of
// 5 or 6 bits per channel. The palette comes from splitting the box of
// occupied bins, always the box with the largest spread, across the middle
// of its longest side until there are maxColours boxes or no box can be
// split; each box gives the colour of its centre bin.

#include "imaging/CColourQuantizer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CColourBoxQuantizer : public CColourQuantizer {
public:
    // `bits` per channel is 5 (32768 counters, 128 KB) or 6 (262144
    // counters, 1 MB); other values are taken to the nearer of the two.
    CColourBoxQuantizer(int maxColours, int bits);
    ~CColourBoxQuantizer() override;

    // Counts every pixel (no sampling, no skip map: the histogram is cheap).
    void AddPixels(const uint8_t* bits, int width, int height, int pitch, QuantizeProgress progress,
                   void* argument, uint32_t flags) override;
    // One entry per box, in the order the boxes were made.
    int BuildPalette(PaletteEntry* entries) override;

    int Bits() const { return m_bits; }
    // Counter of the bin (red, green, blue), each 0 .. 2^bits − 1.
    uint32_t BinCount(int red, int green, int blue) const;

private:
    // Inclusive bin ranges per channel (0 red, 1 green, 2 blue); an empty
    // box has lo above hi.
    struct Box {
        int lo[3];
        int hi[3];
        uint64_t spread;
    };

    size_t BinIndex(int red, int green, int blue) const
    {
        return size_t(red) << (2 * m_bits) | size_t(green) << m_bits | size_t(blue);
    }
    void Shrink(Box& box) const;
    uint64_t Spread(const Box& box) const;

    int m_bits;
    int m_shift;
    std::vector<uint32_t> m_histogram;
    // Pixels counted so far: while the total fits in 32 bits no counter can
    // overflow and the plain counting loop is safe.
    uint64_t m_pixelsAdded = 0;
};
