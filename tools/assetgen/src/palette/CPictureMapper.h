#pragma once
// CPictureMapper: turns a picture's colours into indices of a palette the
// way each part of the picture wants them.
//
// Smooth, changing areas (skies, haze, gradients, soft shading) are
// error-diffused, so a few palette colours blend into the shades between
// them instead of breaking into bands. Flat areas, hard edges (text,
// outlines) and everything next to a transparent pixel take the nearest
// colour, so they stay clean and exactly as the palette has them. Diffused
// error never crosses into a pixel that is not dithered itself.
//
// Transparent pixels get index 0, the transparent or key index of the
// game's pictures; index 0 is never chosen for a visible pixel.

#include "paint/RgbaImage.h"

#include "imaging/CNearestColourMap.h"
#include "imaging/PaletteEntry.h"

#include <cstdint>
#include <vector>

enum class Dithering {
    None,   // the nearest colour everywhere
    Smooth, // error diffusion in smooth areas, the nearest colour elsewhere
};

class CPictureMapper {
public:
    // `entries` are the picture's 256 palette colours; `usable[i]` says
    // whether visible pixels may take entry i (entry 0 never).
    CPictureMapper(const PaletteEntry* entries, const std::vector<bool>& usable);

    // Indices of `image`, top row first.
    std::vector<uint8_t> Map(const RgbaImage& image, Dithering dithering);

    // A pixel changes no more than this (largest channel difference to its
    // eight neighbours) to count as smooth.
    static constexpr int kSmoothLimit = 8;
    // A pixel whose colour does not change within this many pixels along
    // its row and column is flat.
    static constexpr int kFlatReach = 4;
    // Diffused error is held to this much per channel.
    static constexpr int kErrorLimit = 24;

private:
    std::vector<PaletteEntry> m_entries;
    // The exact nearest colour among the usable entries (the others are
    // marked reserved in its copy of the palette).
    CNearestColourMap m_nearest;
};
