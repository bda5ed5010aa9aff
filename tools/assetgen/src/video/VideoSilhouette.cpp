#include "video/VideoSilhouette.h"

#include <algorithm>
#include <cmath>

namespace {

void Grow(double& low, double& high, double value)
{
    low = std::min(low, value);
    high = std::max(high, value);
}

} // namespace

void VideoSilhouette::AddEllipse(double cx, double cy, double rx, double ry)
{
    m_pieces.push_back({true, {cx, cy, rx, ry, 0, 0, 0, 0}});
    Grow(m_left, m_right, cx - rx);
    Grow(m_left, m_right, cx + rx);
    Grow(m_bottom, m_top, cy - ry);
    Grow(m_bottom, m_top, cy + ry);
}

void VideoSilhouette::AddQuad(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3)
{
    m_pieces.push_back({false, {x0, y0, x1, y1, x2, y2, x3, y3}});
    for (int i = 0; i < 4; ++i) {
        Grow(m_left, m_right, m_pieces.back().v[2 * i]);
        Grow(m_bottom, m_top, m_pieces.back().v[2 * i + 1]);
    }
}

void VideoSilhouette::AddLeg(double x, double top, double width, double angle)
{
    const double footX = x + std::sin(angle) * top, half = width / 2;
    AddQuad(x - half, top, x + half, top, footX + half * 0.7, 0.0, footX - half * 0.7, 0.0);
}

void VideoSilhouette::AddLegs(const std::array<double, 4>& xs, double top, double width, double swing)
{
    // A walk: the first and the last leg swing together, against the middle two.
    for (size_t i = 0; i < xs.size(); ++i)
        AddLeg(xs[i], top, width, i == 0 || i == 3 ? swing : -swing);
}

bool VideoSilhouette::Inside(double x, double y) const
{
    for (const Piece& p : m_pieces) {
        if (p.ellipse) {
            const double dx = (x - p.v[0]) / p.v[2], dy = (y - p.v[1]) / p.v[3];
            if (dx * dx + dy * dy <= 1.0)
                return true;
            continue;
        }
        // Inside a convex piece: on the same side of all four edges.
        int positive = 0, negative = 0;
        for (int i = 0; i < 4; ++i) {
            const double ax = p.v[2 * i], ay = p.v[2 * i + 1];
            const double bx = p.v[(2 * i + 2) % 8], by = p.v[(2 * i + 3) % 8];
            const double cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
            positive += cross >= 0;
            negative += cross <= 0;
        }
        if (positive == 4 || negative == 4)
            return true;
    }
    return false;
}

void VideoSilhouette::Draw(RgbaImage& frame, double x, double y, double scale, bool mirrored, uint32_t rgb) const
{
    if (scale <= 0.0 || m_pieces.empty())
        return;
    const double left = mirrored ? x - m_right * scale : x + m_left * scale;
    const double right = mirrored ? x - m_left * scale : x + m_right * scale;
    const int x0 = std::max(0, int(std::floor(left))), x1 = std::min(frame.width - 1, int(std::ceil(right)));
    const int y0 = std::max(0, int(std::floor(y - m_top * scale)));
    const int y1 = std::min(frame.height - 1, int(std::ceil(y - m_bottom * scale)));
    // Four samples a pixel smooth the edges enough for shapes in motion.
    static constexpr double kOffsets[4][2] = {{0.125, 0.375}, {0.625, 0.125}, {0.375, 0.875}, {0.875, 0.625}};
    for (int py = y0; py <= y1; ++py)
        for (int px = x0; px <= x1; ++px) {
            int covered = 0;
            for (const auto& [ox, oy] : kOffsets) {
                double lx = (px + ox - x) / scale;
                if (mirrored)
                    lx = -lx;
                covered += Inside(lx, (y - (py + oy)) / scale);
            }
            frame.Blend(px, py, rgb, covered * 255 / 4);
        }
}

VideoSilhouette VideoSilhouette::Acacia(double size)
{
    // The flat-topped thorn tree of the savannah: a leaning trunk forking
    // into a wide, thin crown.
    VideoSilhouette s;
    const double k = size;
    s.AddQuad(-0.25 * k, 0, 0.25 * k, 0, 0.15 * k, 2.8 * k, -0.12 * k, 2.8 * k);
    s.AddQuad(-0.1 * k, 2.6 * k, 0.1 * k, 2.8 * k, -1.6 * k, 4.3 * k, -1.9 * k, 4.1 * k);
    s.AddQuad(0.0, 2.7 * k, 0.15 * k, 2.5 * k, 1.8 * k, 4.2 * k, 1.5 * k, 4.35 * k);
    s.AddEllipse(0, 4.6 * k, 3.3 * k, 0.55 * k);
    s.AddEllipse(-1.8 * k, 4.35 * k, 1.7 * k, 0.45 * k);
    s.AddEllipse(1.9 * k, 4.4 * k, 1.6 * k, 0.45 * k);
    s.AddEllipse(0.3 * k, 4.95 * k, 2.2 * k, 0.4 * k);
    return s;
}

VideoSilhouette VideoSilhouette::Bush(double size)
{
    VideoSilhouette s;
    s.AddEllipse(0, 0.5 * size, 1.2 * size, 0.6 * size);
    s.AddEllipse(0.7 * size, 0.4 * size, 0.8 * size, 0.45 * size);
    s.AddEllipse(-0.6 * size, 0.35 * size, 0.7 * size, 0.4 * size);
    return s;
}

VideoSilhouette VideoSilhouette::Giraffe(double stride)
{
    return Quadruped({{0, 2.5, 1.05, 0.5},
                      {0.6, 2.6, 1.0, 2.9, 1.75, 4.7, 1.5, 4.8},
                      {1.75, 4.8, 0.35, 0.16},
                      {-1.0, 2.7, -0.95, 2.55, -1.2, 1.7, -1.25, 1.75},
                      {0.6, 0.45, -0.6, -0.75},
                      2.4, 0.16, 0.3},
                     stride);
}

VideoSilhouette VideoSilhouette::Elephant(double stride)
{
    // Its "neck" is the trunk hanging from the head.
    VideoSilhouette s = Quadruped({{0, 1.9, 1.5, 1.0},
                                   {1.8, 2.0, 2.05, 1.85, 2.1, 0.45, 1.9, 0.4},
                                   {1.45, 2.2, 0.65, 0.7},
                                   {-1.45, 2.2, -1.4, 2.1, -1.6, 1.3, -1.65, 1.35},
                                   {0.9, 0.55, -0.75, -1.05},
                                   1.5, 0.5, 0.18},
                                  stride);
    s.AddEllipse(1.1, 2.25, 0.5, 0.7); // ear
    return s;
}

VideoSilhouette VideoSilhouette::Zebra(double stride)
{
    return Quadruped({{0, 1.15, 0.75, 0.33},
                      {0.5, 1.2, 0.75, 1.35, 1.0, 1.85, 0.8, 1.9},
                      {1.05, 1.8, 0.3, 0.13},
                      {-0.7, 1.25, -0.72, 1.15, -0.85, 0.7, -0.8, 0.7},
                      {0.5, 0.35, -0.45, -0.6},
                      1.0, 0.1, 0.35},
                     stride);
}

VideoSilhouette VideoSilhouette::Quadruped(const QuadrupedShape& shape, double stride)
{
    VideoSilhouette s;
    const auto& [body, neck, head, tail, legs, legTop, legWidth, swing] = shape;
    s.AddEllipse(body[0], body[1], body[2], body[3]);
    s.AddQuad(neck[0], neck[1], neck[2], neck[3], neck[4], neck[5], neck[6], neck[7]);
    s.AddEllipse(head[0], head[1], head[2], head[3]);
    s.AddQuad(tail[0], tail[1], tail[2], tail[3], tail[4], tail[5], tail[6], tail[7]);
    s.AddLegs(legs, legTop, legWidth, swing * std::sin(stride));
    return s;
}
