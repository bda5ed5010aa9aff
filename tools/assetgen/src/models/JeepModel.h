#pragma once
// The hunters' open jeep as simple solids: body tub, bonnet, grille and
// lamps, windscreen, roll bar, seats, spare wheel and four wheels. It stands
// on the ground plane with its centre at the origin, heading +x.

#include "render3d/Render3dScene.h"

// `wheelTurn`: radians the wheels have rolled forwards; `bounce`: units the
// sprung body rides above its rest height.
Render3dScene BuildJeep(double wheelTurn, double bounce);
