#pragma once
// Render3dPrimitive: one solid of a sprite model (ellipsoid, capsule, box or
// capped cylinder) placed in model space, with its surface. The renderer
// casts parallel rays at it; everything it needs (intersection, normal,
// extent along a direction) lives here.

#include "render3d/Render3dMath.h"
#include "render3d/Render3dSurface.h"

enum class PrimitiveShape {
    Ellipsoid, // half axes `size`
    Capsule,   // segment of half length size.x along local x, radius size.y
    Box,       // half extents `size`
    Cylinder,  // radius size.x, half length size.z along local z; flat caps
};

struct Render3dPrimitive {
    PrimitiveShape shape = PrimitiveShape::Ellipsoid;
    Vec3 centre;
    Mat3 axes; // orthonormal: local axes in model space
    Vec3 size;
    Render3dSurface surface;

    // A point of model space in the primitive's own coordinates.
    Vec3 Local(const Vec3& p) const { return axes.TransposedTimes(p - centre); }
    // Half the primitive's extent along the unit direction `w`, about its centre.
    double Extent(const Vec3& w) const;
    // The outward unit normal (model space) at the surface point `p`.
    Vec3 Normal(const Vec3& p) const;
    // The entry and exit distances of the ray o + t·d in local terms (`o`
    // and `d` already turned into local coordinates; |d| = 1). False when
    // the ray misses.
    bool IntersectLocal(const Vec3& o, const Vec3& d, double& tNear, double& tFar) const;
    // The approximate distance of `p` from the surface (negative inside) and
    // the outward direction there, for ellipsoids and capsules; false for
    // the other shapes.
    bool DistanceAndNormal(const Vec3& p, double& distance, Vec3& normal) const;
    // The radius of a sphere about the centre that holds the whole solid.
    double BoundingRadius() const;
    // The half-size used to normalise local coordinates for the belly fade.
    double HalfHeight() const;
};

// Builders for the models. Sizes are world units.
Render3dPrimitive Ellipsoid(const Vec3& centre, const Vec3& radii, const Mat3& axes,
                            const Render3dSurface& surface);
// A capsule from `a` to `b`.
Render3dPrimitive Capsule(const Vec3& a, const Vec3& b, double radius, const Render3dSurface& surface);
Render3dPrimitive Box(const Vec3& centre, const Vec3& halfSize, const Mat3& axes, const Render3dSurface& surface);
// A cylinder whose axis runs along axes.cz.
Render3dPrimitive Cylinder(const Vec3& centre, double radius, double halfLength, const Mat3& axes,
                           const Render3dSurface& surface);
