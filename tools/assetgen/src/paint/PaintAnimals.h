#pragma once
// Painted side views of the seven kinds of game, facing right, for the
// quarry choices, the trophy mounts and the end pictures. Each animal is a
// handful of shapes in its own units (feet on y = 0, up is −y), with a
// shaded body and its coat pattern (stripes, patches, mane).

#include "paint/RgbaImage.h"

// Kinds in the game's order (AnimalKind − 1).
enum : int {
    ART_ELEPHANT = 0,
    ART_GIRAFFE = 1,
    ART_HIPPO = 2,
    ART_LION = 3,
    ART_LIONESS = 4,
    ART_RHINO = 5,
    ART_ZEBRA = 6,
    ART_ANIMAL_COUNT = 7,
};

// A window onto the animal in its own units.
struct AnimalWindow {
    double left, top, right, bottom;
};

// The whole animal with a small margin.
AnimalWindow WholeAnimal(int kind);
// Its head (and a little neck), for trophy mounts.
AnimalWindow AnimalHead(int kind);
// Paints the part of the animal inside `window`, scaled to fit the box
// (x, y, w, h) and centred in it; nothing is drawn outside the box.
void PaintAnimal(RgbaImage& image, int kind, int x, int y, int w, int h, const AnimalWindow& window);
