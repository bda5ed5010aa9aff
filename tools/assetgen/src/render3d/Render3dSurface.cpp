#include "render3d/Render3dSurface.h"

#include "render3d/Render3dNoise.h"

#include <cmath>

namespace {

double Fraction(double v) { return v - std::floor(v); }

Vec3 TyreAlbedo(const Render3dSurface& s, const Vec3& q, double radius)
{
    const double radial = std::sqrt(q.x * q.x + q.y * q.y);
    const double angle = std::atan2(q.y, q.x) - s.phase;
    if (radial > 0.97 * radius) {
        // Tread: cross grooves that visibly roll with the wheel.
        const bool groove = Fraction(angle * 24 / (2 * kPi)) < 0.35;
        return groove ? s.colour * 0.45 : s.colour;
    }
    if (radial > 0.66 * radius)
        return radial > 0.9 * radius ? s.colour * 1.15 : s.colour; // sidewall with a worn shoulder
    if (radial > 0.61 * radius)
        return s.colour2 * 0.6; // the rim's lip
    if (radial < 0.14 * radius)
        return s.colour2 * 1.25; // hub cap
    // Six holes around the rim, turning with it.
    for (int k = 0; k < 6; ++k) {
        const double a = s.phase + k * kPi / 3;
        const Vec3 hole(0.4 * radius * std::cos(a), 0.4 * radius * std::sin(a), 0);
        const double dx = q.x - hole.x, dy = q.y - hole.y;
        if (dx * dx + dy * dy < 0.0144 * radius * radius)
            return s.colour * 0.5;
    }
    return s.colour2;
}

} // namespace

Vec3 SurfaceAlbedo(const Render3dSurface& s, const Vec3& q, double halfSize)
{
    const double inv = 1.0 / s.period;
    Vec3 c = s.colour;
    switch (s.pattern) {
    case SurfacePattern::Plain:
        break;
    case SurfacePattern::Stripes: {
        const double warp = (FractalNoise(q * (inv / 3), s.seed) - 0.5) * s.period * 1.4;
        const double band = std::sin(2 * kPi * (q.x + s.phase + warp) * inv);
        c = Lerp(s.colour, s.colour2, SmoothStep(-0.2, 0.2, band));
        break;
    }
    case SurfacePattern::Spots: {
        const CellDistances cell = CellNoise(q * inv, s.seed);
        const double line = 1 - SmoothStep(0.07, 0.15, cell.second - cell.nearest);
        c = Lerp(s.colour * (0.82 + 0.36 * cell.cellValue), s.colour2, line);
        break;
    }
    case SurfacePattern::Fur: {
        const double n = FractalNoise({q.x * inv / 3, q.y * inv, q.z * inv}, s.seed);
        c = Lerp(s.colour, s.colour2, SmoothStep(0.42, 0.68, n));
        break;
    }
    case SurfacePattern::Foliage: {
        const double n = FractalNoise(q * inv, s.seed);
        c = Lerp(s.colour2, s.colour, SmoothStep(0.3, 0.7, n));
        break;
    }
    case SurfacePattern::Bark: {
        const double n = FractalNoise({q.x * inv / 4, q.y * inv, q.z * inv}, s.seed);
        c = s.colour * (0.8 + 0.4 * n);
        c = Lerp(c, s.colour2, 1 - SmoothStep(0.0, 0.05, std::fabs(n - 0.5)));
        break;
    }
    case SurfacePattern::Tyre:
        return TyreAlbedo(s, q, halfSize);
    }
    if (s.mottle > 0)
        c = c * (1 + s.mottle * (FractalNoise(q * (inv * 1.7), s.seed + 17) - 0.5) * 2);
    if (s.bellyFrom < 2 && halfSize > 0)
        c = Lerp(c, s.belly, SmoothStep(s.bellyFrom, s.bellyFrom - 0.35, q.z / halfSize));
    return c;
}

bool SurfaceIsOpen(const Render3dSurface& s, const Vec3& q)
{
    if (s.holes <= 0)
        return false;
    return FractalNoise(q * (1.4 / s.period), s.seed + 7) < s.holes;
}
