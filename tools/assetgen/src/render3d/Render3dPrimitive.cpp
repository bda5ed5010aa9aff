#include "render3d/Render3dPrimitive.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kTiny = 1e-12;

struct Interval {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool Empty() const { return lo > hi; }
    Interval Meet(const Interval& o) const { return {std::max(lo, o.lo), std::min(hi, o.hi)}; }
    // The union of two pieces of one convex solid is one interval.
    Interval Join(const Interval& o) const
    {
        if (Empty())
            return o;
        if (o.Empty())
            return *this;
        return {std::min(lo, o.lo), std::max(hi, o.hi)};
    }
};

const Interval kAll{-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};

// Roots of a t² + 2 b t + c = 0, or empty.
Interval Quadratic(double a, double b, double c)
{
    if (a < kTiny)
        return c <= 0 ? kAll : Interval{};
    const double disc = b * b - a * c;
    if (disc < 0)
        return {};
    const double root = std::sqrt(disc);
    return {(-b - root) / a, (-b + root) / a};
}

// The stretch of the line o + t d with lo <= coordinate <= hi.
Interval Slab(double o, double d, double lo, double hi)
{
    if (std::fabs(d) < kTiny)
        return (o >= lo && o <= hi) ? kAll : Interval{};
    double t1 = (lo - o) / d, t2 = (hi - o) / d;
    if (t1 > t2)
        std::swap(t1, t2);
    return {t1, t2};
}

Interval Sphere(const Vec3& o, const Vec3& d, const Vec3& centre, double radius)
{
    const Vec3 oc = o - centre;
    return Quadratic(Dot(d, d), Dot(oc, d), Dot(oc, oc) - radius * radius);
}

} // namespace

double Render3dPrimitive::Extent(const Vec3& w) const
{
    const Vec3 l = axes.TransposedTimes(w);
    switch (shape) {
    case PrimitiveShape::Ellipsoid:
        return std::sqrt(size.x * size.x * l.x * l.x + size.y * size.y * l.y * l.y + size.z * size.z * l.z * l.z);
    case PrimitiveShape::Capsule:
        return size.x * std::fabs(l.x) + size.y;
    case PrimitiveShape::Box:
        return size.x * std::fabs(l.x) + size.y * std::fabs(l.y) + size.z * std::fabs(l.z);
    case PrimitiveShape::Cylinder:
        return size.x * std::sqrt(l.x * l.x + l.y * l.y) + size.z * std::fabs(l.z);
    }
    return 0;
}

Vec3 Render3dPrimitive::Normal(const Vec3& p) const
{
    const Vec3 q = Local(p);
    Vec3 n;
    switch (shape) {
    case PrimitiveShape::Ellipsoid:
        n = {q.x / (size.x * size.x), q.y / (size.y * size.y), q.z / (size.z * size.z)};
        break;
    case PrimitiveShape::Capsule:
        n = q - Vec3(std::clamp(q.x, -size.x, size.x), 0, 0);
        break;
    case PrimitiveShape::Box: {
        const double ax = std::fabs(q.x) / size.x, ay = std::fabs(q.y) / size.y, az = std::fabs(q.z) / size.z;
        if (ax >= ay && ax >= az)
            n = {q.x < 0 ? -1.0 : 1.0, 0, 0};
        else if (ay >= az)
            n = {0, q.y < 0 ? -1.0 : 1.0, 0};
        else
            n = {0, 0, q.z < 0 ? -1.0 : 1.0};
        break;
    }
    case PrimitiveShape::Cylinder: {
        const double radial = std::sqrt(q.x * q.x + q.y * q.y);
        if (size.z - std::fabs(q.z) < size.x - radial)
            n = {0, 0, q.z < 0 ? -1.0 : 1.0};
        else
            n = {q.x, q.y, 0};
        break;
    }
    }
    return Normalize(axes * n);
}

bool Render3dPrimitive::IntersectLocal(const Vec3& o, const Vec3& d, double& tNear, double& tFar) const
{
    Interval hit;
    switch (shape) {
    case PrimitiveShape::Ellipsoid: {
        const Vec3 os{o.x / size.x, o.y / size.y, o.z / size.z};
        const Vec3 ds{d.x / size.x, d.y / size.y, d.z / size.z};
        hit = Quadratic(Dot(ds, ds), Dot(os, ds), Dot(os, os) - 1);
        break;
    }
    case PrimitiveShape::Capsule: {
        const double r = size.y;
        const Interval tube = Quadratic(d.y * d.y + d.z * d.z, o.y * d.y + o.z * d.z, o.y * o.y + o.z * o.z - r * r);
        if (tube.Empty())
            return false; // the end spheres lie inside the infinite tube
        hit = tube.Meet(Slab(o.x, d.x, -size.x, size.x))
                  .Join(Sphere(o, d, {-size.x, 0, 0}, r))
                  .Join(Sphere(o, d, {size.x, 0, 0}, r));
        break;
    }
    case PrimitiveShape::Box:
        hit = Slab(o.x, d.x, -size.x, size.x).Meet(Slab(o.y, d.y, -size.y, size.y)).Meet(Slab(o.z, d.z, -size.z, size.z));
        break;
    case PrimitiveShape::Cylinder:
        hit = Quadratic(d.x * d.x + d.y * d.y, o.x * d.x + o.y * d.y, o.x * o.x + o.y * o.y - size.x * size.x)
                  .Meet(Slab(o.z, d.z, -size.z, size.z));
        break;
    }
    if (hit.Empty() || !std::isfinite(hit.lo) || !std::isfinite(hit.hi))
        return false;
    tNear = hit.lo;
    tFar = hit.hi;
    return true;
}

bool Render3dPrimitive::DistanceAndNormal(const Vec3& p, double& distance, Vec3& normal) const
{
    const Vec3 q = Local(p);
    if (shape == PrimitiveShape::Ellipsoid) {
        const Vec3 scaled{q.x / size.x, q.y / size.y, q.z / size.z};
        const double k = Length(scaled);
        if (k < 1e-9)
            return false;
        // Along the ray from the centre, the surface lies at q / k.
        distance = (k - 1) * Length(q) / k;
        normal = Normalize(axes * Vec3(scaled.x / size.x, scaled.y / size.y, scaled.z / size.z));
        return true;
    }
    if (shape == PrimitiveShape::Capsule) {
        const Vec3 v = q - Vec3(std::clamp(q.x, -size.x, size.x), 0, 0);
        const double len = Length(v);
        if (len < 1e-9)
            return false;
        distance = len - size.y;
        normal = axes * (v / len);
        return true;
    }
    return false;
}

double Render3dPrimitive::BoundingRadius() const
{
    switch (shape) {
    case PrimitiveShape::Ellipsoid:
        return std::max({size.x, size.y, size.z});
    case PrimitiveShape::Capsule:
        return size.x + size.y;
    case PrimitiveShape::Box:
        return Length(size);
    case PrimitiveShape::Cylinder:
        return std::sqrt(size.x * size.x + size.z * size.z);
    }
    return 0;
}

double Render3dPrimitive::HalfHeight() const
{
    switch (shape) {
    case PrimitiveShape::Ellipsoid:
    case PrimitiveShape::Box:
        return size.z;
    case PrimitiveShape::Capsule:
        return size.y;
    case PrimitiveShape::Cylinder:
        return size.x;
    }
    return 1;
}

Render3dPrimitive Ellipsoid(const Vec3& centre, const Vec3& radii, const Mat3& axes, const Render3dSurface& surface)
{
    return {PrimitiveShape::Ellipsoid, centre, axes, radii, surface};
}

Render3dPrimitive Capsule(const Vec3& a, const Vec3& b, double radius, const Render3dSurface& surface)
{
    const Vec3 axis = b - a;
    return {PrimitiveShape::Capsule, (a + b) * 0.5, BasisAlong(axis), {Length(axis) * 0.5, radius, radius}, surface};
}

Render3dPrimitive Box(const Vec3& centre, const Vec3& halfSize, const Mat3& axes, const Render3dSurface& surface)
{
    return {PrimitiveShape::Box, centre, axes, halfSize, surface};
}

Render3dPrimitive Cylinder(const Vec3& centre, double radius, double halfLength, const Mat3& axes,
                           const Render3dSurface& surface)
{
    return {PrimitiveShape::Cylinder, centre, axes, {radius, radius, halfLength}, surface};
}
