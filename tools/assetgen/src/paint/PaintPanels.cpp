#include "paint/PaintPanels.h"

#include "paint/Paint.h"
#include "paint/PaintNoise.h"
#include "paint/TextPainter.h"

#include <cmath>

namespace {

// Wood grain inside a contour: long streaks along x, darker knots.
void FillWood(RgbaImage& image, const Contour& shape, bool lit, uint32_t seed)
{
    const uint32_t light = lit ? Rgb(204, 146, 80) : Rgb(166, 112, 60);
    const uint32_t dark = lit ? Rgb(150, 96, 46) : Rgb(112, 70, 36);
    FillPolygon(image, shape, [&](int x, int y) {
        const double streak = WrappedNoise(x / 60.0, y / 2.2, 1000, 1000, seed);
        const double fine = WrappedNoise(x / 9.0, y / 1.2, 1000, 1000, seed + 1);
        return MixColour(dark, light, 0.25 + 0.6 * streak + 0.15 * fine);
    });
}

void PaintNail(RgbaImage& image, double x, double y)
{
    FillEllipse(image, x + 0.6, y + 0.6, 2.6, 2.6, Rgb(50, 36, 24));
    FillEllipse(image, x, y, 2.4, 2.4, Rgb(120, 116, 110));
    FillEllipse(image, x - 0.7, y - 0.7, 1.0, 1.0, Rgb(210, 206, 196));
}

} // namespace

TextStyle TitleTextStyle(int size, uint32_t colour)
{
    TextStyle style;
    style.face = FontFace::Serif;
    style.size = size;
    style.colour = colour;
    style.outline = size >= 40 ? 3 : 2;
    style.outlineColour = Rgb(60, 24, 6);
    style.shadow = size >= 40 ? 4 : 3;
    style.shadowColour = Rgb(20, 10, 8);
    return style;
}

TextStyle NoteTextStyle(int size)
{
    TextStyle style;
    style.size = size;
    style.colour = Rgb(236, 224, 196);
    return style;
}

void PaintWoodBoard(RgbaImage& image, int x, int y, int w, int h, bool lit, uint32_t seed)
{
    const Contour outer = RoundedRectContour(x, y, w, h, 6);
    FillPolygon(image, outer, lit ? Rgb(92, 54, 20) : Rgb(58, 36, 18));
    FillWood(image, RoundedRectContour(x + 2, y + 2, w - 4, h - 4, 5), lit, seed);
    // A lighter top edge and a shadowed lower edge give the board thickness.
    FillPolygon(image, RoundedRectContour(x + 3, y + 2, w - 6, 3, 1.5), Rgb(255, 230, 180), {PaintMode::Atop, 70});
    FillPolygon(image, RoundedRectContour(x + 3, y + h - 6, w - 6, 4, 2), Rgb(40, 20, 8), {PaintMode::Atop, 90});
    if (lit)
        FillPolygon(image, RoundedRectContour(x + 2, y + 2, w - 4, h - 4, 5), Rgb(255, 220, 120),
                    {PaintMode::Atop, 40});
    PaintNail(image, x + 9, y + h / 2.0);
    PaintNail(image, x + w - 10, y + h / 2.0);
}

void PaintLeatherPanel(RgbaImage& image, int x, int y, int w, int h, int radius, bool lit)
{
    FillPolygon(image, RoundedRectContour(x, y, w, h, radius), lit ? Rgb(255, 200, 70) : Rgb(150, 122, 62));
    FillPolygon(image, RoundedRectContour(x + 1, y + 1, w - 2, h - 2, radius - 1),
                lit ? Rgb(250, 224, 130) : Rgb(196, 166, 96), {PaintMode::Atop, 120});
    const Contour inner = RoundedRectContour(x + 3, y + 3, w - 6, h - 6, std::max(1, radius - 3));
    FillPolygon(image, inner,
                LinearGradient({0, double(y)}, lit ? Rgb(92, 80, 48) : Rgb(70, 62, 42), {0, double(y + h)},
                               lit ? Rgb(60, 50, 28) : Rgb(40, 36, 26)));
    FillPolygon(image, inner, [](int px, int py) {
        const double n = HashUnit(uint32_t(px), uint32_t(py), 404);
        return n > 0.5 ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
    }, {PaintMode::Atop, 10});
}

void PaintLabel(CTextPainter& text, RgbaImage& image, const std::string& label, int x, int y, int w, int h, int size,
                bool lit, bool serif)
{
    TextStyle style;
    style.face = serif ? FontFace::Serif : FontFace::Sans;
    style.size = size;
    style.colour = lit ? Rgb(255, 224, 96) : Rgb(246, 234, 206);
    style.outline = size >= 16 ? 2 : 1;
    style.outlineColour = lit ? Rgb(80, 30, 0) : Rgb(40, 26, 14);
    style.shadow = size >= 16 ? 2 : 0;
    style.shadowColour = Rgb(20, 12, 6);
    text.DrawCentred(image, label, x, y, w, h, style);
}

RgbaImage PaintBoardButton(CTextPainter& text, const std::string& label, int w, int h, int size, uint32_t seed)
{
    RgbaImage strip(w, 2 * h);
    for (int frame = 0; frame < 2; ++frame) {
        PaintWoodBoard(strip, 0, frame * h, w, h, frame == 1, seed);
        PaintLabel(text, strip, label, 14, frame * h, w - 28, h, size, frame == 1, true);
    }
    return strip;
}

RgbaImage PaintPanelButton(CTextPainter& text, const std::string& label, int w, int h, int size)
{
    RgbaImage strip(w, 2 * h);
    for (int frame = 0; frame < 2; ++frame) {
        PaintLeatherPanel(strip, 0, frame * h, w, h, 8, frame == 1);
        PaintLabel(text, strip, label, 6, frame * h, w - 12, h, size, frame == 1);
    }
    return strip;
}

RgbaImage PaintArrowButton(CTextPainter& text, const std::string& label, int w, int h, bool pointsRight, uint32_t seed)
{
    RgbaImage strip(w, 2 * h);
    for (int frame = 0; frame < 2; ++frame) {
        const double top = frame * h + 4, bottom = frame * h + h - 4, mid = frame * h + h / 2.0;
        const double tip = pointsRight ? w - 1.0 : 1.0, base = pointsRight ? w - 16.0 : 16.0;
        const double back = pointsRight ? 1.0 : w - 1.0;
        const Contour arrow = {{back, top + 6}, {base, top + 6}, {base, top - 3}, {tip, mid},
                               {base, bottom + 3}, {base, bottom - 6}, {back, bottom - 6}};
        FillPolygon(strip, arrow, frame == 1 ? Rgb(92, 54, 20) : Rgb(58, 36, 18));
        // The same arrow one pixel smaller, in wood.
        Contour inner;
        const double cx = w / 2.0;
        for (const PointF& p : arrow)
            inner.push_back({cx + (p.x - cx) * (w - 5.0) / w, mid + (p.y - mid) * (h - 6.0) / h});
        FillWood(strip, inner, frame == 1, seed);
        const int textX = pointsRight ? 2 : 14;
        PaintLabel(text, strip, label, textX, int(top) + 5, w - 16, int(bottom - top) - 10, 12, frame == 1);
    }
    return strip;
}
