#pragma once
// The gun and the binoculars rise from below the back buffer's bottom edge
// and sink back under it, the same number of rows every step.

#include "gamedata/ScreenTables.h"

constexpr int kOverlayBottom = kBackBufferHeight; // the top row of a hidden overlay
constexpr int kOverlaySlide = 20;                 // rows per step
