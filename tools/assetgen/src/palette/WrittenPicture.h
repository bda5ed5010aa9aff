#pragma once
// A picture as it goes into its file: 256 palette colours and one index per
// pixel (top row first; 0 is transparent or the key).

#include "CAssetSink.h"

#include "imaging/PaletteEntry.h"

#include <array>
#include <cstdint>
#include <vector>

struct WrittenPicture {
    const RecordedPicture* source = nullptr;
    std::array<PaletteEntry, 256> palette{};
    std::vector<uint8_t> indices;
};

// A picture in its own colours (sprites and ground textures): up to 255
// displayable colours reduced from its opaque pixels, each pixel taking the
// nearest. Entry 0 is black and marks the transparent pixels.
WrittenPicture InOwnColours(const RecordedPicture& picture);

// The haze of the hunt's ground at level 0..32, as the renderer's shade
// tables blend a colour: each channel moves (int)((224 − c) × L × 0.35 / 32)
// towards light grey.
uint32_t Hazed(uint32_t rgb, int level);
