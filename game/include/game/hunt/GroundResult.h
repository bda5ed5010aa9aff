#pragma once
// What setting the hunt's ground texture reported.

enum GroundResult : int {
    GROUND_OK = 0,
    GROUND_MISSING = 1,
    GROUND_NOT_A_TEXTURE = 3, // not 8-bit palettised, or not 256 × 256
};
