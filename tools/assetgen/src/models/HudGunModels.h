#pragma once
// Solid models of the six weapons, shared by the hunter's view of the gun
// and the pictures on the weapon menu. Gun space: x right, y down, z along
// the barrel towards the muzzle, in centimetres; the sight line is the z axis
// (the rear sight and the front sight's top lie on it).

#include "gamedata/GameIds.h"
#include "render3d/PaintMesh.h"

struct GunPose {
    double slideBack = 0;  // handgun: how far the slide has recoiled (cm)
    double string = 0;     // crossbow: 0 cocked at the latch .. 1 released at the limbs
    bool bolt = true;      // crossbow: a bolt lies on the rail
    bool hands = false;    // the hunter's gloved hands on the gun
    bool stock = true;     // the butt behind the action (out of the hunter's own view)
};

// `weapon` is a WeaponIndex.
Mesh BuildGunMesh(int weapon, const GunPose& pose);
// The centre of the muzzle (or the bolt's tip) in gun space.
Vec3 GunMuzzle(int weapon);
// The front sight's distance along the sight line.
double GunSightLength(int weapon);
