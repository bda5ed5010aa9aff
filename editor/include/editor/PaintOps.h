#pragma once
// The paint tools' work on a picture: the pen's and the line tool's lines,
// the rectangle tools' outlines and filled rectangles, the flood fill and
// the dropper's colour, for pictures of every depth the editor holds (1, 2 and 4
// bits included, which the blitters do not draw). Colours become the
// picture's own pixel values as the other tools choose them: the nearest
// entry an indexed picture can address, the channels narrowed otherwise.
//
// The window calls these on the document's working image and then marks it
// dirty; nothing here knows about documents or widgets.

#include "editor/EditorTypes.h"

class CDib;

// Pixels changed by an operation, in picture coordinates: columns left to
// right − 1, rows top to bottom − 1. Empty when nothing changed.
struct PaintRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The smallest rectangle holding both (either may be empty).
PaintRect Union(const PaintRect& a, const PaintRect& b);

// Sets every pixel of the line from (x0, y0) to (x1, y1), both ends
// included, to `colour`. The ends may lie outside the picture: the part
// inside is drawn (a stroke that leaves the picture is clipped, not bent).
PaintRect PaintLine(CDib& image, int x0, int y0, int x1, int y1, EditorColour colour);

// Sets the one-pixel outline of the rectangle whose opposite corners are
// (x0, y0) and (x1, y1), both corners included, in either order, to
// `colour`. A rectangle one pixel wide or high is a line, one pixel
// both ways a single pixel. The corners may lie outside the picture: the
// sides inside are drawn where they run (clipped, not moved to the edge).
PaintRect PaintRectangle(CDib& image, int x0, int y0, int x1, int y1, EditorColour colour);

// Sets every pixel of the rectangle spanned by the corners as
// PaintRectangle takes them, clipped to the picture, to `colour`.
PaintRect PaintFilledRectangle(CDib& image, int x0, int y0, int x1, int y1, EditorColour colour);

// Fills the 4-connected region of pixels whose value equals the value at
// (x, y) with `colour`. Nothing happens outside the picture or when the
// region already has that value.
PaintRect FloodFill(CDib& image, int x, int y, EditorColour colour);

// The colour of the pixel at (x, y): a palette entry's colour for indexed
// pictures, the channels widened to 8 bits otherwise. False outside the
// picture or without one.
bool ColourAt(CDib& image, int x, int y, EditorColour& colour);

// The colour a tool really paints on this picture when asked for `colour`:
// for indexed pictures the entry chosen (its colour, and its index), for
// the others the colour narrowed to the picture's channels and widened back.
EditorColour PaintedColour(CDib& image, EditorColour colour);
