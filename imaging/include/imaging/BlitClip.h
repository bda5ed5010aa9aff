#pragma once
// The clipping shared by every blit (plain images, "TRLE" sprites, windows).

#include "imaging/DibResult.h"

#include <cstdint>

class CDib;

struct BlitRects {
    int dx, dy, dw, dh; // target rectangle
    int sx, sy, sw, sh; // source rectangle
};

enum class BlitClipOutcome {
    Draw,    // draw rects as clipped
    Nothing, // DIB_OK, nothing to draw
    Refused, // result is the returned code
};

// Clips `rects` in place against the target's clip region (or the target)
// and the source's size. Returns the code for the caller to give back when
// the outcome is not Draw.
BlitClipOutcome ClipBlit(int sourceWidth, int sourceHeight, CDib* target, bool sourceCreated,
                         BlitRects& rects, uint32_t flags, DibResult* code);
