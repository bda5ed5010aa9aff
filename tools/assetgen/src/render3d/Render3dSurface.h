#pragma once
// Render3dSurface: how a primitive's surface looks. The pattern is worked
// out in the primitive's own coordinates, so stripes, spots and leaves move
// with a posed leg or neck instead of sliding over it.

#include "render3d/Render3dMath.h"

#include <cstdint>

enum class SurfacePattern {
    Plain,   // `colour`, with `mottle` noise
    Stripes, // bands across the local x axis: `colour2` where the band is dark
    Spots,   // patches of `colour` parted by lines of `colour2`
    Fur,     // streaky noise along the local x axis
    Foliage, // leafy noise between `colour` and `colour2`; `holes` left open
    Bark,    // streaks along the local x axis with dark cracks
    Tyre,    // a wheel about the local z axis, turned by `phase`
};

struct Render3dSurface {
    SurfacePattern pattern = SurfacePattern::Plain;
    Vec3 colour{0.5, 0.5, 0.5}; // 0..1 per channel
    Vec3 colour2{0.1, 0.1, 0.1};
    double period = 10;  // size of the pattern's features in world units
    double mottle = 0;   // 0..1: brightness noise
    double holes = 0;    // 0..1: the share of a foliage surface left open
    double shine = 0;    // 0..1: specular highlight
    double phase = 0;    // stripe offset (units) or wheel turn (radians)
    // A lighter underside: below `bellyFrom` (local z over its half size,
    // -1 .. 1) the colour fades towards `belly`; 2 means none.
    double bellyFrom = 2;
    Vec3 belly{1, 1, 1};
    uint32_t seed = 1;
    // Solids of the same non-zero group are shaded as one smooth body: their
    // normals blend over `blendRadius` units either side of a seam.
    int blendGroup = 0;
    double blendRadius = 0;
};

// Small helpers for the colour tables of the models.
constexpr Vec3 Colour(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
inline Render3dSurface PlainSurface(const Vec3& colour, double mottle = 0, double shine = 0)
{
    Render3dSurface s;
    s.colour = colour;
    s.mottle = mottle;
    s.shine = shine;
    return s;
}

// The surface's own colour at the local point `q` (lighting comes later).
// `halfSize` is the primitive's half height (the wheel radius for tyres).
Vec3 SurfaceAlbedo(const Render3dSurface& surface, const Vec3& q, double halfSize);
// True where a foliage surface lets the view through.
bool SurfaceIsOpen(const Render3dSurface& surface, const Vec3& q);
