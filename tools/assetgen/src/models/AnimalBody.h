#pragma once
// AnimalBody: the build of one kind as simple solids: the torso's
// ellipsoids, the legs, neck and tail, and the surfaces of each part. The
// torso frame has its origin at the torso's centre, +x forward, +y to the
// left, +z up; all sizes are world units. The head is made by the kind's own
// head builder (AnimalHeads.h).

#include "models/AnimalId.h"
#include "render3d/Render3dSurface.h"

#include <vector>

struct TorsoPart {
    Vec3 at;
    Vec3 radii;
    double pitch = 0; // tilt of the ellipsoid's long axis, + nose up
    int surface = 0;  // 0 skin, 1 the second torso surface (a mane, a hump)
    double yaw = 0;   // turn of the ellipsoid's axes about the vertical (patterns follow them)
};

enum class FootShape { Hoof, Pad, Paw };

struct LegBuild {
    Vec3 hip;                    // top of the left leg in the torso frame; the right one mirrors y
    double upper = 10;           // length from hip to the middle joint
    double lower = 10;           // length from the middle joint to the foot
    double upperRest = 0;        // rest angle of the upper part, + swings the foot forward
    double lowerRest = 0;        // rest angle of the lower part relative to the upper
    double bendSign = -1;        // -1: the middle joint folds the foot backwards (a knee), +1 forwards (a hock)
    Vec3 muscle{4, 4, 6};        // the shoulder or thigh at the top of the leg
    double muscleDrop = 3;       // how far down the leg the muscle's centre sits
    double upperRadius = 3;
    double jointRadius = 2.5;
    double lowerRadius = 2;
    FootShape foot = FootShape::Hoof;
    double footSize = 2;
};

struct NeckBuild {
    Vec3 base;          // where the neck leaves the torso
    double pitch = 0.5; // rest angle above the horizontal
    double length = 20;
    double baseRadius = 6, tipRadius = 4;
    int segments = 3;
    double curve = 0;   // total bend from base to tip, + bends the tip downwards
};

struct TailBuild {
    Vec3 base;
    double droop = 1.2; // rest angle below the horizontal (pointing back)
    double length = 15;
    double radius = 1.2;
    double tuft = 0;    // size of the tuft at the end (0: none)
};

struct AnimalBody {
    AnimalId id = AnimalId::Zebra;
    std::vector<TorsoPart> torso;
    LegBuild front, hind;
    NeckBuild neck;
    double headPitch = -0.8; // rest angle of the head's axis, nose down negative
    double headScale = 1;
    TailBuild tail;

    Render3dSurface skin;      // torso
    Render3dSurface skin2;     // second torso surface (mane, hump)
    Render3dSurface upperLeg;
    Render3dSurface lowerLeg;
    Render3dSurface foot;
    Render3dSurface neckSkin;
    Render3dSurface head;
    Render3dSurface muzzle;
    Render3dSurface tailSkin;
    Render3dSurface tuft;
    Render3dSurface mane;
    Render3dSurface eye;
    Render3dSurface horn;  // horns, tusks, ossicones
    Render3dSurface mouth; // the inside of an open mouth
};

const AnimalBody& AnimalBodyOf(AnimalId id);
