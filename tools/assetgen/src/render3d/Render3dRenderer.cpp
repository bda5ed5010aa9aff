#include "render3d/Render3dRenderer.h"

#include <cmath>
#include <limits>

namespace {

struct Camera {
    Vec3 forward, right, up, light;
};

Camera MakeCamera(const Render3dView& view)
{
    Camera c;
    const double ce = std::cos(view.elevation);
    c.forward = -Vec3(std::cos(view.azimuth) * ce, std::sin(view.azimuth) * ce, std::sin(view.elevation));
    c.right = Normalize(Cross(c.forward, {0, 0, 1}));
    c.up = Cross(c.right, c.forward);
    // The sun stands high, to the viewer's left and a little behind him.
    c.light = Normalize(c.right * -0.55 + c.up * 0.75 - c.forward * 0.45);
    return c;
}

uint32_t ToPixel(const Vec3& c)
{
    auto channel = [](double v) { return int(std::lround(Clamp01(v) * 255)); };
    return Rgb(channel(c.x), channel(c.y), channel(c.z));
}

// The primitives each blending solid may blend with: same group, close enough.
std::vector<std::vector<int>> FindBlendPartners(const std::vector<Render3dPrimitive>& prims)
{
    std::vector<std::vector<int>> partners(prims.size());
    for (size_t a = 0; a < prims.size(); ++a) {
        const Render3dSurface& sa = prims[a].surface;
        if (sa.blendGroup == 0 || sa.blendRadius <= 0)
            continue;
        for (size_t b = 0; b < prims.size(); ++b) {
            if (a == b || prims[b].surface.blendGroup != sa.blendGroup)
                continue;
            const double reach = prims[a].BoundingRadius() + prims[b].BoundingRadius() + sa.blendRadius;
            if (Length(prims[a].centre - prims[b].centre) <= reach)
                partners[a].push_back(int(b));
        }
    }
    return partners;
}

// The normal at `p`, softened across the seams with the blend partners:
// each solid whose surface passes within the blend radius pulls the normal
// towards its own, the more the closer it passes.
Vec3 BlendedNormal(const std::vector<Render3dPrimitive>& prims, int owner, const std::vector<int>& partners,
                   const Vec3& p)
{
    const Render3dPrimitive& prim = prims[size_t(owner)];
    Vec3 n = prim.Normal(p);
    if (partners.empty())
        return n;
    const double radius = prim.surface.blendRadius;
    Vec3 sum = n;
    for (int b : partners) {
        const Render3dPrimitive& other = prims[size_t(b)];
        const Vec3 offset = p - other.centre;
        const double reach = other.BoundingRadius() + radius;
        if (Dot(offset, offset) > reach * reach)
            continue;
        double d;
        Vec3 nb;
        if (!other.DistanceAndNormal(p, d, nb) || std::fabs(d) >= radius)
            continue;
        const double w = (1 - std::fabs(d) / radius);
        sum += nb * (w * w);
    }
    return Normalize(sum);
}

Vec3 Shade(const Render3dPrimitive& prim, const Vec3& normal, const Vec3& p, const Camera& cam)
{
    Vec3 n = normal;
    if (Dot(n, cam.forward) > 0)
        n = -n; // the inside of an open foliage clump
    const Vec3 albedo = SurfaceAlbedo(prim.surface, prim.Local(p), prim.HalfHeight());
    const double sun = std::max(0.0, (Dot(n, cam.light) + 0.15) / 1.15);
    const double sky = Lerp(0.30, 0.52, 0.5 + 0.5 * n.z);
    // Surfaces seen edge-on darken a little, which rounds the bodies.
    const double facing = 0.82 + 0.18 * std::fabs(Dot(n, cam.forward));
    Vec3 colour = albedo * ((sky + 0.78 * sun) * facing);
    if (prim.surface.shine > 0) {
        const Vec3 reflected = n * (2 * Dot(n, cam.light)) - cam.light;
        const double highlight = std::pow(std::max(0.0, Dot(reflected, -cam.forward)), 24);
        colour += Vec3(1, 1, 1) * (prim.surface.shine * highlight);
    }
    return colour;
}

// One row of an ellipsoid, the common case, solved in closed form: in the
// ellipsoid's unit-sphere space the ray origin is P + u Q for the sample's
// screen position u, the direction D, and the ray meets the sphere where
// disc(u) = (P·D + u Q·D)² - D·D (|P + u Q|² - 1) >= 0. disc is a quadratic
// in u that opens downwards, so the row's covered samples form one span.
template <typename ScreenU>
void RasterEllipsoidRow(const Render3dPrimitive& p, const Vec3& rowBase, const Vec3& du, const Vec3& dir, int i0,
                        int i1, const ScreenU& screenU, double* depthRow, int* ownerRow, int who, double superPpu,
                        double originU)
{
    const Vec3 inv{1 / p.size.x, 1 / p.size.y, 1 / p.size.z};
    const Vec3 P = rowBase.Mul(inv), Q = du.Mul(inv), D = dir.Mul(inv);
    const double a = Dot(D, D), pd = Dot(P, D), qd = Dot(Q, D);
    const double a2 = qd * qd - a * Dot(Q, Q);
    const double a1 = pd * qd - a * Dot(P, Q);
    const double a0 = pd * pd - a * (Dot(P, P) - 1);
    if (a2 >= 0)
        return; // a view along which the ellipsoid has no extent: nothing to draw
    const double h = a1 * a1 - a2 * a0;
    if (h < 0)
        return;
    const double root = std::sqrt(h);
    const double uLo = (-a1 + root) / a2, uHi = (-a1 - root) / a2; // a2 < 0 flips the order
    const int first = std::max(i0, int(std::floor((uLo + originU) * superPpu - 0.5)));
    const int last = std::min(i1, int(std::ceil((uHi + originU) * superPpu - 0.5)));
    for (int i = first; i <= last; ++i) {
        const double u = screenU(i);
        const double disc = (a2 * u + 2 * a1) * u + a0;
        if (disc < 0)
            continue;
        const double t = (-(pd + u * qd) - std::sqrt(disc)) / a;
        if (t < depthRow[i]) {
            depthRow[i] = t;
            ownerRow[i] = who;
        }
    }
}

} // namespace

RenderedSprite RenderScene(const Render3dScene& scene, const Render3dView& view)
{
    RenderedSprite out;
    if (scene.Empty() || view.pixelsPerUnit <= 0 || view.supersample < 1) {
        out.image = RgbaImage(1, 1);
        return out;
    }
    const Camera cam = MakeCamera(view);
    const std::vector<Render3dPrimitive>& prims = scene.Primitives();

    // The picture's extent in screen units around the origin.
    double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
    for (const Render3dPrimitive& p : prims) {
        const double sx = Dot(p.centre, cam.right), sy = Dot(p.centre, cam.up);
        const double ex = p.Extent(cam.right), ey = p.Extent(cam.up);
        left = std::min(left, sx - ex);
        right = std::max(right, sx + ex);
        bottom = std::min(bottom, sy - ey);
        top = std::max(top, sy + ey);
    }
    const double ppu = view.pixelsPerUnit;
    const int F = view.supersample;
    out.originX = int(std::ceil(std::max(0.0, -left) * ppu)) + 1;
    out.originY = int(std::ceil(std::max(0.0, top) * ppu)) + 1;
    const int width = out.originX + int(std::ceil(std::max(0.0, right) * ppu)) + 1;
    const int height = out.originY + int(std::ceil(std::max(0.0, -bottom) * ppu)) + 1;
    const int W = width * F, H = height * F;
    const double superPpu = ppu * F;

    // Super-sample (i, j) looks along `forward` from screen point (u, v).
    auto screenU = [&](double i) { return (i + 0.5) / superPpu - double(out.originX) / ppu; };
    auto screenV = [&](double j) { return double(out.originY) / ppu - (j + 0.5) / superPpu; };
    // Rays start on the plane through the origin facing the viewer; depths
    // in front of it are negative, which orders them just as well.

    std::vector<double> depth(size_t(W) * H, std::numeric_limits<double>::infinity());
    std::vector<int> owner(size_t(W) * H, -1);
    for (size_t n = 0; n < prims.size(); ++n) {
        const Render3dPrimitive& p = prims[n];
        const double sx = Dot(p.centre, cam.right), sy = Dot(p.centre, cam.up);
        const double ex = p.Extent(cam.right), ey = p.Extent(cam.up);
        const int i0 = std::max(0, int(std::floor((sx - ex + double(out.originX) / ppu) * superPpu)) - 1);
        const int i1 = std::min(W - 1, int(std::ceil((sx + ex + double(out.originX) / ppu) * superPpu)) + 1);
        const int j0 = std::max(0, int(std::floor((double(out.originY) / ppu - sy - ey) * superPpu)) - 1);
        const int j1 = std::min(H - 1, int(std::ceil((double(out.originY) / ppu - sy + ey) * superPpu)) + 1);
        // Local ray origin = base + u·du + v·dv, affine in the sample position.
        const Vec3 base = p.axes.TransposedTimes(-p.centre);
        const Vec3 du = p.axes.TransposedTimes(cam.right), dv = p.axes.TransposedTimes(cam.up);
        const Vec3 dir = p.axes.TransposedTimes(cam.forward);
        const bool open = p.surface.holes > 0;
        for (int j = j0; j <= j1; ++j) {
            const Vec3 rowBase = base + dv * screenV(j);
            if (p.shape == PrimitiveShape::Ellipsoid && !open) {
                RasterEllipsoidRow(p, rowBase, du, dir, i0, i1, screenU, depth.data() + size_t(j) * W,
                                   owner.data() + size_t(j) * W, int(n), superPpu, double(out.originX) / ppu);
                continue;
            }
            for (int i = i0; i <= i1; ++i) {
                const Vec3 o = rowBase + du * screenU(i);
                double tNear, tFar;
                if (!p.IntersectLocal(o, dir, tNear, tFar))
                    continue;
                double t = tNear;
                const size_t at = size_t(j) * W + i;
                if (t >= depth[at])
                    continue;
                if (open && SurfaceIsOpen(p.surface, o + dir * t)) {
                    t = tFar;
                    if (t >= depth[at] || SurfaceIsOpen(p.surface, o + dir * t))
                        continue;
                }
                depth[at] = t;
                owner[at] = int(n);
            }
        }
    }

    // Shade the super-samples, then reduce: a pixel is opaque when at least
    // half of its samples are covered, and takes their mean colour. A pixel
    // wholly inside one solid is shaded once, at its centre.
    const std::vector<std::vector<int>> partners = FindBlendPartners(prims);
    auto shadeAt = [&](int who, const Vec3& hit) {
        const Vec3 normal = BlendedNormal(prims, who, partners[size_t(who)], hit);
        return Shade(prims[size_t(who)], normal, hit, cam);
    };
    out.image = RgbaImage(width, height);
    const int needed = (F * F + 1) / 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int first = owner[size_t(y * F) * W + size_t(x * F)];
            bool uniform = first >= 0 && prims[size_t(first)].surface.holes <= 0;
            for (int sj = 0; sj < F && uniform; ++sj)
                for (int si = 0; si < F && uniform; ++si)
                    uniform = owner[size_t(y * F + sj) * W + size_t(x * F + si)] == first;
            if (uniform) {
                const Render3dPrimitive& p = prims[size_t(first)];
                const double u = (x + 0.5) / ppu - double(out.originX) / ppu;
                const double v = double(out.originY) / ppu - (y + 0.5) / ppu;
                const Vec3 origin = cam.right * u + cam.up * v;
                double tNear, tFar;
                if (p.IntersectLocal(p.Local(origin), p.axes.TransposedTimes(cam.forward), tNear, tFar)) {
                    out.image.Set(x, y, ToPixel(shadeAt(first, origin + cam.forward * tNear)));
                    continue;
                }
            }
            Vec3 sum;
            int covered = 0;
            for (int sj = 0; sj < F; ++sj)
                for (int si = 0; si < F; ++si) {
                    const int i = x * F + si, j = y * F + sj;
                    const size_t at = size_t(j) * W + i;
                    if (owner[at] < 0)
                        continue;
                    const Vec3 origin = cam.right * screenU(i) + cam.up * screenV(j);
                    sum += shadeAt(owner[at], origin + cam.forward * depth[at]);
                    ++covered;
                }
            if (covered >= needed)
                out.image.Set(x, y, ToPixel(sum / covered));
        }
    return out;
}
