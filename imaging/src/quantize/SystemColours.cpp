#include "imaging/SystemColours.h"

#include "imaging/CDibPalette.h"

const std::array<PaletteEntry, SYSTEM_STATIC_COLOURS>& SystemStaticColours()
{
    static const std::array<PaletteEntry, SYSTEM_STATIC_COLOURS> colours = {{
        // Entries 0-9: black, the dark primaries and mixes, light grey,
        // and the two pastel tints (a pale green and a pale blue).
        {0, 0, 0, 0},
        {128, 0, 0, 0},
        {0, 128, 0, 0},
        {128, 128, 0, 0},
        {0, 0, 128, 0},
        {128, 0, 128, 0},
        {0, 128, 128, 0},
        {192, 192, 192, 0},
        {192, 220, 192, 0},
        {166, 202, 240, 0},
        // Entries 246-255: cream, a medium grey, dark grey, the bright
        // primaries and mixes, and white.
        {255, 251, 240, 0},
        {160, 160, 164, 0},
        {128, 128, 128, 0},
        {255, 0, 0, 0},
        {0, 255, 0, 0},
        {255, 255, 0, 0},
        {0, 0, 255, 0},
        {255, 0, 255, 0},
        {0, 255, 255, 0},
        {255, 255, 255, 0},
    }};
    return colours;
}

DibResult IncludeSystemColours(CDibPalette* palette)
{
    if (!palette)
        return DIB_UNSUPPORTED;
    if (palette->GetCount() != 256)
        return DIB_OK;
    std::array<PaletteEntry, 256> quantized{}, merged{};
    DibResult code = palette->GetEntries(quantized.data(), 0, 256);
    if (code != DIB_OK)
        return code;
    const auto& fixed = SystemStaticColours();
    const int half = SYSTEM_STATIC_COLOURS / 2;
    for (int i = 0; i < half; ++i) {
        merged[size_t(i)] = fixed[size_t(i)];
        merged[size_t(256 - half + i)] = fixed[size_t(half + i)];
    }
    for (int i = 0; i < SYSTEM_FREE_COUNT; ++i) {
        merged[size_t(SYSTEM_FREE_FIRST + i)] = quantized[size_t(i)];
        merged[size_t(SYSTEM_FREE_FIRST + i)].flags = PALETTE_FLAG_NOCOLLAPSE;
    }
    return palette->SetEntries(merged.data(), 0, 256);
}
