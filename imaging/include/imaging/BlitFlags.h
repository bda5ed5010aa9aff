#pragma once
// Flags of Blit, Draw and DrawFrame. `extra` follows the flags: a level 0..256
// for stipple and blend, an alpha image (CDib*) for the alpha flags, a
// conversion table for BLIT_TABLE.

#include <cstdint>

constexpr uint32_t BLIT_SRCKEY = 0x1;
constexpr uint32_t BLIT_DESTKEY = 0x2;
constexpr uint32_t BLIT_MIRROR_X = 0x4;
constexpr uint32_t BLIT_MIRROR_Y = 0x8;
constexpr uint32_t BLIT_STIPPLE = 0x10;
constexpr uint32_t BLIT_BLEND = 0x20;
constexpr uint32_t BLIT_ALPHA = 0x80;
constexpr uint32_t BLIT_ALPHA_STIPPLE = 0x100;
constexpr uint32_t BLIT_TABLE = 0x200;
constexpr uint32_t BLIT_NOCLIP = 0x80000000u;

// The pointer-sized argument that travels with the flags.
using BlitExtra = uintptr_t;
