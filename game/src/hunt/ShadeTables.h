#pragma once
// The ground's fog: 33 levels of each ground palette entry blended towards
// the fog colour, as pixels of the target. Level L blends by
// f = L · strength / 32: c' = c + (int)((fog − c) · f). 16-bit targets get
// RGB555 or RGB565 pixels; 8-bit targets the nearest index of their palette.

#include "imaging/PaletteEntry.h"
#include "imaging/PixelFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CDibPalette;

struct FogSettings {
    uint8_t red = 0, green = 0, blue = 0;
    double strength = 0;
};

class ShadeTables {
public:
    static constexpr int kLevels = 33;

    // Builds the tables from the ground's palette entries; false (and empty)
    // for a target format without tables, no ground colours, or an 8-bit
    // target without palette.
    // One colour blended towards the fog at a level, as the tables do it.
    static PaletteEntry Hazed(PaletteEntry colour, const FogSettings& fog, int level);

    bool Build(const std::vector<PaletteEntry>& ground, PixelFormat target, CDibPalette* targetPalette,
               const FogSettings& fog);
    void Clear() { m_bytes.clear(); }
    bool IsBuilt() const { return !m_bytes.empty(); }
    // 256 entries of one level (uint8_t or uint16_t by the target), followed
    // by spare bytes that the vector kernels may read past the last entry.
    const void* Level(int level) const { return m_bytes.data() + size_t(level) * 256 * m_entryBytes; }
    int EntryBytes() const { return m_entryBytes; }

private:
    std::vector<uint8_t> m_bytes;
    int m_entryBytes = 1;
};
