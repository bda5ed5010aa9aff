#pragma once
// CColourKMeansQuantizer: the 6-bit minimum-variance palette, refined by a
// few k-means passes over a 6-bit histogram that also remembers the mean
// colour of each occupied bin (colours sharing a bin stay together). Every pass gives each bin to its nearest palette colour and
// moves each colour to the mean of the pixels it was given, which fixes the
// box quantizer's main weakness (a box's centre is not its pixels' mean)
// and lets colours settle where the pixels are dense.

#include "imaging/CColourBoxQuantizer.h"
#include "imaging/CColourQuantizer.h"

#include <cstdint>
#include <vector>

class CColourKMeansQuantizer : public CColourQuantizer {
public:
    static constexpr int DEFAULT_PASSES = 8;

    explicit CColourKMeansQuantizer(int maxColours, int passes = DEFAULT_PASSES);
    ~CColourKMeansQuantizer() override;

    // Counts every pixel (no sampling, no skip map).
    void AddPixels(const uint8_t* bits, int width, int height, int pitch, QuantizeProgress progress,
                   void* argument, uint32_t flags) override;
    // The refined colours; fewer than maxColours when fewer are occupied.
    // Passes stop early once they no longer lower the error noticeably.
    int BuildPalette(PaletteEntry* entries) override;

    // Passes run by the last BuildPalette.
    int PassesRun() const { return m_passesRun; }

private:
    // Pixels of one occupied 6-bit bin: their count and colour sums.
    struct Cell {
        uint64_t count = 0;
        uint64_t red = 0, green = 0, blue = 0;
    };

    CColourBoxQuantizer m_seed;
    int m_passes;
    int m_passesRun = 0;
    // 6-bit bin -> 1 + position in m_cells (0: not occupied).
    std::vector<uint32_t> m_slot;
    std::vector<Cell> m_cells;
};
