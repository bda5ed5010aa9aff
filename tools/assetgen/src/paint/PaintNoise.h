#pragma once
// Deterministic randomness for the painted pictures: integer hashes and
// smooth value noise that can wrap around (tileable ground textures, the
// seamless panoramas). No state and no clock, so every run paints the same.

#include <cstdint>

// A well-mixed 32-bit hash of three numbers.
uint32_t Hash3(uint32_t a, uint32_t b, uint32_t seed);
// The hash as a number in [0, 1).
double HashUnit(uint32_t a, uint32_t b, uint32_t seed);

// Value noise in [0, 1) on a lattice of `cellsX` × `cellsY` cells that wraps
// around: (x, y) in cell units, so noise(x + cellsX, y) == noise(x, y).
double WrappedNoise(double x, double y, int cellsX, int cellsY, uint32_t seed);
// Several octaves of wrapped noise over a picture of size × size pixels that
// tiles: the first octave has `cells` lattice cells across, each next one
// twice as many at `gain` times the weight. Result in [0, 1).
double TiledFbm(double x, double y, int size, int cells, int octaves, double gain, uint32_t seed);
// One-dimensional wrapped noise over `period` pixels (for horizons):
// `cells` lattice cells per period, `octaves` octaves. Result in [0, 1).
double WrappedFbm1(double x, int period, int cells, int octaves, double gain, uint32_t seed);
