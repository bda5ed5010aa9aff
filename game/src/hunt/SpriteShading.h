#pragma once
// Scaled sprites as the hunt shows them when the plain keyed blit will not
// do: hazed by their distance, fading in at the far edge of the drawn range,
// or enlarged so much that nearest-pixel scaling shows blocks.
//
// One frame of an 8-bit "TRLE" strip is drawn into a target of 8-bit
// indices or 16-bit RGB555/RGB565 pixels. Index 0 is transparent, as in
// every keyed sprite blit. Both depths work out the same colour for a pixel;
// an 8-bit target then takes the palette entry nearest to it, so the two
// depths look alike.
//
// - Haze: the caller passes the frame's colours already hazed.
// - Opacity 0..256: a pixel mixes with what is under it by opacity / 256.
// - Not smooth: target column j of the rectangle shows source column
//   ⌊j · srcWidth / width⌋, rows likewise (the scaled blit's rule).
// - Smooth: target pixel centres map to source coordinates
//   u = (j + ½) · srcWidth / width − ½ (v likewise), clamped to the frame,
//   and the four texels around (u, v) mix bilinearly, transparent texels
//   taking no part; a pixel is drawn where the opaque texels carry at least
//   half the weight, so the outline is smoothed too.

#include "imaging/PaletteEntry.h"
#include "imaging/TrleSprite.h"

#include <cstddef>
#include <cstdint>

class CNearestColourMap;

enum class ShadedPixels {
    Index8,
    Rgb555,
    Rgb565,
};

struct ShadedSprite {
    // A validated 8-bit view; the frame is rows [frameTop, frameTop +
    // frameHeight) across the view's whole width.
    const TrleSpriteView* sprite = nullptr;
    int frameTop = 0;
    int frameHeight = 0;
    // The whole (unclipped) target rectangle, and the clip rectangle
    // [clipLeft, clipRight) × [clipTop, clipBottom) inside the target.
    int left = 0, top = 0, width = 0, height = 0;
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    // Target row y starts at rows + y × pitch (pitch negative for a
    // bottom-up target).
    uint8_t* rows = nullptr;
    ptrdiff_t pitch = 0;
    ShadedPixels pixels = ShadedPixels::Index8;
    // Red, green, blue of each sprite index, 3 bytes an entry.
    const uint8_t* colours = nullptr;
    // Index8 only: the target index of each sprite index's colour (for
    // pixels drawn whole and unmixed), the target palette's nearest colours
    // for the others, and its 256 colours.
    const uint8_t* indices = nullptr;
    CNearestColourMap* nearest = nullptr;
    const PaletteEntry* targetColours = nullptr;
    // Index8 only, a sprite between two haze levels: pixels where
    // kOrderedDither[y & 7][x & 7] <= nextShare (0..64) take the next
    // level's colours and indices, so that a sprite coming nearer changes
    // its colours a few pixels at a time instead of all at once.
    const uint8_t* nextColours = nullptr;
    const uint8_t* nextIndices = nullptr;
    int nextShare = 0;
    int opacity = 256;
    bool smooth = false;
};

// Draws the frame; does nothing for an empty rectangle or a frame outside
// the view.
void DrawShadedSprite(const ShadedSprite& call);
