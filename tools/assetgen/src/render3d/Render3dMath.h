#pragma once
// The small vector algebra of the sprite renderer. Model space is
// right-handed: +x points forward (the way an animal or the jeep heads), +y
// to its left and +z up; one unit is one world unit of the game.

#include <algorithm>
#include <cmath>

struct Vec3 {
    double x = 0, y = 0, z = 0;

    constexpr Vec3() = default;
    constexpr Vec3(double ax, double ay, double az) : x(ax), y(ay), z(az) {}

    constexpr Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vec3 operator-() const { return {-x, -y, -z}; }
    constexpr Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
    constexpr Vec3 operator/(double s) const { return {x / s, y / s, z / s}; }
    Vec3& operator+=(const Vec3& o)
    {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    // Component-wise product (colours, per-axis scales).
    constexpr Vec3 Mul(const Vec3& o) const { return {x * o.x, y * o.y, z * o.z}; }
};

constexpr double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(const Vec3& a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Normalize(const Vec3& a)
{
    const double len = Length(a);
    return len > 0 ? a / len : Vec3(0, 0, 1);
}
constexpr Vec3 Lerp(const Vec3& a, const Vec3& b, double t) { return a + (b - a) * t; }
constexpr double Lerp(double a, double b, double t) { return a + (b - a) * t; }
inline double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
inline double SmoothStep(double e0, double e1, double v)
{
    const double t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

constexpr double kPi = 3.14159265358979323846;

// A rotation (or any linear map) by its three columns: the images of the
// x, y and z axes.
struct Mat3 {
    Vec3 cx{1, 0, 0}, cy{0, 1, 0}, cz{0, 0, 1};

    constexpr Vec3 operator*(const Vec3& v) const { return cx * v.x + cy * v.y + cz * v.z; }
    constexpr Mat3 operator*(const Mat3& o) const { return {(*this) * o.cx, (*this) * o.cy, (*this) * o.cz}; }
    // The inverse of a rotation.
    constexpr Mat3 Transposed() const
    {
        return {{cx.x, cy.x, cz.x}, {cx.y, cy.y, cz.y}, {cx.z, cy.z, cz.z}};
    }
    // Transposed() * v without building the transpose.
    constexpr Vec3 TransposedTimes(const Vec3& v) const { return {Dot(cx, v), Dot(cy, v), Dot(cz, v)}; }
};

// Rotations named by what they do to a body in model space.
inline Mat3 RotateX(double a) // roll: +a lifts the left side
{
    const double c = std::cos(a), s = std::sin(a);
    return {{1, 0, 0}, {0, c, s}, {0, -s, c}};
}
inline Mat3 RotateY(double a) // pitch: +a raises the nose
{
    const double c = std::cos(a), s = std::sin(a);
    return {{c, 0, s}, {0, 1, 0}, {-s, 0, c}};
}
inline Mat3 RotateZ(double a) // yaw: +a turns to the left
{
    const double c = std::cos(a), s = std::sin(a);
    return {{c, s, 0}, {-s, c, 0}, {0, 0, 1}};
}

// An orthonormal basis whose x axis is `along` (normalised); the other two
// are chosen steadily so that patterns do not flip between frames.
inline Mat3 BasisAlong(const Vec3& along)
{
    const Vec3 x = Normalize(along);
    const Vec3 helper = std::fabs(x.z) < 0.9 ? Vec3(0, 0, 1) : Vec3(0, 1, 0);
    const Vec3 y = Normalize(Cross(helper, x));
    return {x, y, Cross(x, y)};
}

// A rigid placement: a rotation followed by a translation. Bodies are posed
// by composing these from the root outwards.
struct Frame3 {
    Mat3 r;
    Vec3 t;

    constexpr Vec3 Point(const Vec3& p) const { return r * p + t; }
    constexpr Vec3 Direction(const Vec3& d) const { return r * d; }
    // This placement followed, inside it, by `child`.
    constexpr Frame3 operator*(const Frame3& child) const { return {r * child.r, r * child.t + t}; }
    static Frame3 At(const Vec3& t, const Mat3& r = Mat3()) { return {r, t}; }
};
