#include "paint/Paint.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSub = 4; // samples per pixel along each axis

uint32_t Channel(uint32_t c, int shift)
{
    return (c >> shift) & 0xFF;
}

// Writes one covered pixel; `amount` is 0..255 (coverage × opacity).
void PaintPixel(RgbaImage& image, int x, int y, uint32_t colour, int amount, PaintMode mode)
{
    uint32_t& p = image.pixels[size_t(y) * image.width + x];
    const bool opaque = (p >> 24) != 0;
    if (!opaque) {
        if (mode == PaintMode::Atop || amount < 128)
            return;
        p = 0xFF000000u | (colour & 0xFFFFFF);
        return;
    }
    image.Blend(x, y, colour, amount);
}

} // namespace

void FillContours(RgbaImage& image, const std::vector<Contour>& contours, const PixelShader& shader, PaintStyle style)
{
    if (style.opacity <= 0)
        return;
    double minY = 1e30, maxY = -1e30, minX = 1e30, maxX = -1e30;
    for (const Contour& c : contours)
        for (const PointF& p : c) {
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
        }
    if (minY > maxY)
        return;
    const int y0 = std::max(0, int(std::floor(minY))), y1 = std::min(image.height - 1, int(std::ceil(maxY)));
    const int x0 = std::max(0, int(std::floor(minX))), x1 = std::min(image.width - 1, int(std::ceil(maxX)));
    if (x0 > x1)
        return;
    const int spanWidth = x1 - x0 + 1;
    std::vector<int> coverage(static_cast<size_t>(spanWidth));
    std::vector<double> crossings;
    for (int y = y0; y <= y1; ++y) {
        std::fill(coverage.begin(), coverage.end(), 0);
        bool any = false;
        for (int s = 0; s < kSub; ++s) {
            const double sy = y + (s + 0.5) / kSub;
            crossings.clear();
            for (const Contour& c : contours) {
                const size_t n = c.size();
                for (size_t i = 0; i < n; ++i) {
                    const PointF& a = c[i];
                    const PointF& b = c[(i + 1) % n];
                    if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy))
                        crossings.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
                }
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
                // Sample columns x0 + (k + 0.5) / kSub inside [left, right).
                const double left = (crossings[i] - x0) * kSub - 0.5, right = (crossings[i + 1] - x0) * kSub - 0.5;
                const int first = std::max(0, int(std::ceil(left)));
                const int last = std::min(spanWidth * kSub - 1, int(std::ceil(right)) - 1);
                for (int k = first; k <= last; ++k)
                    ++coverage[size_t(k / kSub)];
                any = any || first <= last;
            }
        }
        if (!any)
            continue;
        for (int i = 0; i < spanWidth; ++i) {
            if (!coverage[size_t(i)])
                continue;
            const int x = x0 + i;
            const uint32_t colour = shader(x, y);
            const int alpha = int(colour >> 24);
            if (!alpha)
                continue;
            const int amount = coverage[size_t(i)] * 255 / (kSub * kSub) * style.opacity / 255 * alpha / 255;
            PaintPixel(image, x, y, colour, amount, style.mode);
        }
    }
}

void FillContours(RgbaImage& image, const std::vector<Contour>& contours, uint32_t colour, PaintStyle style)
{
    FillContours(image, contours, [colour](int, int) { return colour | 0xFF000000u; }, style);
}

Contour EllipseContour(double cx, double cy, double rx, double ry, double rotation, int segments)
{
    if (segments <= 0)
        segments = std::clamp(int((rx + ry) * 1.5), 16, 256);
    Contour c;
    c.reserve(size_t(segments));
    const double cr = std::cos(rotation), sr = std::sin(rotation);
    for (int i = 0; i < segments; ++i) {
        const double t = 2.0 * M_PI * i / segments;
        const double x = rx * std::cos(t), y = ry * std::sin(t);
        c.push_back({cx + x * cr - y * sr, cy + x * sr + y * cr});
    }
    return c;
}

Contour RoundedRectContour(double x, double y, double w, double h, double radius)
{
    radius = std::clamp(radius, 0.0, std::min(w, h) / 2);
    Contour c;
    const int steps = std::max(2, int(radius));
    const PointF centres[4] = {{x + w - radius, y + radius},
                               {x + w - radius, y + h - radius},
                               {x + radius, y + h - radius},
                               {x + radius, y + radius}};
    for (int corner = 0; corner < 4; ++corner)
        for (int i = 0; i <= steps; ++i) {
            const double t = (corner - 1 + double(i) / steps) * M_PI / 2;
            c.push_back({centres[corner].x + radius * std::cos(t), centres[corner].y + radius * std::sin(t)});
        }
    return c;
}

Contour StrokeContour(const std::vector<PointF>& points, double startWidth, double endWidth)
{
    Contour c;
    const size_t n = points.size();
    if (n < 2)
        return c;
    std::vector<double> lengths(n, 0.0);
    for (size_t i = 1; i < n; ++i)
        lengths[i] = lengths[i - 1] + std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    const double total = std::max(lengths[n - 1], 1e-9);
    std::vector<PointF> left, right;
    std::vector<double> halves;
    for (size_t i = 0; i < n; ++i) {
        const PointF a = points[i == 0 ? 0 : i - 1], b = points[i + 1 < n ? i + 1 : n - 1];
        double dx = b.x - a.x, dy = b.y - a.y;
        const double len = std::max(std::hypot(dx, dy), 1e-9);
        dx /= len;
        dy /= len;
        const double half = (startWidth + (endWidth - startWidth) * lengths[i] / total) / 2;
        halves.push_back(half);
        left.push_back({points[i].x - dy * half, points[i].y + dx * half});
        right.push_back({points[i].x + dy * half, points[i].y - dx * half});
    }
    // Round caps: half circles around both ends.
    auto cap = [&](PointF centre, PointF from, double half, Contour& out) {
        const double start = std::atan2(from.y - centre.y, from.x - centre.x);
        const int steps = std::max(4, int(half * 2));
        for (int i = 1; i < steps; ++i) {
            const double t = start + M_PI * i / steps;
            out.push_back({centre.x + half * std::cos(t), centre.y + half * std::sin(t)});
        }
    };
    for (size_t i = 0; i < n; ++i)
        c.push_back(left[i]);
    cap(points[n - 1], left[n - 1], halves[n - 1], c);
    for (size_t i = n; i-- > 0;)
        c.push_back(right[i]);
    cap(points[0], right[0], halves[0], c);
    return c;
}

std::vector<PointF> CurvePoints(PointF p0, PointF c, PointF p1, int steps)
{
    std::vector<PointF> out;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps, u = 1 - t;
        out.push_back({u * u * p0.x + 2 * u * t * c.x + t * t * p1.x, u * u * p0.y + 2 * u * t * c.y + t * t * p1.y});
    }
    return out;
}

uint32_t MixColour(uint32_t a, uint32_t b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto mix = [&](int shift) {
        return int(std::lround(Channel(a, shift) + (double(Channel(b, shift)) - Channel(a, shift)) * t));
    };
    return Rgb(mix(16), mix(8), mix(0));
}

uint32_t ShadeColour(uint32_t colour, double factor)
{
    auto scale = [&](int shift) { return int(std::lround(Channel(colour, shift) * factor)); };
    return Rgb(scale(16), scale(8), scale(0));
}

PixelShader LinearGradient(PointF p0, uint32_t c0, PointF p1, uint32_t c1)
{
    return MultiGradient(p0, p1, {{0.0, c0}, {1.0, c1}});
}

PixelShader MultiGradient(PointF p0, PointF p1, std::vector<std::pair<double, uint32_t>> stops)
{
    const double dx = p1.x - p0.x, dy = p1.y - p0.y;
    const double lengthSquared = std::max(dx * dx + dy * dy, 1e-9);
    return [p0, dx, dy, lengthSquared, stops](int x, int y) {
        const double t = ((x + 0.5 - p0.x) * dx + (y + 0.5 - p0.y) * dy) / lengthSquared;
        if (t <= stops.front().first)
            return stops.front().second | 0xFF000000u;
        for (size_t i = 1; i < stops.size(); ++i)
            if (t <= stops[i].first) {
                const double span = std::max(stops[i].first - stops[i - 1].first, 1e-9);
                return MixColour(stops[i - 1].second, stops[i].second, (t - stops[i - 1].first) / span);
            }
        return stops.back().second | 0xFF000000u;
    };
}

void PasteScaled(RgbaImage& target, const RgbaImage& source, double x, double y, double scale)
{
    if (scale <= 0 || source.width < 1 || source.height < 1)
        return;
    const int w = int(std::lround(source.width * scale)), h = int(std::lround(source.height * scale));
    const int ox = int(std::lround(x)), oy = int(std::lround(y));
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (!target.Inside(ox + i, oy + j))
                continue;
            // The source area under this target pixel.
            const int sx0 = int(i / scale), sy0 = int(j / scale);
            const int sx1 = std::max(sx0 + 1, int((i + 1) / scale)), sy1 = std::max(sy0 + 1, int((j + 1) / scale));
            long r = 0, g = 0, b = 0, opaque = 0, count = 0;
            for (int sy = sy0; sy < std::min(sy1, source.height); ++sy)
                for (int sx = sx0; sx < std::min(sx1, source.width); ++sx) {
                    const uint32_t p = source.pixels[size_t(sy) * source.width + sx];
                    ++count;
                    if (!(p >> 24))
                        continue;
                    ++opaque;
                    r += Channel(p, 16);
                    g += Channel(p, 8);
                    b += Channel(p, 0);
                }
            if (opaque * 2 < count || opaque == 0)
                continue;
            target.Set(ox + i, oy + j, Rgb(int(r / opaque), int(g / opaque), int(b / opaque)));
        }
}

RgbaImage Crop(const RgbaImage& source, int x, int y, int w, int h)
{
    RgbaImage out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            out.pixels[size_t(j) * w + i] = source.Get(x + i, y + j);
    return out;
}

RgbaImage StackFrames(const std::vector<RgbaImage>& frames)
{
    if (frames.empty())
        return {};
    RgbaImage strip(frames[0].width, frames[0].height * int(frames.size()));
    for (size_t f = 0; f < frames.size(); ++f)
        std::copy(frames[f].pixels.begin(), frames[f].pixels.end(),
                  strip.pixels.begin() + std::ptrdiff_t(f * frames[0].pixels.size()));
    return strip;
}

void DarkenEdges(RgbaImage& image, double factor)
{
    const RgbaImage before = image;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = before.pixels[size_t(y) * image.width + x];
            if (!(p >> 24))
                continue;
            const bool edge = !(before.Get(x - 1, y) >> 24) || !(before.Get(x + 1, y) >> 24) ||
                              !(before.Get(x, y - 1) >> 24) || !(before.Get(x, y + 1) >> 24);
            if (edge)
                image.pixels[size_t(y) * image.width + x] = ShadeColour(p, factor);
        }
}

void FillTransparent(RgbaImage& image, uint32_t colour)
{
    for (uint32_t& p : image.pixels)
        if (!(p >> 24))
            p = colour | 0xFF000000u;
}
