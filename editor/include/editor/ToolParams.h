#pragma once
// The values of the tool dialogs, as plain records the dialogs fill, with the
// limits each dialog enforces. The document checks them again (IsValid), so a
// value out of range never reaches the image code.

#include "editor/EditorTypes.h"
#include "imaging/ColourReduction.h"

// "Resize": the new width and height of every frame.
struct ResizeParams {
    static constexpr int kMinSide = 1, kMaxSide = 30000;
    int width = 1;
    int height = 1;
    bool IsValid() const;
};

// "Enlarge Canvas": a canvas of the new size in the background colour, the
// old picture placed at (x, y). The dialog starts with the current size and 0, 0.
struct CanvasParams {
    static constexpr int kMinSide = 1, kMaxSide = 10000;
    static constexpr int kMinOffset = 0, kMaxOffset = 10000;
    int width = 1;
    int height = 1;
    int x = 0;
    int y = 0;
    bool IsValid() const;
};

// "Time Stretch/Shrink": "Final number of frames:", starting at the count.
struct TimeStretchParams {
    static constexpr int kMinFrames = 1, kMaxFrames = 10000;
    int frames = 1;
    bool IsValid() const;
};

// "Color Reduction". The target list holds "8 Bits", "15 Bits (RGB)",
// "16 Bits (RGB)", "24 Bits (RGB)" and "32 Bits (RGB)"; the 8-bit methods
// "OctTree", "Min. Variance (5 bits histogram)" and "Min. Variance (6 bits
// histogram)" (and the refined k-means method of the image library).
struct ColourDepthParams {
    static constexpr int kMinColours = 8, kMaxColours = 256;
    ColourTarget target = ColourTarget::Index8;
    ColourMethod method = ColourMethod::Octree;
    int colours = 256;                  // "Num. of Colors"
    bool includeWindowsColours = false; // "Include Windows Color"
    bool errorDiffusion = false;        // "Error Diffusion if necessary"
    bool IsValid() const;
};
