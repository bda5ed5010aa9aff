#pragma once
// Draws a clipped request: locks both images (and the alpha image when the
// kernel needs one), picks the kernel once, runs it, unlocks.

#include "imaging/BlitClip.h"
#include "imaging/BlitFlags.h"

class CDib;

DibResult BlitDispatch(CDib* source, CDib* target, const BlitRects& rects, uint32_t flags, BlitExtra extra);
