#include "paint/PaintAnimals.h"

#include "paint/Paint.h"
#include "paint/PaintNoise.h"

#include <algorithm>
#include <cmath>

namespace {

// Paints shapes given in animal units onto a layer the size of the box.
class AnimalCanvas {
public:
    AnimalCanvas(int w, int h, const AnimalWindow& window) : m_layer(w, h)
    {
        const double ww = window.right - window.left, wh = window.bottom - window.top;
        m_scale = std::min(w / ww, h / wh);
        m_ox = (w - ww * m_scale) / 2 - window.left * m_scale;
        m_oy = (h - wh * m_scale) / 2 - window.top * m_scale;
    }

    PointF Map(PointF p) const { return {m_ox + p.x * m_scale, m_oy + p.y * m_scale}; }
    PointF Unmap(double x, double y) const { return {(x + 0.5 - m_ox) / m_scale, (y + 0.5 - m_oy) / m_scale}; }

    void Ellipse(double cx, double cy, double rx, double ry, uint32_t colour, double rotation = 0)
    {
        const PointF c = Map({cx, cy});
        FillPolygon(m_layer, EllipseContour(c.x, c.y, rx * m_scale, ry * m_scale, rotation), colour);
    }
    void Polygon(std::vector<PointF> points, uint32_t colour)
    {
        for (PointF& p : points)
            p = Map(p);
        FillPolygon(m_layer, points, colour);
    }
    void Stroke(std::vector<PointF> points, double w0, double w1, uint32_t colour)
    {
        for (PointF& p : points)
            p = Map(p);
        FillPolygon(m_layer, StrokeContour(points, w0 * m_scale, w1 * m_scale), colour);
    }
    void Curve(PointF a, PointF c, PointF b, double w0, double w1, uint32_t colour)
    {
        Stroke(CurvePoints(a, c, b, 20), w0, w1, colour);
    }
    // Colours the painted pixels by a function of animal units.
    template <typename Fn>
    void Pattern(Fn&& pattern, int opacity = 255)
    {
        RgbaImage& layer = m_layer;
        FillPolygon(layer, {{0, 0}, {double(layer.width), 0}, {double(layer.width), double(layer.height)}, {0, double(layer.height)}},
                    [&](int x, int y) {
                        const PointF p = Unmap(x, y);
                        return pattern(p.x, p.y);
                    },
                    {PaintMode::Atop, opacity});
    }
    // Lit from above: a lighter back and a darker belly.
    void Shade(double top, double bottom)
    {
        Pattern([top, bottom](double, double y) {
            const double t = std::clamp((y - top) / (bottom - top), 0.0, 1.0);
            return t < 0.5 ? (uint32_t(std::lround((0.5 - t) * 2 * 90)) << 24 | 0xFFFFFF)
                           : (uint32_t(std::lround((t - 0.5) * 2 * 110)) << 24);
        });
    }
    double Scale() const { return m_scale; }
    RgbaImage& Layer() { return m_layer; }

private:
    RgbaImage m_layer;
    double m_scale = 1, m_ox = 0, m_oy = 0;
};

void Leg(AnimalCanvas& c, double x0, double y0, double x1, double thick, double foot, uint32_t colour)
{
    c.Stroke({{x0, y0}, {(x0 + x1) / 2 + 1, y0 / 2}, {x1, -foot / 2}}, thick, foot, colour);
}

void Eye(AnimalCanvas& c, double x, double y, double r)
{
    c.Ellipse(x, y, r, r, Rgb(20, 14, 10));
    c.Ellipse(x - r * 0.3, y - r * 0.3, r * 0.35, r * 0.35, Rgb(230, 230, 220));
}

void Elephant(AnimalCanvas& c)
{
    const uint32_t skin = Rgb(138, 132, 126), far = Rgb(104, 99, 95);
    Leg(c, -45, -70, -46, 30, 28, far);
    Leg(c, 36, -70, 40, 30, 28, far);
    c.Stroke({{-78, -112}, {-86, -84}, {-88, -58}}, 4, 3, skin);
    c.Ellipse(-88, -54, 4, 7, Rgb(50, 46, 42));
    c.Ellipse(-6, -98, 76, 54, skin);
    c.Ellipse(60, -122, 34, 38, skin);
    c.Ellipse(70, -142, 22, 16, skin);
    c.Curve({86, -112}, {108, -66}, {98, -6}, 23, 9, skin);
    Leg(c, -30, -70, -28, 34, 31, skin);
    Leg(c, 46, -70, 50, 34, 31, skin);
    c.Shade(-150, 0);
    // The ear over the head, a little darker, with a lit rim.
    c.Ellipse(46, -110, 27, 41, ShadeColour(skin, 0.86), 0.12);
    c.Ellipse(44, -112, 20, 33, ShadeColour(skin, 0.78), 0.12);
    c.Curve({86, -90}, {110, -78}, {114, -100}, 7, 2.5, Rgb(236, 228, 206));
    for (double x : {-28.0, 50.0})
        for (int toe = -1; toe <= 1; ++toe)
            c.Ellipse(x + toe * 7, -4, 3.2, 2.2, Rgb(210, 200, 184));
    Eye(c, 80, -126, 2.8);
    // Wrinkles across the trunk.
    for (int i = 0; i < 7; ++i) {
        const double y = -92 + i * 12;
        c.Stroke({{92 + i * 1.5, y}, {102 + i * 0.5, y + 2}}, 1.2, 1.2, ShadeColour(skin, 0.7));
    }
}

void Giraffe(AnimalCanvas& c)
{
    const uint32_t coat = Rgb(234, 206, 150), far = Rgb(196, 170, 122);
    Leg(c, -50, -180, -54, 14, 9, far);
    Leg(c, 46, -190, 50, 14, 9, far);
    c.Stroke({{-74, -212}, {-84, -122}}, 3.5, 2, coat);
    c.Ellipse(-84, -116, 4, 9, Rgb(40, 26, 16));
    c.Ellipse(0, -215, 76, 44, coat, -0.14);
    c.Stroke({{52, -228}, {100, -420}}, 44, 20, coat);
    c.Ellipse(120, -430, 26, 12, coat, 0.38);
    c.Ellipse(138, -418, 12, 9.5, coat);
    c.Stroke({{102, -444}, {100, -466}}, 4.5, 3.5, coat);
    c.Stroke({{110, -442}, {110, -464}}, 4.5, 3.5, coat);
    c.Ellipse(100, -467, 3.5, 3.5, Rgb(60, 40, 24));
    c.Ellipse(110, -465, 3.5, 3.5, Rgb(60, 40, 24));
    c.Ellipse(92, -440, 11, 4, coat, -0.6);
    Leg(c, -40, -185, -38, 16, 10, coat);
    Leg(c, 56, -195, 60, 16, 10, coat);
    // Patches: a cell pattern with pale seams, fading out down the legs.
    c.Pattern([](double x, double y) {
        const double cell = 21;
        const double gx = std::floor(x / cell), gy = std::floor(y / cell);
        double best = 1e9, second = 1e9;
        for (int j = -1; j <= 1; ++j)
            for (int i = -1; i <= 1; ++i) {
                const double px = (gx + i + 0.2 + 0.6 * HashUnit(uint32_t(int(gx) + i + 500), uint32_t(int(gy) + j + 500), 61)) * cell;
                const double py = (gy + j + 0.2 + 0.6 * HashUnit(uint32_t(int(gx) + i + 500), uint32_t(int(gy) + j + 500), 62)) * cell;
                const double d = std::hypot(x - px, y - py);
                if (d < best) {
                    second = best;
                    best = d;
                } else if (d < second) {
                    second = d;
                }
            }
        const bool seam = second - best < 4.0;
        if (seam || y > -120 || y < -420)
            return 0u;
        return Rgb(168, 96, 40);
    });
    c.Shade(-470, 0);
    c.Stroke({{48, -250}, {92, -424}}, 5, 3, Rgb(130, 80, 40)); // mane
    Eye(c, 118, -434, 2.6);
    for (double x : {-38.0, 60.0, -54.0, 50.0})
        c.Ellipse(x, -3, 5.5, 3, Rgb(50, 36, 24));
}

void Hippo(AnimalCanvas& c)
{
    const uint32_t skin = Rgb(124, 100, 110), far = Rgb(96, 78, 86);
    Leg(c, -52, -40, -52, 26, 24, far);
    Leg(c, 50, -40, 52, 26, 24, far);
    c.Stroke({{-96, -70}, {-104, -52}}, 6, 2.5, skin);
    c.Ellipse(-5, -64, 94, 48, skin);
    c.Ellipse(84, -70, 38, 31, skin);
    c.Ellipse(116, -54, 30, 25, skin);
    c.Ellipse(78, -99, 6.5, 5, skin);
    c.Ellipse(95, -95, 8, 6, skin);
    c.Ellipse(130, -75, 7, 5, skin);
    Leg(c, -38, -40, -38, 28, 26, skin);
    Leg(c, 58, -40, 60, 28, 26, skin);
    // A pink belly, cheeks and muzzle under the grey.
    c.Pattern([](double x, double y) {
        const double belly = std::clamp((y + 40) / 30.0, 0.0, 1.0);
        const double muzzle = x > 100 ? std::clamp((y + 50) / 20.0, 0.0, 1.0) : 0.0;
        const double t = std::max(belly * 0.6, muzzle * 0.7);
        return (uint32_t(std::lround(t * 255)) << 24) | (Rgb(204, 136, 136) & 0xFFFFFF);
    });
    c.Shade(-115, 0);
    Eye(c, 95, -96, 2.4);
    c.Ellipse(132, -75, 2.6, 1.6, Rgb(50, 30, 34));
    c.Stroke({{104, -40}, {134, -44}}, 1.5, 1.5, Rgb(70, 44, 50));
}

void Cat(AnimalCanvas& c, bool male)
{
    const uint32_t coat = male ? Rgb(206, 160, 92) : Rgb(204, 164, 104);
    const uint32_t far = ShadeColour(coat, 0.8);
    Leg(c, -55, -55, -58, 18, 14, far);
    Leg(c, 50, -55, 54, 18, 14, far);
    c.Curve({-70, -78}, {-112, -62}, {-106, -28}, 5, 3, coat);
    c.Ellipse(-105, -26, 6, 8, Rgb(70, 44, 22));
    c.Ellipse(-5, male ? -70 : -66, male ? 70 : 66, male ? 28 : 24, coat);
    c.Ellipse(46, -66, 26, 28, coat);
    if (male) {
        // A shaggy dark mane around the head.
        std::vector<PointF> mane;
        for (int i = 0; i < 40; ++i) {
            const double a = 2 * M_PI * i / 40;
            const double r = 34 + (i % 2 ? 8 : 0) * (0.6 + 0.4 * HashUnit(uint32_t(i), 3, 88));
            mane.push_back({76 + r * std::cos(a) * 0.95, -84 + r * std::sin(a) * 1.05});
        }
        c.Polygon(mane, Rgb(126, 72, 30));
    } else {
        c.Stroke({{44, -70}, {72, -84}}, 28, 22, coat);
    }
    const double hx = male ? 92 : 82, hy = male ? -86 : -84;
    c.Ellipse(hx - 8, hy - 17, 6, 6, coat);
    c.Ellipse(hx, hy, 20, 17, coat);
    c.Ellipse(hx + 16, hy + 8, 12, 10, coat);
    Leg(c, -45, -55, -42, 20, 15, coat);
    Leg(c, 60, -55, 63, 20, 15, coat);
    c.Ellipse(-42, -4, 8, 4.5, coat);
    c.Ellipse(63, -4, 8, 4.5, coat);
    c.Pattern([](double, double y) {
        const double t = std::clamp((y + 52) / 14.0, 0.0, 1.0) * 0.5;
        return (uint32_t(std::lround(t * 255)) << 24) | 0xF4E6C8u;
    });
    c.Shade(-120, 0);
    if (male)
        c.Stroke({{58, -60}, {62, -40}}, 10, 6, Rgb(140, 84, 36)); // mane under the chin
    c.Ellipse(hx - 8, hy - 17, 3, 3, Rgb(80, 50, 30));
    Eye(c, hx + 4, hy - 5, 2.2);
    c.Ellipse(hx + 27, hy + 4, 3, 2.4, Rgb(60, 34, 30));
    c.Stroke({{hx + 14, hy + 14}, {hx + 26, hy + 13}}, 1.4, 1.4, Rgb(70, 40, 24));
}

void Rhino(AnimalCanvas& c)
{
    const uint32_t skin = Rgb(132, 128, 120), far = Rgb(102, 98, 92);
    Leg(c, -50, -50, -50, 28, 26, far);
    Leg(c, 45, -50, 47, 28, 26, far);
    c.Stroke({{-90, -92}, {-96, -60}}, 4, 2, skin);
    c.Ellipse(-10, -80, 82, 45, skin);
    c.Ellipse(30, -100, 36, 28, skin);
    c.Ellipse(88, -68, 42, 22, skin, 0.45);
    c.Ellipse(114, -52, 18, 13, skin);
    c.Ellipse(64, -104, 5, 11, skin, -0.35);
    Leg(c, -38, -50, -36, 30, 28, skin);
    Leg(c, 52, -50, 55, 30, 28, skin);
    c.Shade(-130, 0);
    // Skin folds at the shoulder and the flank.
    c.Curve({20, -120}, {14, -88}, {24, -52}, 2, 2, ShadeColour(skin, 0.7));
    c.Curve({-54, -118}, {-60, -84}, {-52, -46}, 2, 2, ShadeColour(skin, 0.7));
    const uint32_t horn = Rgb(196, 186, 164);
    c.Polygon({{112, -60}, {140, -114}, {128, -52}}, horn);
    c.Polygon({{96, -76}, {108, -98}, {104, -72}}, horn);
    Eye(c, 84, -80, 2.2);
}

void Zebra(AnimalCanvas& c)
{
    const uint32_t coat = Rgb(242, 240, 232), far = Rgb(214, 212, 204);
    Leg(c, -45, -70, -48, 14, 9, far);
    Leg(c, 40, -70, 42, 14, 9, far);
    c.Stroke({{-66, -100}, {-74, -55}}, 5, 3, coat);
    c.Ellipse(-74, -50, 4, 9, Rgb(30, 30, 30));
    c.Ellipse(-5, -92, 62, 28, coat);
    c.Stroke({{38, -96}, {66, -138}}, 36, 22, coat);
    c.Stroke({{66, -142}, {98, -98}}, 24, 14, coat);
    c.Ellipse(98, -98, 9.5, 8.5, coat);
    c.Ellipse(62, -156, 4, 10, coat, -0.3);
    Leg(c, -38, -70, -36, 15, 10, coat);
    Leg(c, 48, -70, 50, 15, 10, coat);
    // Stripes: bands that curve over the body, ring the legs and run
    // down the neck; a dark muzzle.
    c.Pattern([](double x, double y) {
        double phase;
        if (x > 88)
            return y > -108 ? Rgb(34, 32, 30) : 0u;
        if (y > -66)
            phase = y * 0.55;                                   // legs: rings
        else if (x > 34)
            phase = (x * 0.8 + y * 0.55) * 0.5;                 // neck and head: diagonal
        else if (x < -40)
            phase = (y * 0.5 + x * 0.25) * 0.9 + 0.002 * x * x; // rump: chevrons
        else
            phase = x * 0.34 + 0.0025 * (y + 92) * (y + 92);    // barrel: curving bands
        return std::sin(phase) > 0.15 ? Rgb(30, 28, 28) : 0u;
    });
    c.Stroke({{42, -114}, {62, -150}}, 8, 6, Rgb(40, 38, 36)); // mane
    c.Shade(-160, 0);
    Eye(c, 78, -128, 2.2);
    for (double x : {-36.0, 50.0})
        c.Ellipse(x, -3, 5, 3, Rgb(30, 28, 26));
}

} // namespace

AnimalWindow WholeAnimal(int kind)
{
    switch (kind) {
    case ART_ELEPHANT: return {-100, -170, 125, 4};
    case ART_GIRAFFE: return {-95, -480, 160, 4};
    case ART_HIPPO: return {-112, -115, 150, 4};
    case ART_LION: return {-118, -128, 125, 4};
    case ART_LIONESS: return {-118, -115, 112, 4};
    case ART_RHINO: return {-100, -135, 145, 4};
    case ART_ZEBRA: return {-85, -168, 112, 4};
    default: return {-100, -100, 100, 0};
    }
}

AnimalWindow AnimalHead(int kind)
{
    switch (kind) {
    case ART_ELEPHANT: return {22, -165, 125, -10};
    case ART_GIRAFFE: return {60, -480, 150, -330};
    case ART_HIPPO: return {44, -110, 150, -24};
    case ART_LION: return {36, -130, 125, -40};
    case ART_LIONESS: return {48, -108, 112, -58};
    case ART_RHINO: return {38, -128, 145, -30};
    case ART_ZEBRA: return {26, -170, 112, -84};
    default: return WholeAnimal(kind);
    }
}

void PaintAnimal(RgbaImage& image, int kind, int x, int y, int w, int h, const AnimalWindow& window)
{
    if (w < 2 || h < 2)
        return;
    AnimalCanvas canvas(w, h, window);
    switch (kind) {
    case ART_ELEPHANT: Elephant(canvas); break;
    case ART_GIRAFFE: Giraffe(canvas); break;
    case ART_HIPPO: Hippo(canvas); break;
    case ART_LION: Cat(canvas, true); break;
    case ART_LIONESS: Cat(canvas, false); break;
    case ART_RHINO: Rhino(canvas); break;
    case ART_ZEBRA: Zebra(canvas); break;
    default: return;
    }
    DarkenEdges(canvas.Layer(), 0.55);
    image.Paste(canvas.Layer(), x, y);
}
