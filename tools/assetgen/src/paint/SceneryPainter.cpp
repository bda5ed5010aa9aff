#include "paint/SceneryPainter.h"

#include "paint/Paint.h"
#include "paint/PaintNoise.h"

#include <algorithm>
#include <cmath>

namespace {

struct Look {
    uint32_t skyTop, skyHorizon;
    uint32_t farHills, nearHills, treeColour;
    uint32_t groundAverage;
    double clouds;      // share of the sky under cloud, 0..1
    double farHeight;   // tallest far ridge, share of the painted height
    double nearHeight;  // tallest near hills
    bool mesas;         // flat-topped rock towers instead of rounded far hills
    int distantTrees;   // umbrella trees along the near hills
    uint32_t seed;
};

Look LookOf(Scenario scenario)
{
    switch (scenario) {
    case Scenario::Desert:
        return {Rgb(78, 128, 196), Rgb(238, 220, 188), Rgb(178, 120, 86), Rgb(212, 168, 112), Rgb(96, 84, 52),
                Rgb(204, 166, 114), 0.15, 0.17, 0.05, true, 5, 101};
    case Scenario::Plains:
        return {Rgb(62, 112, 190), Rgb(224, 220, 204), Rgb(118, 128, 120), Rgb(168, 150, 92), Rgb(70, 78, 40),
                Rgb(172, 150, 92), 0.32, 0.2, 0.06, false, 40, 202};
    case Scenario::Grass:
    default:
        return {Rgb(52, 104, 192), Rgb(212, 222, 228), Rgb(96, 124, 118), Rgb(96, 128, 70), Rgb(46, 72, 34),
                Rgb(88, 126, 58), 0.38, 0.16, 0.07, false, 60, 303};
    }
}

double SmoothStep(double a, double b, double x)
{
    const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// The hunt's fog at full range: 35% of the way to light grey.
uint32_t Fogged(uint32_t colour)
{
    return MixColour(colour, Rgb(224, 224, 224), 0.35);
}

// Height above the horizon (share of the painted height) of the far ridge.
double FarRidge(const Look& look, double u, int width)
{
    const double n = WrappedFbm1(u * width, width, 6, 6, 0.5, look.seed);
    if (!look.mesas)
        return look.farHeight * (0.15 + 0.85 * std::pow(n, 1.3));
    // Flat-topped rock towers with steep sides over a low rubble ridge.
    double height = look.farHeight * 0.2 * n;
    for (int i = 0; i < 6; ++i) {
        const double centre = HashUnit(uint32_t(i), 40, look.seed);
        const double half = 0.008 + 0.03 * HashUnit(uint32_t(i), 41, look.seed);
        const double slope = 0.003 + 0.004 * HashUnit(uint32_t(i), 42, look.seed);
        const double top = look.farHeight * (0.45 + 0.55 * HashUnit(uint32_t(i), 43, look.seed));
        double d = std::fabs(u - centre);
        d = std::min(d, 1.0 - d); // the panorama wraps
        const double rise = std::clamp((half + slope - d) / slope, 0.0, 1.0);
        const double rough = 1.0 - 0.06 * WrappedFbm1(u * width, width, 200, 2, 0.5, look.seed + 3);
        height = std::max(height, top * std::sqrt(rise) * rough);
    }
    return height;
}

double NearRidge(const Look& look, double u, int width)
{
    const double n = WrappedFbm1(u * width, width, 14, 4, 0.5, look.seed + 31);
    return look.nearHeight * (0.1 + 0.9 * SmoothStep(0.2, 0.8, n));
}

// A flat-topped umbrella tree as seen from far away.
void PaintDistantTree(RgbaImage& image, double x, double baseY, double scaleX, double scaleY, uint32_t colour,
                      uint32_t seed)
{
    const double w = (14 + 12 * HashUnit(seed, 1, 77)) * scaleX;
    const double trunk = (7 + 6 * HashUnit(seed, 2, 77)) * scaleY;
    const double crown = (2.2 + 1.5 * HashUnit(seed, 3, 77)) * scaleY;
    for (int copy = -1; copy <= 1; ++copy) {
        const double cx = x + copy * image.width;
        if (cx + w < 0 || cx - w > image.width)
            continue;
        const double top = baseY - trunk;
        StrokeLine(image, {cx, baseY}, {cx + 0.8 * scaleX, top}, std::max(1.0, 1.6 * scaleX), colour);
        FillEllipse(image, cx + 0.8 * scaleX, top, w / 2, crown, colour);
        FillEllipse(image, cx - w * 0.18, top - crown * 0.5, w * 0.28, crown * 0.8, colour);
        FillEllipse(image, cx + w * 0.2, top - crown * 0.6, w * 0.25, crown * 0.8, colour);
    }
}

} // namespace

uint32_t HorizonHaze(Scenario scenario)
{
    return Fogged(LookOf(scenario).groundAverage);
}

RgbaImage PaintPanorama(Scenario scenario, int width, int height, int logicalHeight)
{
    const Look look = LookOf(scenario);
    const int lh = std::max(logicalHeight, height);
    RgbaImage logical(width, lh);
    const uint32_t haze = HorizonHaze(scenario);
    std::vector<double> far(static_cast<size_t>(width)), near(static_cast<size_t>(width));
    // Ridge heights are shares of the painted height, so a smaller preview
    // keeps the proportions of the game's panorama.
    for (int x = 0; x < width; ++x) {
        const double u = double(x) / width;
        far[size_t(x)] = lh - FarRidge(look, u, width) * lh;
        near[size_t(x)] = lh - NearRidge(look, u, width) * lh;
    }
    for (int y = 0; y < lh; ++y) {
        const double t = double(y) / lh; // 0 top .. 1 horizon
        const uint32_t sky = MixColour(look.skyTop, look.skyHorizon, std::pow(t, 1.6));
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            uint32_t colour = sky;
            // Flat clouds: wrapped noise stretched sideways, thinning towards the horizon.
            if (look.clouds > 0 && t < 0.95) {
                const double n = WrappedNoise(u * 10, t * 4, 10, 1000, look.seed + 5) * 0.6 +
                                 WrappedNoise(u * 40, t * 12, 40, 1000, look.seed + 6) * 0.3 +
                                 WrappedNoise(u * 160, t * 30, 160, 1000, look.seed + 7) * 0.1;
                const double threshold = 0.74 - look.clouds * 0.5 + t * t * 0.12;
                const double density = SmoothStep(threshold - 0.04, threshold + 0.14, n);
                if (density > 0) {
                    // Thick middles are lit, thin fringes greyer.
                    const double shade = 0.84 + 0.18 * SmoothStep(0.0, 0.25, n - threshold);
                    colour = MixColour(colour, ShadeColour(Rgb(246, 246, 250), std::min(shade, 1.02)), density * 0.92);
                }
            }
            if (y >= far[size_t(x)]) {
                // Far hills: faded into the sky's haze, lighter towards their foot.
                const double depth = (y - far[size_t(x)]) / std::max(1.0, lh - far[size_t(x)]);
                const double rock = WrappedNoise(u * 160, y * 0.08, 160, 1000, look.seed + 11);
                uint32_t hill = ShadeColour(look.farHills, 0.9 + 0.2 * rock);
                hill = MixColour(hill, look.skyHorizon, 0.45 + 0.3 * depth);
                colour = hill;
            }
            if (y >= near[size_t(x)]) {
                const double depth = (y - near[size_t(x)]) / std::max(1.0, lh - near[size_t(x)]);
                const double grain = WrappedNoise(u * 400, y * 0.15, 400, 1000, look.seed + 12);
                const double slope = near[size_t((x + 1) % width)] - near[size_t((x + width - 1) % width)];
                uint32_t hill = ShadeColour(look.nearHills, 0.92 + 0.14 * grain + std::clamp(slope * 0.15, -0.12, 0.12));
                hill = MixColour(hill, look.skyHorizon, 0.25);
                colour = MixColour(hill, haze, SmoothStep(0.0, 1.0, depth));
            }
            logical.pixels[size_t(y) * width + x] = colour;
        }
    }
    // Umbrella trees standing on the near hills, faded by the distance.
    const double scaleX = double(width) / kPanoramaWidth, scaleY = double(lh) / 480.0;
    const uint32_t treeColour = MixColour(look.treeColour, look.skyHorizon, 0.35);
    for (int i = 0; i < look.distantTrees; ++i) {
        const double x = HashUnit(uint32_t(i), 9, look.seed) * width;
        const int column = std::clamp(int(x), 0, width - 1);
        const double base = near[size_t(column)] + (3 + 6 * HashUnit(uint32_t(i), 10, look.seed)) * scaleY;
        PaintDistantTree(logical, x, std::min(base, lh - 2.0), scaleX, scaleY,
                         MixColour(treeColour, haze, HashUnit(uint32_t(i), 11, look.seed) * 0.3), uint32_t(i));
    }
    // A thin strip of hazy ground at the very bottom meets the hunt's far ground.
    const int strip = std::max(1, lh / 120);
    for (int y = lh - strip; y < lh; ++y)
        for (int x = 0; x < width; ++x)
            logical.pixels[size_t(y) * width + x] = haze;
    if (lh == height)
        return logical;
    // Average the painted rows down to the stored height.
    RgbaImage out(width, height);
    for (int y = 0; y < height; ++y) {
        const int r0 = y * lh / height, r1 = std::max(r0 + 1, (y + 1) * lh / height);
        for (int x = 0; x < width; ++x) {
            int r = 0, g = 0, b = 0;
            for (int k = r0; k < r1; ++k) {
                const uint32_t p = logical.pixels[size_t(k) * width + x];
                r += int((p >> 16) & 0xFF);
                g += int((p >> 8) & 0xFF);
                b += int(p & 0xFF);
            }
            const int n = r1 - r0;
            out.pixels[size_t(y) * width + x] = Rgb(r / n, g / n, b / n);
        }
    }
    return out;
}

namespace {

// Draws a shape at every position where it shows on a tile that wraps.
template <typename Painter>
void Wrapped(double x, double y, double reach, Painter&& paint)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const double px = x + dx * kGroundSize, py = y + dy * kGroundSize;
            if (px + reach < 0 || py + reach < 0 || px - reach > kGroundSize || py - reach > kGroundSize)
                continue;
            paint(px, py);
        }
}

void PaintBlades(RgbaImage& image, int count, double minLength, double maxLength, uint32_t light, uint32_t dark,
                 uint32_t seed)
{
    for (int i = 0; i < count; ++i) {
        const double x = HashUnit(uint32_t(i), 1, seed) * kGroundSize, y = HashUnit(uint32_t(i), 2, seed) * kGroundSize;
        const double angle = HashUnit(uint32_t(i), 3, seed) * 2 * M_PI;
        const double length = minLength + (maxLength - minLength) * HashUnit(uint32_t(i), 4, seed);
        const uint32_t colour = MixColour(dark, light, HashUnit(uint32_t(i), 5, seed));
        const double dx = std::cos(angle) * length, dy = std::sin(angle) * length;
        Wrapped(x, y, length + 2, [&](double px, double py) {
            FillPolygon(image, StrokeContour({{px, py}, {px + dx, py + dy}}, 1.3, 0.5), colour, {PaintMode::Over, 170});
        });
    }
}

void PaintStones(RgbaImage& image, int count, double minRadius, double maxRadius, uint32_t light, uint32_t dark,
                 uint32_t seed)
{
    for (int i = 0; i < count; ++i) {
        const double x = HashUnit(uint32_t(i), 11, seed) * kGroundSize, y = HashUnit(uint32_t(i), 12, seed) * kGroundSize;
        const double r = minRadius + (maxRadius - minRadius) * HashUnit(uint32_t(i), 13, seed);
        const double squash = 0.6 + 0.4 * HashUnit(uint32_t(i), 14, seed);
        const double turn = HashUnit(uint32_t(i), 15, seed) * M_PI;
        const uint32_t colour = MixColour(dark, light, HashUnit(uint32_t(i), 16, seed));
        Wrapped(x, y, r + 2, [&](double px, double py) {
            FillPolygon(image, EllipseContour(px + r * 0.25, py + r * 0.3, r, r * squash, turn), ShadeColour(dark, 0.75),
                        {PaintMode::Over, 150});
            FillPolygon(image, EllipseContour(px, py, r, r * squash, turn), colour);
            FillPolygon(image, EllipseContour(px - r * 0.3, py - r * 0.3, r * 0.4, r * 0.3 * squash, turn),
                        ShadeColour(colour, 1.15), {PaintMode::Over, 160});
        });
    }
}

} // namespace

RgbaImage PaintGround(Scenario scenario)
{
    RgbaImage image(kGroundSize, kGroundSize);
    const uint32_t seed = LookOf(scenario).seed * 13;
    for (int y = 0; y < kGroundSize; ++y)
        for (int x = 0; x < kGroundSize; ++x) {
            const double broad = TiledFbm(x, y, kGroundSize, 4, 4, 0.55, seed);
            const double fine = TiledFbm(x, y, kGroundSize, 32, 2, 0.5, seed + 1);
            const double patch = SmoothStep(0.52, 0.64, TiledFbm(x, y, kGroundSize, 4, 3, 0.5, seed + 2));
            uint32_t colour;
            switch (scenario) {
            case Scenario::Desert: {
                // Wind ripples whose wave vector is whole, so they tile.
                const double warp = TiledFbm(x, y, kGroundSize, 4, 2, 0.5, seed + 3) * 6.0;
                const double ripple = 0.5 + 0.5 * std::sin(2 * M_PI * (3.0 * x + 13.0 * y) / kGroundSize + warp);
                colour = MixColour(Rgb(186, 142, 92), Rgb(226, 192, 136), broad * 0.8 + ripple * 0.25 - 0.05);
                colour = ShadeColour(colour, 0.94 + 0.12 * fine);
                colour = MixColour(colour, Rgb(170, 128, 88), patch * 0.35);
                break;
            }
            case Scenario::Plains:
                colour = MixColour(Rgb(150, 124, 70), Rgb(200, 176, 104), broad);
                colour = ShadeColour(colour, 0.9 + 0.18 * fine);
                colour = MixColour(colour, Rgb(160, 126, 82), patch * 0.3);
                break;
            case Scenario::Grass:
            default:
                colour = MixColour(Rgb(62, 100, 40), Rgb(110, 148, 62), broad);
                colour = ShadeColour(colour, 0.9 + 0.2 * fine);
                colour = MixColour(colour, Rgb(128, 118, 70), patch * 0.45);
                break;
            }
            image.pixels[size_t(y) * kGroundSize + x] = colour;
        }
    switch (scenario) {
    case Scenario::Desert:
        PaintStones(image, 70, 0.8, 2.4, Rgb(200, 180, 150), Rgb(130, 104, 80), seed + 20);
        PaintBlades(image, 90, 2, 5, Rgb(150, 120, 70), Rgb(110, 84, 50), seed + 21);
        break;
    case Scenario::Plains:
        PaintBlades(image, 1400, 3, 7, Rgb(222, 196, 120), Rgb(130, 104, 56), seed + 22);
        PaintStones(image, 25, 0.8, 2.0, Rgb(190, 176, 150), Rgb(120, 104, 84), seed + 23);
        break;
    case Scenario::Grass:
    default:
        PaintBlades(image, 1800, 3, 7, Rgb(140, 176, 76), Rgb(44, 80, 30), seed + 24);
        // A few small flowers.
        for (int i = 0; i < 40; ++i) {
            const double x = HashUnit(uint32_t(i), 31, seed) * kGroundSize, y = HashUnit(uint32_t(i), 32, seed) * kGroundSize;
            const uint32_t colour = i % 3 ? Rgb(236, 214, 80) : Rgb(236, 236, 226);
            Wrapped(x, y, 3, [&](double px, double py) { FillEllipse(image, px, py, 1.1, 1.1, colour); });
        }
        break;
    }
    return image;
}

RgbaImage PaintLandscapeView(Scenario scenario, int width, int height, int horizon, int panoramaOffset)
{
    RgbaImage view(width, height);
    // The sky: a panorama four views wide, painted at the view's own scale.
    const int panoramaWidth = width * 4;
    const int sky = std::max(1, horizon);
    const RgbaImage panorama = PaintPanorama(scenario, panoramaWidth, sky, sky);
    for (int y = 0; y < sky && y < height; ++y)
        for (int x = 0; x < width; ++x)
            view.pixels[size_t(y) * width + x] =
                panorama.pixels[size_t(y) * panoramaWidth + size_t((x + panoramaOffset) % panoramaWidth)];
    // The ground as the hunt draws it: rows at distance K / i, hazed with range.
    const RgbaImage ground = PaintGround(scenario);
    const double focal = width / 2.0, eye = 48.0 * 640.0 / width;
    const double k = eye * focal / std::cos(M_PI / 4);
    for (int i = 1; horizon + i - 1 < height; ++i) {
        const double r = k / i;
        const double fog = std::clamp((r - 1500) / 6500, 0.0, 1.0) * 0.35;
        for (int x = 0; x < width; ++x) {
            const double a = M_PI / 4 - (x + 0.5) / width * (M_PI / 2);
            const double u = r / std::cos(M_PI / 4) * std::cos(a), v = r / std::cos(M_PI / 4) * std::sin(a);
            const int tu = int(std::floor(u)) & (kGroundSize - 1), tv = int(std::floor(v)) & (kGroundSize - 1);
            const uint32_t texel = ground.pixels[size_t(tv) * kGroundSize + tu];
            view.Set(x, horizon + i - 1, MixColour(texel, Rgb(224, 224, 224), fog));
        }
    }
    return view;
}
