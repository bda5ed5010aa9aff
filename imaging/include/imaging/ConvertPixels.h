#pragma once
// Pixel conversion between any two of the pixel formats, with optional
// Floyd-Steinberg error diffusion. Indexed sides have 1, 2, 4 or 8 bits per
// pixel, packed the bitmap way (the leftmost pixel of a byte in its most
// significant bits), and come with a palette of 256 entries; a target of b
// bits chooses only among the first 2^b of them.

#include "imaging/PaletteEntry.h"
#include "imaging/PixelFormat.h"

#include <cstdint>

// Conversion flags.
constexpr uint32_t CONVERT_OCTREE = 0x1;  // under diffusion: octree search, not exhaustive
constexpr uint32_t CONVERT_DITHER = 0x2;  // Floyd-Steinberg error diffusion

// Converts `width` × `height` pixels; true when done. Unknown formats, an
// empty area or a missing palette for an indexed side convert nothing and
// return false. Bits of a packed target's bytes that lie past the last pixel
// of a row are left as they were.
[[nodiscard]] bool ConvertPixels(uint8_t* targetBits, PixelFormat targetFormat, const uint8_t* sourceBits, int width,
                                 int height, int targetPitch, int sourcePitch, PixelFormat sourceFormat,
                                 const PaletteEntry* targetEntries, const PaletteEntry* sourceEntries, uint32_t flags);

// The exhaustive nearest colour: smallest |dR| + |dG| + |dB| over entries not
// marked reserved; the lowest index wins ties. -1 when all are reserved.
int ExhaustiveNearestIndex(const PaletteEntry* entries, int count, int red, int green, int blue);

// Copies indices between indexed pictures of 1, 2, 4 or 8 bits per pixel,
// each keeping its value (the target is at least as deep as the source).
void CopyIndices(uint8_t* targetBits, int targetPitch, uint32_t targetBitCount, const uint8_t* sourceBits,
                 int sourcePitch, uint32_t sourceBitCount, int width, int height);
