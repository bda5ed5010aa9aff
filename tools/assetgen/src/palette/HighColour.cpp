#include "palette/HighColour.h"

#include "imaging/ConvertPixels.h"
#include "imaging/PixelFormat.h"

#include <array>
#include <cassert>
#include <cstdlib>

namespace {

// The image library's own widening of the 32 levels, read once by converting
// 5-5-5 greys to 32 bits, so a palette made here agrees with whatever the
// library does to high-colour frames.
struct Tables {
    std::array<uint8_t, 32> widened{};
    std::array<uint8_t, 256> nearest{};

    Tables()
    {
        uint16_t greys[32];
        uint32_t wide[32];
        for (int level = 0; level < 32; ++level)
            greys[level] = uint16_t(level << 10 | level << 5 | level);
        [[maybe_unused]] const bool converted =
            ConvertPixels(reinterpret_cast<uint8_t*>(wide), PF_RGB32, reinterpret_cast<const uint8_t*>(greys), 32,
                          1, 32 * 4, 32 * 2, PF_RGB555, nullptr, nullptr, 0);
        assert(converted); // two direct formats the converter always knows
        for (int level = 0; level < 32; ++level)
            widened[size_t(level)] = uint8_t(wide[level] >> 8); // green: the same in every channel of 5-5-5
        for (int value = 0; value < 256; ++value) {
            int best = 0;
            for (int level = 1; level < 32; ++level)
                if (std::abs(widened[size_t(level)] - value) < std::abs(widened[size_t(best)] - value))
                    best = level;
            nearest[size_t(value)] = widened[size_t(best)];
        }
    }
};

const Tables& TheTables()
{
    static const Tables tables;
    return tables;
}

} // namespace

uint8_t WidenedLevel(int level) { return TheTables().widened[size_t(level & 31)]; }

uint8_t NearestHighColourChannel(int value) { return TheTables().nearest[size_t(value < 0 ? 0 : value > 255 ? 255 : value)]; }

uint32_t HighColourOf(uint32_t rgb)
{
    return uint32_t(WidenedLevel(int(rgb >> 19 & 31))) << 16 | uint32_t(WidenedLevel(int(rgb >> 11 & 31))) << 8 |
           WidenedLevel(int(rgb >> 3 & 31));
}

uint32_t NearestHighColour(uint32_t rgb)
{
    return uint32_t(NearestHighColourChannel(int(rgb >> 16 & 0xFF))) << 16 |
           uint32_t(NearestHighColourChannel(int(rgb >> 8 & 0xFF))) << 8 | NearestHighColourChannel(int(rgb & 0xFF));
}
