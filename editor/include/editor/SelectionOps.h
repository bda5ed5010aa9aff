#pragma once
// What the Select and Drag tools do to a picture: a rectangle of it copied
// out as a picture of its own, a picture pasted into it, a rectangle
// cleared to the background colour or moved. Pictures of every depth; a
// pasted picture takes the target's format and palette (nearest colours).
// Like PaintOps, nothing here knows about documents or widgets; each
// returns the pixels it changed.

#include "editor/EditorTypes.h"
#include "editor/PaintOps.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CDib;

// The rectangle with the corners given in either order, clipped to the
// picture (empty when nothing of it lies inside).
PaintRect SelectionRect(const CDib& image, int x0, int y0, int x1, int y1);

// The pixels of `area` as a plain packed picture (info header first) of the
// image's format and palette; empty when the area is.
std::vector<uint8_t> CopyArea(CDib& image, const PaintRect& area);

// Draws the packed picture (with or without a file header, any codec) with
// its top left at (x, y), clipped; its colours become the image's own.
// Empty when the bytes are no picture.
PaintRect PasteArea(CDib& image, const uint8_t* picture, size_t size, int x, int y);

// Moves the pixels of `area` by (dx, dy): where they were becomes the
// background colour, and they are drawn at the new place, clipped.
PaintRect MoveArea(CDib& image, const PaintRect& area, int dx, int dy, EditorColour background);
