#pragma once
// The heads of the seven kinds. Each is built in the head frame: origin at
// the top of the neck, +x along the face towards the nose, +z up through the
// crown, +y to the animal's left.

#include "models/AnimalBody.h"
#include "models/AnimalPose.h"
#include "render3d/Render3dScene.h"

void AddHead(const AnimalBody& body, const Frame3& head, const AnimalPose& pose, Render3dScene& scene);
