#include "ShadeTables.h"

#include "imaging/CDibPalette.h"

#include <cstring>

namespace {
constexpr size_t kSpareBytes = 16;

uint8_t Blend(uint8_t component, uint8_t fog, double f)
{
    return uint8_t(component + int((int(fog) - int(component)) * f));
}
} // namespace

PaletteEntry ShadeTables::Hazed(PaletteEntry colour, const FogSettings& fog, int level)
{
    const double f = level * fog.strength / 32.0;
    colour.red = Blend(colour.red, fog.red, f);
    colour.green = Blend(colour.green, fog.green, f);
    colour.blue = Blend(colour.blue, fog.blue, f);
    return colour;
}

bool ShadeTables::Build(const std::vector<PaletteEntry>& ground, PixelFormat target, CDibPalette* targetPalette,
                        const FogSettings& fog)
{
    m_bytes.clear();
    if (ground.empty())
        return false;
    const bool indexed = target == PF_INDEX8;
    if (!indexed && target != PF_RGB555 && target != PF_RGB565)
        return false;
    if (indexed && (!targetPalette || targetPalette->GetCount() == 0))
        return false;
    m_entryBytes = indexed ? 1 : 2;
    m_bytes.assign(size_t(kLevels) * 256 * size_t(m_entryBytes) + kSpareBytes, 0);

    // Entries past the ground's count stay black; no texel should use them.
    PaletteEntry entries[256] = {};
    for (size_t i = 0; i < ground.size() && i < 256; ++i)
        entries[i] = ground[i];
    for (int level = 0; level < kLevels; ++level) {
        for (int i = 0; i < 256; ++i) {
            const PaletteEntry hazed = Hazed(entries[i], fog, level);
            const uint8_t r = hazed.red, g = hazed.green, b = hazed.blue;
            const size_t at = (size_t(level) * 256 + size_t(i)) * size_t(m_entryBytes);
            if (indexed) {
                const int nearest = targetPalette->NearestIndex(r, g, b);
                m_bytes[at] = uint8_t(nearest < 0 ? 0 : nearest);
            } else {
                const uint16_t pixel = target == PF_RGB555
                                           ? uint16_t(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
                                           : uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
                std::memcpy(&m_bytes[at], &pixel, 2);
            }
        }
    }
    return true;
}
