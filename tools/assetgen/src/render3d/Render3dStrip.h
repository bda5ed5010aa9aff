#pragma once
// Puts rendered frames together as one sprite strip, the way the game draws
// them: every frame of a strip has the same width with the model's origin on
// the centre line (the game centres a sprite on the object's position), and
// stands with its lowest opaque row on the frame's bottom row (the game puts
// that row on the object's foot point).

#include "render3d/Render3dRenderer.h"

#include <vector>

struct AssembledStrip {
    RgbaImage image;
    int frameWidth = 0;
    int tallest = 0;     // the most opaque rows any frame needed
    int clippedRows = 0; // rows lost above the frames' tops (0 when all fit)
};

// One column of transparent margin is kept on either side.
AssembledStrip AssembleStrip(const std::vector<RenderedSprite>& frames, int frameHeight);
