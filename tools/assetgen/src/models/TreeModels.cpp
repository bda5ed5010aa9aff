#include "models/TreeModels.h"

#include "render3d/Render3dRandom.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Leaves {
    Vec3 light;
    Vec3 dark;
    double holes = 0.35; // the share of each leafy blob left open
    double period = 3;   // size of the leaf pattern
    double size = 1;     // scale of the leafy blobs
};

// Grows one tree into a scene: limbs are chains of capsules that wander a
// little from their heading; clumps are open foliage ellipsoids, darker the
// lower they hang.
class TreeGrower {
public:
    TreeGrower(Render3dScene& scene, uint32_t seed) : m_scene(scene), m_rng(seed) {}

    double Rand(double lo, double hi) { return m_rng.Range(lo, hi); }
    int Below(int n) { return m_rng.Below(n); }

    // A limb from `from` along `dir`; returns its tip, and its final heading in `tipDir`.
    Vec3 Limb(Vec3 from, Vec3 dir, double length, double r0, double r1, int pieces, double wobble,
              const Render3dSurface& bark, Vec3* tipDir = nullptr, double rise = 0)
    {
        dir = Normalize(dir);
        const double seg = length / pieces;
        for (int i = 0; i < pieces; ++i) {
            const Vec3 next = from + dir * seg;
            m_scene.Add(Capsule(from, next, Lerp(r0, r1, (i + 0.5) / pieces), bark));
            from = next;
            dir = Normalize(dir + Vec3(Rand(-wobble, wobble), Rand(-wobble, wobble), Rand(-wobble, wobble) + rise));
        }
        if (tipDir)
            *tipDir = dir;
        return from;
    }

    // A clump of foliage filling the ellipsoid `radii` about `at`: a dark
    // core in shade, covered by small leafy blobs whose lighting and colour
    // vary, so the crown reads as leaves rather than as one smooth shape.
    void Clump(const Vec3& at, const Vec3& radii, const Leaves& leaves, double shade)
    {
        Render3dSurface core;
        core.pattern = SurfacePattern::Foliage;
        core.colour = leaves.dark * (shade * 0.8);
        core.colour2 = leaves.dark * (shade * 0.55);
        core.period = leaves.period;
        core.seed = m_rng.Next();
        m_scene.Add(Ellipsoid(at, radii * 0.62, Mat3(), core));
        const double volume = radii.x * radii.y * radii.z;
        const int blobs = std::clamp(int(volume / 450), 4, 40);
        for (int i = 0; i < blobs; ++i) {
            // A direction on the unit sphere, the blob near the clump's skin.
            const double z = Rand(-0.6, 1), a = Rand(0, 2 * kPi), ring = std::sqrt(1 - z * z);
            const Vec3 u{ring * std::cos(a), ring * std::sin(a), z};
            const double reach = Rand(0.6, 0.95);
            const Vec3 centre = at + u.Mul(radii) * reach;
            const double r = Rand(4.5, 7.5) * leaves.size;
            Render3dSurface s;
            s.pattern = SurfacePattern::Foliage;
            const double tone = Rand(0, 1);
            const double lift = shade * (0.85 + 0.2 * (z + 1) * 0.5);
            s.colour = Lerp(leaves.dark, leaves.light, 0.5 + 0.5 * tone) * lift;
            s.colour2 = Lerp(leaves.dark, leaves.light, 0.25 * tone) * lift;
            s.holes = leaves.holes;
            s.period = leaves.period;
            s.seed = m_rng.Next();
            m_scene.Add(Ellipsoid(centre, {r, r, r * 0.72}, RotateZ(Rand(0, 2 * kPi)), s));
        }
    }

    void Add(const Render3dPrimitive& primitive) { m_scene.Add(primitive); }
    uint32_t Seed() { return m_rng.Next(); }

    // A heading `tilt` radians from the vertical towards azimuth `a`.
    static Vec3 Heading(double a, double tilt)
    {
        return {std::cos(a) * std::sin(tilt), std::sin(a) * std::sin(tilt), std::cos(tilt)};
    }

private:
    Render3dScene& m_scene;
    Render3dRandom m_rng;
};

Render3dSurface Bark(const Vec3& colour, uint32_t seed, double period = 8)
{
    Render3dSurface s;
    s.pattern = SurfacePattern::Bark;
    s.colour = colour;
    s.colour2 = colour * 0.55;
    s.period = period;
    s.seed = seed;
    return s;
}

Render3dSurface Ringed(const Vec3& colour, uint32_t seed, double period)
{
    Render3dSurface s;
    s.pattern = SurfacePattern::Stripes;
    s.colour = colour;
    s.colour2 = colour * 0.7;
    s.period = period;
    s.seed = seed;
    return s;
}

// Height-dependent shading of foliage: the underside of a crown is in shade.
double Shade(double z, double low, double high) { return 0.72 + 0.34 * Clamp01((z - low) / std::max(1.0, high - low)); }

void Acacia(TreeGrower& g, double scale, const Leaves& leaves, double canopyRadius, double canopyHeight,
            double layers, const Render3dSurface& bark)
{
    Vec3 dir;
    const Vec3 fork = g.Limb({0, 0, 0}, {g.Rand(-0.1, 0.1), g.Rand(-0.1, 0.1), 1}, 70 * scale, 6.5 * scale,
                             4.8 * scale, 3, 0.08, bark, &dir);
    const int limbs = 3 + g.Below(2);
    const double start = g.Rand(0, 2 * kPi);
    for (int i = 0; i < limbs; ++i) {
        const double a = start + i * 2 * kPi / limbs + g.Rand(-0.3, 0.3);
        const double tilt = g.Rand(0.55, 0.85);
        Vec3 tipDir;
        const Vec3 tip = g.Limb(fork, TreeGrower::Heading(a, tilt), g.Rand(55, 70) * scale, 4.2 * scale, 2.6 * scale,
                                3, 0.12, bark, &tipDir);
        for (int k = 0; k < 2; ++k) {
            const double b = a + (k ? 0.45 : -0.45) + g.Rand(-0.2, 0.2);
            g.Limb(tip, TreeGrower::Heading(b, g.Rand(0.7, 1.1)), g.Rand(28, 40) * scale, 2.4 * scale, 1.1 * scale, 2,
                   0.15, bark);
        }
    }
    // The flat crown: clumps spread over a disc, thickest in the middle.
    const int clumps = int(46 * layers);
    for (int i = 0; i < clumps; ++i) {
        const double a = g.Rand(0, 2 * kPi), r = canopyRadius * std::sqrt(g.Rand(0, 1)) * scale;
        const double edge = r / (canopyRadius * scale);
        const double z = (canopyHeight + g.Rand(-6, 10) * layers - 10 * edge * edge) * scale;
        const Vec3 at{r * std::cos(a), r * std::sin(a), z};
        g.Clump(at, Vec3(g.Rand(20, 30), g.Rand(20, 30), g.Rand(8, 12) * layers) * scale, leaves,
                Shade(z, (canopyHeight - 15) * scale, (canopyHeight + 15) * scale));
    }
}

void FeverTree(TreeGrower& g)
{
    const Render3dSurface bark = Bark(Colour(186, 184, 96), 301, 6);
    const Leaves leaves{Colour(150, 176, 82), Colour(88, 118, 48), 0.42, 2.5};
    Vec3 dir;
    const Vec3 fork = g.Limb({0, 0, 0}, {0.05, 0, 1}, 95, 6, 4.5, 4, 0.06, bark, &dir);
    for (int i = 0; i < 3; ++i) {
        const double a = i * 2 * kPi / 3 + g.Rand(-0.4, 0.4);
        Vec3 tipDir;
        const Vec3 tip = g.Limb(fork, TreeGrower::Heading(a, g.Rand(0.35, 0.6)), g.Rand(55, 75), 4, 2.2, 3, 0.1, bark,
                                &tipDir);
        for (int k = 0; k < 2; ++k) {
            const Vec3 end = g.Limb(tip, TreeGrower::Heading(a + g.Rand(-0.9, 0.9), g.Rand(0.4, 0.9)), g.Rand(30, 45),
                                    2, 1, 2, 0.15, bark);
            for (int c = 0; c < 4; ++c) {
                const Vec3 at = end + Vec3(g.Rand(-18, 18), g.Rand(-18, 18), g.Rand(-6, 10));
                g.Clump(at, Vec3(g.Rand(16, 24), g.Rand(16, 24), g.Rand(9, 13)), leaves, Shade(at.z, 150, 220));
            }
        }
    }
}

void DryThornTree(TreeGrower& g)
{
    const Render3dSurface bark = Bark(Colour(96, 84, 72), 401, 5);
    const Leaves leaves{Colour(150, 146, 78), Colour(104, 100, 56), 0.52, 2.5};
    Vec3 dir;
    const Vec3 fork = g.Limb({0, 0, 0}, {0.15, 0.05, 1}, 55, 5.5, 4, 3, 0.12, bark, &dir);
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * kPi / 5 + g.Rand(-0.4, 0.4);
        Vec3 tipDir;
        const Vec3 tip = g.Limb(fork, TreeGrower::Heading(a, g.Rand(0.7, 1.15)), g.Rand(45, 65), 3.4, 1.8, 3, 0.2,
                                bark, &tipDir, 0.05);
        for (int k = 0; k < 3; ++k) {
            const Vec3 end = g.Limb(tip, TreeGrower::Heading(a + g.Rand(-1, 1), g.Rand(0.5, 1.3)), g.Rand(18, 32), 1.6,
                                    0.7, 2, 0.25, bark);
            if (g.Below(3) > 0)
                g.Clump(end, Vec3(g.Rand(9, 15), g.Rand(9, 15), g.Rand(5, 8)), leaves, Shade(end.z, 60, 140));
        }
    }
}

void Baobab(TreeGrower& g, bool leafy)
{
    Render3dSurface bark = Bark(Colour(166, 146, 128), 501, 12);
    bark.colour2 = bark.colour * 0.82; // smooth bark: faint folds, no cracks
    const Leaves leaves = leafy ? Leaves{Colour(110, 150, 64), Colour(58, 94, 38), 0.3, 2.5}
                                : Leaves{Colour(134, 140, 74), Colour(92, 98, 52), 0.5, 2.5};
    // The bottle trunk, shaded as one smooth body.
    Render3dSurface trunk = bark;
    trunk.blendGroup = 1;
    trunk.blendRadius = 12;
    const double swell = leafy ? 1.08 : 1.0;
    g.Add(Ellipsoid({0, 0, 64}, Vec3(28, 28, 66) * swell, Mat3(), trunk));
    g.Add(Ellipsoid({0, 0, 14}, Vec3(31, 31, 16) * swell, Mat3(), trunk));
    g.Add(Ellipsoid({0, 0, 118}, Vec3(17, 17, 22) * swell, Mat3(), trunk));
    const int limbs = 7;
    for (int i = 0; i < limbs; ++i) {
        const double a = i * 2 * kPi / limbs + g.Rand(-0.25, 0.25);
        const Vec3 base{std::cos(a) * 8, std::sin(a) * 8, g.Rand(124, 134)};
        Vec3 tipDir;
        const Vec3 tip = g.Limb(base, TreeGrower::Heading(a, g.Rand(0.75, 1.15)), g.Rand(38, 52), 7, 3, 2, 0.12, bark,
                                &tipDir, 0.12);
        for (int k = 0; k < 2; ++k) {
            const Vec3 end = g.Limb(tip, TreeGrower::Heading(a + g.Rand(-0.7, 0.7), g.Rand(0.3, 0.9)), g.Rand(18, 28),
                                    2.6, 1.1, 2, 0.15, bark);
            if (leafy || g.Below(2) == 0) {
                const double r = leafy ? g.Rand(20, 26) : g.Rand(10, 14);
                g.Clump(end, {r, r, r * 0.65}, leaves, Shade(end.z, 130, 200));
            }
        }
    }
}

// A palm: a ringed trunk and a crown of fronds. Feather fronds are chains of
// flat leaf blades that arch and droop; fan leaves are round flat blades on
// stalks. A few dead fronds hang below a date palm's crown.
void Palm(TreeGrower& g, const Vec3& base, double height, double lean, double leanAzimuth, bool fan)
{
    const Render3dSurface trunk = Ringed(fan ? Colour(128, 118, 104) : Colour(140, 112, 80), g.Seed(), 4.5);
    const Leaves live = fan ? Leaves{Colour(112, 150, 70), Colour(60, 96, 42), 0.3, 2.4}
                            : Leaves{Colour(104, 140, 60), Colour(56, 88, 36), 0.4, 1.8};
    const Leaves dead{Colour(156, 122, 72), Colour(112, 86, 52), 0.4, 1.8};
    const int pieces = 9;
    Vec3 at = base;
    Vec3 dir = TreeGrower::Heading(leanAzimuth, lean);
    for (int i = 0; i < pieces; ++i) {
        const double t = (i + 0.5) / pieces;
        // A fan palm's trunk swells two thirds of the way up.
        const double r = fan ? 5.5 + 2.5 * std::exp(-std::pow((t - 0.65) / 0.15, 2)) : Lerp(7, 5.2, t);
        at = g.Limb(at, dir, height / pieces, r, r, 1, 0, trunk);
        dir = Normalize(dir + Vec3(0, 0, 0.04)); // grows back towards the light
    }
    g.Clump(at, {8, 8, 7}, {Colour(120, 100, 60), Colour(80, 64, 40), 0, 4}, 0.9);
    if (!fan) // dates
        for (int k = 0; k < 4; ++k) {
            const double a = g.Rand(0, 2 * kPi);
            g.Clump(at + Vec3(6 * std::cos(a), 6 * std::sin(a), -8), {4, 4, 6}, {Colour(190, 120, 50), Colour(140, 80, 36), 0, 2},
                    0.9);
        }
    const int count = fan ? 20 : 18;
    for (int k = 0; k < count; ++k) {
        const double a = k * 2 * kPi / count + g.Rand(-0.15, 0.15);
        const bool withered = !fan && k % 9 == 4;
        const Leaves& leaves = withered ? dead : live;
        double pitch = withered ? -0.75 : g.Rand(-0.3, 1.0);
        Vec3 p = at;
        if (fan) {
            pitch = g.Rand(-0.7, 1.2);
            // Stalk, then the fan facing out and up.
            const Vec3 d(std::cos(a) * std::cos(pitch), std::sin(a) * std::cos(pitch), std::sin(pitch));
            p = g.Limb(p, d, 16, 1.0, 0.8, 1, 0, trunk);
            Render3dSurface s;
            s.pattern = SurfacePattern::Foliage;
            s.colour = leaves.light;
            s.colour2 = leaves.dark;
            s.holes = leaves.holes;
            s.period = leaves.period;
            s.seed = g.Seed();
            // The fan spreads on from its stalk, tilted about it.
            const Mat3 axes = BasisAlong(d) * RotateX(g.Rand(-0.6, 0.6));
            g.Add(Ellipsoid(p + d * 15, {17, 15, 1.4}, axes, s));
            continue;
        }
        const int segments = 6;
        const double seg = g.Rand(10, 13);
        for (int s = 0; s < segments; ++s) {
            const Vec3 d(std::cos(a) * std::cos(pitch), std::sin(a) * std::cos(pitch), std::sin(pitch));
            const Vec3 next = p + d * seg;
            const double width = 8.5 * std::sin(kPi * (s + 1.0) / (segments + 1)) + 1.5;
            Render3dSurface blade;
            blade.pattern = SurfacePattern::Foliage;
            blade.colour = leaves.light;
            blade.colour2 = leaves.dark;
            blade.holes = leaves.holes;
            blade.period = leaves.period;
            blade.seed = g.Seed();
            // BasisAlong keeps the blade's width level: the frond is flat.
            g.Add(Ellipsoid((p + next) * 0.5, {seg * 0.62, width, 1.2}, BasisAlong(d), blade));
            p = next;
            pitch -= withered ? 0.04 : 0.2;
        }
    }
}

void RoundTree(TreeGrower& g)
{
    const Render3dSurface bark = Bark(Colour(104, 92, 80), 701, 7);
    const Leaves leaves{Colour(84, 128, 52), Colour(38, 70, 30), 0.26, 2.5};
    Vec3 dir;
    const Vec3 fork = g.Limb({0, 0, 0}, {0.04, 0, 1}, 58, 9, 7, 3, 0.05, bark, &dir);
    for (int i = 0; i < 6; ++i) {
        const double a = i * kPi / 3 + g.Rand(-0.3, 0.3);
        const Vec3 tip = g.Limb(fork, TreeGrower::Heading(a, g.Rand(0.45, 0.85)), g.Rand(55, 70), 5, 2.5, 2, 0.12,
                                bark);
        g.Limb(tip, TreeGrower::Heading(a + g.Rand(-0.5, 0.5), g.Rand(0.3, 0.8)), 30, 2.4, 1.2, 2, 0.15, bark);
    }
    for (int i = 0; i < 64; ++i) {
        // Points in a dome over the fork, broad and round.
        const double a = g.Rand(0, 2 * kPi), h = g.Rand(-0.35, 1.0);
        const double spread = std::sqrt(std::max(0.0, 1 - h * h)) * g.Rand(0.55, 1.0);
        const Vec3 at{std::cos(a) * 88 * spread, std::sin(a) * 88 * spread, 138 + 58 * h};
        const double r = g.Rand(22, 30);
        g.Clump(at, {r, r, r * 0.8}, leaves, Shade(at.z, 100, 200));
    }
}

void Bush(TreeGrower& g, bool green)
{
    const Render3dSurface bark = Bark(Colour(90, 78, 66), 801, 4);
    const Leaves leaves = green ? Leaves{Colour(92, 136, 56), Colour(44, 78, 32), 0.22, 2.5}
                                : Leaves{Colour(146, 140, 80), Colour(98, 96, 56), 0.5, 2.5};
    const int stems = green ? 5 : 8;
    std::vector<Vec3> tips;
    for (int i = 0; i < stems; ++i) {
        const double a = i * 2 * kPi / stems + g.Rand(-0.3, 0.3);
        tips.push_back(g.Limb({g.Rand(-4, 4), g.Rand(-4, 4), 0}, TreeGrower::Heading(a, g.Rand(0.35, 1.0)),
                              green ? g.Rand(25, 35) : g.Rand(32, 48), 2.2, 0.9, 3, 0.25, bark));
    }
    const int clumps = green ? 16 : 9;
    for (int i = 0; i < clumps; ++i) {
        const Vec3 base = tips[size_t(i) % tips.size()];
        const Vec3 at = green ? Vec3(g.Rand(-36, 36), g.Rand(-36, 36), g.Rand(18, 42))
                              : base + Vec3(g.Rand(-8, 8), g.Rand(-8, 8), g.Rand(-4, 6));
        const double r = green ? g.Rand(16, 24) : g.Rand(9, 14);
        g.Clump(at, {r, r, r * 0.8}, leaves, Shade(at.z, 10, 60));
    }
}

} // namespace

Render3dScene BuildTree(TreeKind kind, uint32_t seed)
{
    Render3dScene scene;
    TreeGrower g(scene, seed);
    const Render3dSurface acaciaBark = Bark(Colour(92, 78, 64), seed + 1, 6);
    switch (kind) {
    case TreeKind::UmbrellaAcacia:
        Acacia(g, 1.0, {Colour(118, 140, 62), Colour(64, 88, 38), 0.34, 2.5}, 108, 165, 1.0, acaciaBark);
        break;
    case TreeKind::YoungAcacia:
        Acacia(g, 0.62, {Colour(124, 146, 66), Colour(70, 94, 40), 0.36, 2.5}, 100, 160, 1.0, acaciaBark);
        break;
    case TreeKind::LushAcacia:
        Acacia(g, 1.0, {Colour(96, 140, 56), Colour(44, 82, 32), 0.24, 2.5}, 112, 162, 1.5, acaciaBark);
        break;
    case TreeKind::FeverTree:
        FeverTree(g);
        break;
    case TreeKind::DryThornTree:
        DryThornTree(g);
        break;
    case TreeKind::Baobab:
        Baobab(g, false);
        break;
    case TreeKind::LeafyBaobab:
        Baobab(g, true);
        break;
    case TreeKind::DatePalm:
        Palm(g, {0, 0, 0}, 200, 0.12, 0.5, false);
        break;
    case TreeKind::FanPalm:
        Palm(g, {0, 0, 0}, 190, 0.03, 0, true);
        break;
    case TreeKind::PalmGroup:
        Palm(g, {0, 0, 0}, 205, 0.1, 0.3, false);
        Palm(g, {-22, 14, 0}, 160, 0.22, 2.6, false);
        Palm(g, {16, -18, 0}, 120, 0.3, 5.2, false);
        break;
    case TreeKind::RoundTree:
        RoundTree(g);
        break;
    case TreeKind::ThornBush:
        Bush(g, false);
        break;
    case TreeKind::GreenBush:
        Bush(g, true);
        break;
    }
    scene.PutOnGround();
    return scene;
}
