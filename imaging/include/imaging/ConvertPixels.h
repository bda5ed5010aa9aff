#pragma once
// Pixel conversion between any two formats of 8 bits and more, with optional
// Floyd-Steinberg error diffusion. Indexed sides are 8-bit indices with a
// palette of 256 entries.

#include "imaging/PaletteEntry.h"
#include "imaging/PixelFormat.h"

#include <cstdint>

// Conversion flags.
constexpr uint32_t CONVERT_OCTREE = 0x1;  // under diffusion: octree search, not exhaustive
constexpr uint32_t CONVERT_DITHER = 0x2;  // Floyd-Steinberg error diffusion

// Converts `width` × `height` pixels. Returns 0. Formats below 8 bits, or a
// missing palette for an indexed side, convert nothing.
int ConvertPixels(uint8_t* targetBits, PixelFormat targetFormat, const uint8_t* sourceBits, int width,
                  int height, int targetPitch, int sourcePitch, PixelFormat sourceFormat,
                  const PaletteEntry* targetEntries, const PaletteEntry* sourceEntries, uint32_t flags);

// The exhaustive nearest colour: smallest |dR| + |dG| + |dB| over entries not
// marked reserved; the lowest index wins ties. -1 when all are reserved.
int ExhaustiveNearestIndex(const PaletteEntry* entries, int count, int red, int green, int blue);
