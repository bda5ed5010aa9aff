#pragma once
// The sprite renderer: parallel rays cast at a scene from one of the eight
// directions, each solid tested only inside its own screen rectangle against
// a depth buffer, lit by a sun from the viewer's upper left and a sky/ground
// ambient, drawn at `supersample` times the size and reduced so that every
// pixel ends fully opaque or fully transparent.

#include "paint/RgbaImage.h"
#include "render3d/Render3dScene.h"

struct Render3dView {
    double azimuth = 0;       // where the viewer stands: radians counter-clockwise from the model's +x
    double elevation = 0.14;  // radians the view looks down
    double pixelsPerUnit = 1; // of the finished picture
    int supersample = 2;
};

struct RenderedSprite {
    RgbaImage image;
    // The pixel boundaries (column, row from the top) where the model's
    // origin lands; it sits on the ground under the model's centre.
    int originX = 0;
    int originY = 0;
};

// An empty scene gives a 1 × 1 transparent picture.
RenderedSprite RenderScene(const Render3dScene& scene, const Render3dView& view);
