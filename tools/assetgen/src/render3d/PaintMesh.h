#pragma once
// A small solid-model painter for the weapons: flat-shaded planar faces,
// a depth buffer on a 3 × 3 supersampled grid, perspective (the hunter's own
// view of the gun) or parallel projection (the pictures in the weapon menu).
// Camera space: x right, y down, z away from the eye.

#include "paint/RgbaImage.h"

#include <cstdint>
#include <vector>

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }

struct MeshFace {
    std::vector<Vec3> points; // a planar convex polygon
    uint32_t colour = 0;
};

struct Mesh {
    std::vector<MeshFace> faces;

    // A box between two corners.
    void AddBox(Vec3 low, Vec3 high, uint32_t colour);
    // A six-sided block from its eight corners: the four of the near end
    // (z low) then the four of the far end, each in the order (−x −y),
    // (+x −y), (+x +y), (−x +y).
    void AddBlock(const Vec3 (&corners)[8], uint32_t colour);
    // A round bar from a to b with radii ra and rb, closed at both ends.
    void AddCylinder(Vec3 a, Vec3 b, double ra, double rb, int sides, uint32_t colour);
    // Rotates every point about `pivot`: first about the x axis by `pitch`
    // (positive lifts +z towards −y), then about the y axis by `yaw`
    // (positive turns +z towards +x), then moves it by `offset`.
    void Transform(Vec3 pivot, double pitch, double yaw, Vec3 offset);
    void Append(const Mesh& other);
};

struct MeshCamera {
    bool perspective = true;
    double focal = 320;    // perspective: pixels per unit at depth 1
    double scale = 1;      // parallel: pixels per unit
    double centreX = 0;    // where the z axis (perspective) or the origin (parallel) lands
    double centreY = 0;
    double nearZ = 2;      // perspective: faces are cut at this depth
};

// Where a point lands on the picture.
bool ProjectPoint(const MeshCamera& camera, Vec3 p, double& x, double& y);
// Paints the mesh into a new width × height picture: covered pixels opaque
// (at least half their samples hit), the rest transparent. Light comes from
// the upper left, slightly in front.
RgbaImage RenderMesh(const Mesh& mesh, const MeshCamera& camera, int width, int height);
