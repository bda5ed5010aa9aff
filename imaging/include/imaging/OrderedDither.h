#pragma once
// The ordered-dither matrix (values 1..64) of the stipple blits, for code
// outside the blitters that dithers the same way: pixel (x, y) of a target
// uses kOrderedDither[y & 7][x & 7]. Neighbouring values are far apart, so
// any threshold or offset taken from it spreads evenly over every 8 x 8 block.

#include <cstdint>

inline constexpr uint8_t kOrderedDither[8][8] = {
    {1, 33, 9, 41, 3, 35, 11, 43},  {49, 17, 57, 25, 51, 19, 59, 27}, {13, 45, 5, 37, 15, 47, 7, 39},
    {61, 29, 53, 21, 63, 31, 55, 23}, {4, 36, 12, 44, 2, 34, 10, 42},  {52, 20, 60, 28, 50, 18, 58, 26},
    {16, 48, 8, 40, 14, 46, 6, 38},  {64, 32, 56, 24, 62, 30, 54, 22},
};
