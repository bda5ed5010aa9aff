#pragma once
// A picture as it goes into its file: 256 palette colours and one index per
// pixel (top row first; 0 is transparent or the key).

#include "sink/CAssetSink.h"

#include "imaging/PaletteEntry.h"

#include <array>
#include <cstdint>
#include <vector>

class CDibPalette;

struct WrittenPicture {
    const RecordedPicture* source = nullptr;
    std::array<PaletteEntry, 256> palette{};
    std::vector<uint8_t> indices;
};

// A picture in its own colours (sprites and ground textures): up to 255
// displayable colours reduced from its opaque pixels, each pixel taking the
// nearest. Entry 0 is black and marks the transparent pixels.
WrittenPicture InOwnColours(const RecordedPicture& picture);

// Moves each colour of a picture in its own colours by at most one
// high-colour step per channel where that brings the game's nearest-colour
// search in `contexts` (the palettes it is shown with) closer to it: the
// search is approximate and some colours lie where it strays far. A move
// costs its own distance in high colour, so colours only move where the
// 8-bit gain is larger.
void SuitGameSearch(WrittenPicture& picture, const std::vector<CDibPalette*>& contexts);

// The haze of the hunt's ground at level 0..32, as the renderer's shade
// tables blend a colour: each channel moves (int)((224 − c) × L × 0.35 / 32)
// towards light grey.
uint32_t Hazed(uint32_t rgb, int level);
