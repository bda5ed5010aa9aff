#pragma once
// The blend table: entry [a][v] = v × a × 8 for a weight step a = 0..32 and a
// 5-bit channel v. table[w >> 3][c] is a channel's share at weight w of 256.

#include <array>
#include <cstdint>

using BlendTableType = std::array<std::array<uint32_t, 32>, 33>;

const BlendTableType& BlendTable();
