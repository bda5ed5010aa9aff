#pragma once
// The savannah's trees as simple solids: trunks and limbs as chains of
// capsules, leaves as open foliage clumps. Every tree is grown from a fixed
// seed, so it comes out the same on every run. The base of the trunk stands
// at the origin; heights are world units (the game draws a tree picture 256
// units tall, so the trees stay below that).

#include "render3d/Render3dScene.h"

#include <cstdint>

enum class TreeKind {
    UmbrellaAcacia, // flat-topped thorn tree of the plains
    YoungAcacia,    // a smaller umbrella acacia
    LushAcacia,     // a broad, dense acacia of the wet grass land
    FeverTree,      // tall acacia with yellow-green bark and airy crowns
    DryThornTree,   // a desert acacia, half bare
    Baobab,         // bottle trunk, stubby bare limbs, a few leaves
    LeafyBaobab,    // the same in leaf
    DatePalm,       // a tall feather palm of the oases
    FanPalm,        // a fan palm with a swollen trunk
    PalmGroup,      // two or three palms together
    RoundTree,      // a broad round crown on a short trunk
    ThornBush,      // a dry, open shrub
    GreenBush,      // a dense green shrub
};

Render3dScene BuildTree(TreeKind kind, uint32_t seed);
