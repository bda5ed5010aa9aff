#pragma once
// The per-frame tools, each a function from one picture to a new one. They
// never change their source; the document stores each result as a new frame.
//
// The blitters draw whole-byte pixels only, so the tools that blit (resize,
// canvas, mirror, flip, alpha removal) work on 1-, 2- and 4-bit pictures
// through an 8-bit copy of their indices, packed back afterwards: the
// indices, and so the colours, come through unchanged.

#include "editor/EditorTypes.h"
#include "imaging/DibResult.h"

#include <cstdint>

class CDib;
class CDibSection;

// The pixel value of `colour` in `image`'s format: for indexed pictures the
// nearest of the entries the depth can address.
uint32_t PixelOfColour(CDib& image, EditorColour colour);

// Stretched to width × height with the scaling blit (nearest pixel).
DibResult ResizePicture(CDibSection& source, int width, int height, CDibSection& result);
// A width × height canvas in `background` with the picture at (x, y), clipped.
DibResult PlacePictureOnCanvas(CDibSection& source, int width, int height, int x, int y,
                               EditorColour background, CDibSection& result);
// Drawn back onto a copy of itself with BLIT_MIRROR_X or BLIT_MIRROR_Y.
DibResult MirrorPicture(CDibSection& source, uint32_t mirrorFlag, CDibSection& result);
// The fade factor of frame `index` of `count` (at least 2): i × 256 / (count − 1)
// for a fade in, (count − 1 − i) × 256 / (count − 1) for a fade out.
int FadeFactor(int index, int count, bool fadeIn);
// Every pixel whose blue, green and red differ from `background` has each of
// them multiplied by factor / 256 (through a 24-bit copy, mapped back to the
// picture's own format).
DibResult FadePicture(CDibSection& source, int factor, EditorColour background, CDibSection& result);
// Every blue, green and red byte b of a 24-bit copy becomes 255 − b.
DibResult InvertPicture(CDibSection& source, CDibSection& result);
// A picture in `background` on which `source` is drawn with BLIT_ALPHA_STIPPLE,
// `alpha` (8-bit, the source's size) giving each pixel's opacity.
DibResult RemoveAlphaFromPicture(CDibSection& source, CDib& alpha, EditorColour background, CDibSection& result);
