#pragma once
// Builds the posed solids of an animal from its kind's build and a pose,
// standing on the ground plane.

#include "models/AnimalBody.h"
#include "models/AnimalPose.h"
#include "render3d/Render3dScene.h"

Render3dScene BuildAnimal(AnimalId id, const AnimalPose& pose);

// A primitive made in `frame`'s coordinates, placed into the parent space.
Render3dPrimitive Placed(Render3dPrimitive primitive, const Frame3& frame);
