#pragma once

#include <cstdint>

// One palette colour: red, green, blue, then the flags below.
struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0; // 1 = reserved: never chosen as a nearest colour
};

constexpr uint8_t PALETTE_FLAG_RESERVED = 1;
constexpr uint8_t PALETTE_FLAG_NOCOLLAPSE = 4;

static_assert(sizeof(PaletteEntry) == 4);
