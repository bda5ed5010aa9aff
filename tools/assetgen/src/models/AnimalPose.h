#pragma once
// AnimalPose: the joint angles of one frame, and the poses of every action.
// Angles are radians; legs are numbered front-left, front-right, hind-left,
// hind-right.

#include "gamedata/HuntTables.h"
#include "models/AnimalId.h"

#include <array>

struct AnimalPose {
    double pitch = 0;            // torso: + raises the front (rearing)
    double roll = 0;             // torso: + lifts the left side (falls onto the right)
    std::array<double, 4> swing{}; // leg at the top: + swings the foot forward
    std::array<double, 4> bend{};  // leg at the middle joint: folding, >= 0
    double splay = 0;            // legs spread sideways
    double neckPitch = 0;        // + raises the neck from its rest angle
    double neckYaw = 0;          // + turns the neck to the left
    double headPitch = 0;        // + raises the nose relative to the neck
    double jaw = 0;              // mouth opening
    double tailYaw = 0;          // + swishes the tail to the left
    double tailLift = 0;         // + raises the tail
    double ears = 0;             // ears spread (elephant) or pricked back
    double trunkLift = 0;        // elephant: 0 hangs, 1 raised high
    double trunkCurl = 0;        // elephant: 0 straight tip, 1 curled
};

// The pose of frame `frame` (0-based) of an action shown in `count` frames.
// Looping actions are one seamless cycle over the count; Dying runs from
// standing (frame 0) to lying dead (the last frame).
AnimalPose PoseFor(AnimalId id, AnimalAction action, int frame, int count);
