#pragma once
// VideoSilhouette: a dark cut-out shape (a tree, an animal) made of ellipses
// and four-cornered pieces in metres, drawn into a frame at any scale with
// smoothed edges. The intro's low sun is behind everything, so silhouettes are
// all the detail the things on the savannah need.

#include "paint/RgbaImage.h"

#include <array>
#include <vector>

class VideoSilhouette {
public:
    // Makers, the shape standing on its origin, facing +x; `stride` is the
    // walk's phase in radians (legs swing with its sine).
    static VideoSilhouette Acacia(double size);
    static VideoSilhouette Bush(double size);
    static VideoSilhouette Giraffe(double stride);
    static VideoSilhouette Elephant(double stride);
    static VideoSilhouette Zebra(double stride);

    void AddEllipse(double cx, double cy, double rx, double ry);
    // Corners in order round the piece (either way); the piece must be convex.
    void AddQuad(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3);
    // A leg from (x, top) to the ground, `width` wide, swung by `angle` radians.
    void AddLeg(double x, double top, double width, double angle);
    // Four legs at `xs` (front to back), walking with a swing of `swing` radians.
    void AddLegs(const std::array<double, 4>& xs, double top, double width, double swing);

    // Draws the shape with its origin at screen (x, y), `scale` pixels per
    // metre, mirrored to face -x when asked, blending `rgb` by coverage.
    void Draw(RgbaImage& frame, double x, double y, double scale, bool mirrored, uint32_t rgb) const;

private:
    // A four-legged animal: body and head ellipses (cx, cy, rx, ry), neck and
    // tail pieces (four corners), the legs' places, height and width, and how
    // far they swing.
    struct QuadrupedShape {
        std::array<double, 4> body;
        std::array<double, 8> neck;
        std::array<double, 4> head;
        std::array<double, 8> tail;
        std::array<double, 4> legs;
        double legTop, legWidth, swing;
    };
    static VideoSilhouette Quadruped(const QuadrupedShape& shape, double stride);

    struct Piece {
        bool ellipse;
        double v[8]; // ellipse: cx, cy, rx, ry; quad: four corners
    };
    bool Inside(double x, double y) const;

    std::vector<Piece> m_pieces;
    double m_left = 0, m_right = 0, m_bottom = 0, m_top = 0; // bounds in metres
};
