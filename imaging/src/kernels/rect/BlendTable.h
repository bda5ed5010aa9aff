#pragma once
// The blend table: entry [a][v] = v × a × 8 for a weight step a = 0..32 and a
// 5-bit channel v. table[w >> 3][c] is a channel's share at weight w of 256;
// the portable blending kernels mix through it, which is why their results
// carry only five significant bits per channel.

#include <array>
#include <cstdint>

using BlendTableType = std::array<std::array<uint32_t, 32>, 33>;

constexpr BlendTableType MakeBlendTable()
{
    BlendTableType t{};
    for (uint32_t a = 0; a <= 32; ++a)
        for (uint32_t v = 0; v < 32; ++v)
            t[a][v] = v * a * 8;
    return t;
}

// Built at compile time, so the kernels index it without a guard.
inline constexpr BlendTableType kBlendTable = MakeBlendTable();

inline const BlendTableType& BlendTable()
{
    return kBlendTable;
}
