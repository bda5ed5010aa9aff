#pragma once
// Vector painting on an RgbaImage: polygons (even-odd, several contours at
// once for holes) with 4 × 4 supersampled coverage, and the shapes built from
// them. Every other picture of the menus, the hunt display and the scenery is
// painted with these.
//
// Edges against transparency stay hard: the written files know only opaque
// and transparent pixels, so a transparent pixel becomes the paint's colour
// when at least half of it is covered and stays transparent otherwise. Over
// opaque pixels the coverage blends.

#include "paint/RgbaImage.h"

#include <functional>
#include <vector>

struct PointF {
    double x = 0, y = 0;
};

using Contour = std::vector<PointF>;
// The colour of a pixel; alpha 0 leaves the pixel alone.
using PixelShader = std::function<uint32_t(int x, int y)>;

enum class PaintMode {
    Over, // paints everywhere the shape covers
    Atop, // paints only over pixels that are opaque already (shading, patterns)
};

struct PaintStyle {
    PaintMode mode = PaintMode::Over;
    int opacity = 255; // 0..255, times the coverage
};

void FillContours(RgbaImage& image, const std::vector<Contour>& contours, const PixelShader& shader,
                  PaintStyle style = {});
void FillContours(RgbaImage& image, const std::vector<Contour>& contours, uint32_t colour, PaintStyle style = {});
inline void FillPolygon(RgbaImage& image, const Contour& points, uint32_t colour, PaintStyle style = {})
{
    FillContours(image, {points}, colour, style);
}
inline void FillPolygon(RgbaImage& image, const Contour& points, const PixelShader& shader, PaintStyle style = {})
{
    FillContours(image, {points}, shader, style);
}

// Shape outlines.
Contour EllipseContour(double cx, double cy, double rx, double ry, double rotation = 0.0, int segments = 0);
Contour RoundedRectContour(double x, double y, double w, double h, double radius);
// A stroke along `points` whose half width runs from `startWidth / 2` to
// `endWidth / 2`, with round ends.
Contour StrokeContour(const std::vector<PointF>& points, double startWidth, double endWidth);
// A quadratic curve from p0 through the control c to p1, as `steps` + 1 points.
std::vector<PointF> CurvePoints(PointF p0, PointF c, PointF p1, int steps = 16);

inline void FillEllipse(RgbaImage& image, double cx, double cy, double rx, double ry, uint32_t colour,
                        PaintStyle style = {})
{
    FillPolygon(image, EllipseContour(cx, cy, rx, ry), colour, style);
}
inline void StrokeLine(RgbaImage& image, PointF a, PointF b, double width, uint32_t colour, PaintStyle style = {})
{
    FillPolygon(image, StrokeContour({a, b}, width, width), colour, style);
}

// Colour helpers (opaque results).
uint32_t MixColour(uint32_t a, uint32_t b, double t);
// Scales the colour's channels by `factor` (above 1 lightens).
uint32_t ShadeColour(uint32_t colour, double factor);
// A linear gradient from c0 at p0 to c1 at p1, clamped beyond them.
PixelShader LinearGradient(PointF p0, uint32_t c0, PointF p1, uint32_t c1);
// A gradient through several stops (positions 0..1 along p0 → p1).
PixelShader MultiGradient(PointF p0, PointF p1, std::vector<std::pair<double, uint32_t>> stops);

// Copies `source` into `target` at (x, y) scaled by `scale` (area sampling
// when shrinking, nearest when enlarging); transparent pixels stay out.
void PasteScaled(RgbaImage& target, const RgbaImage& source, double x, double y, double scale);
// A copy of the region (x, y, w, h) of `source`.
RgbaImage Crop(const RgbaImage& source, int x, int y, int w, int h);
// Stacks equal frames into one vertical strip.
RgbaImage StackFrames(const std::vector<RgbaImage>& frames);
// Darkens the opaque pixels that border a transparent one (a drawn edge for
// cut-out shapes whose edges cannot be smoothed).
void DarkenEdges(RgbaImage& image, double factor);
// Pixels with alpha 0 become `colour` (flattens a picture over a background).
void FillTransparent(RgbaImage& image, uint32_t colour);
