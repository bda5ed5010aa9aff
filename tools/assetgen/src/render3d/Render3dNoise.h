#pragma once
// Deterministic procedural noise for surface patterns: value noise, its
// fractal sum and cellular (Worley) distances, all from an integer hash so
// the results depend on nothing but the arguments.

#include "render3d/Render3dMath.h"

#include <cstdint>

// A hash of a lattice point and a seed, in [0, 1).
double LatticeHash(int x, int y, int z, uint32_t seed);
// Smooth value noise in [0, 1), one feature per unit.
double ValueNoise(const Vec3& p, uint32_t seed);
// Four octaves of value noise, in [0, 1).
double FractalNoise(const Vec3& p, uint32_t seed);

struct CellDistances {
    double nearest = 0;  // distance to the nearest feature point
    double second = 0;   // to the second nearest
    double cellValue = 0; // a hash in [0, 1) of the nearest point's cell
};
// Cellular distances with one jittered feature point per unit cell.
CellDistances CellNoise(const Vec3& p, uint32_t seed);
