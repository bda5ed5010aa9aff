#include "gamedata/DataFiles.h"
#include "gamedata/ScreenTables.h"
#include "generators/HudParts.h"
#include "paint/Paint.h"
#include "paint/PaintPanels.h"
#include "paint/TextPainter.h"
#include "sink/CAssetSink.h"

#include <cmath>

namespace {

// One frame of the compass and wind dial: north up, the needle pointing to
// the middle of the frame's sector (of twelve frames, frame k covers the
// directions k × 30° .. (k + 1) × 30°, counted anticlockwise from east).
constexpr int kDialWidth = 100, kDialHeight = 76;

void PaintDialFrame(CTextPainter& text, RgbaImage& image, int top, int frame, int frames)
{
    const double cx = kDialWidth / 2.0, cy = top + kDialHeight / 2.0, r = 36;
    FillEllipse(image, cx + 1.5, cy + 1.5, r, r, Rgb(24, 20, 14));
    FillEllipse(image, cx, cy, r, r, Rgb(176, 138, 62));
    FillPolygon(image, EllipseContour(cx, cy, r, r), LinearGradient({cx - r, cy - r}, Rgb(240, 214, 140), {cx + r, cy + r},
                                                                      Rgb(120, 88, 34)), {PaintMode::Atop, 200});
    FillEllipse(image, cx, cy, r - 4, r - 4, Rgb(30, 34, 30));
    FillPolygon(image, EllipseContour(cx, cy, r - 4, r - 4),
                LinearGradient({cx, cy - r}, Rgb(58, 66, 58), {cx, cy + r}, Rgb(24, 26, 22)));
    // Ticks every 30 degrees, longer at the four points.
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        const double outer = r - 6, inner = i % 3 == 0 ? r - 11 : r - 9;
        StrokeLine(image, {cx + outer * std::cos(a), cy - outer * std::sin(a)},
                   {cx + inner * std::cos(a), cy - inner * std::sin(a)}, 1.3, Rgb(200, 196, 176));
    }
    const char* letters[4] = {"E", "N", "W", "S"};
    TextStyle style;
    style.size = 10;
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 2, d = r - 17;
        style.colour = i == 1 ? Rgb(255, 110, 80) : Rgb(226, 222, 204);
        text.DrawCentred(image, letters[i], int(cx + d * std::cos(a)) - 6, int(cy - d * std::sin(a)) - 6, 12, 12, style);
    }
    // The needle: red point towards the direction, pale tail.
    const double a = (frame + 0.5) * 2 * M_PI / frames;
    const double ux = std::cos(a), uy = -std::sin(a), px = -uy, py = ux;
    const double length = r - 9;
    FillPolygon(image, {{cx + ux * length, cy + uy * length}, {cx + px * 4.5, cy + py * 4.5}, {cx - px * 4.5, cy - py * 4.5}},
                Rgb(226, 52, 36));
    FillPolygon(image, {{cx - ux * (length - 8), cy - uy * (length - 8)}, {cx + px * 4.5, cy + py * 4.5},
                        {cx - px * 4.5, cy - py * 4.5}},
                Rgb(220, 216, 200));
    FillEllipse(image, cx, cy, 3, 3, Rgb(196, 160, 80));
    // A glint on the glass.
    FillPolygon(image, EllipseContour(cx - 12, cy - 14, 12, 5, -0.6), Rgb(255, 255, 255), {PaintMode::Atop, 40});
}

RgbaImage PaintDialStrip(CTextPainter& text, int frames)
{
    RgbaImage strip(kDialWidth, kDialHeight * frames);
    for (int frame = 0; frame < frames; ++frame)
        PaintDialFrame(text, strip, frame * kDialHeight, frame, frames);
    return strip;
}

RgbaImage PaintCaption(CTextPainter& text, const std::string& caption, int w, int h)
{
    RgbaImage image(w, h);
    PaintLeatherPanel(image, 0, 0, w, h, 6, false);
    PaintLabel(text, image, caption, 4, 0, w - 8, h, 13, false);
    return image;
}

// A two-frame toggle: the icon on a panel, dim when off, lit when on.
template <typename Icon>
RgbaImage PaintToggle(CTextPainter& text, int w, int h, const std::string& offCaption, const std::string& onCaption,
                      Icon&& icon)
{
    RgbaImage strip(w, 2 * h);
    for (int frame = 0; frame < 2; ++frame) {
        const bool on = frame == 1;
        const int top = frame * h;
        PaintLeatherPanel(strip, 0, top, w, h, 8, on);
        const int captionHeight = h >= 50 ? 16 : 0;
        icon(strip, 4, top + 3, w - 8, h - 6 - captionHeight, on);
        if (captionHeight)
            PaintLabel(text, strip, on ? onCaption : offCaption, 4, top + h - captionHeight - 3, w - 8, captionHeight, 11, on);
    }
    return strip;
}

void BinocularIcon(RgbaImage& image, int x, int y, int w, int h, bool on)
{
    const uint32_t body = on ? Rgb(236, 226, 196) : Rgb(150, 144, 126);
    const uint32_t glass = on ? Rgb(120, 200, 255) : Rgb(70, 90, 100);
    const double cx = x + w / 2.0, cy = y + h / 2.0, r = std::min(w / 4.6, h / 2.6);
    for (int side = -1; side <= 1; side += 2) {
        const double ex = cx + side * r * 1.15;
        FillPolygon(image, RoundedRectContour(ex - r * 0.75, cy - r * 1.2, r * 1.5, r * 1.5, 3), body);
        FillEllipse(image, ex, cy + r * 0.55, r, r, body);
        FillEllipse(image, ex, cy + r * 0.55, r * 0.62, r * 0.62, glass);
        FillEllipse(image, ex - r * 0.2, cy + r * 0.35, r * 0.2, r * 0.2, Rgb(255, 255, 255));
    }
    FillPolygon(image, RoundedRectContour(cx - r * 0.5, cy - r * 0.7, r, r * 0.9, 2), ShadeColour(body, 0.8));
}

void FootIcon(RgbaImage& image, int x, int y, int w, int h, bool)
{
    // Two boot prints walking up the panel.
    const uint32_t print = Rgb(214, 196, 150);
    const double cx = x + w / 2.0, cy = y + h / 2.0, s = h / 34.0;
    for (int side = -1; side <= 1; side += 2) {
        const double fx = cx + side * 9 * s, fy = cy + side * 5 * s;
        FillPolygon(image, EllipseContour(fx, fy - 4 * s, 5.5 * s, 9 * s, side * 0.15), print);
        FillPolygon(image, EllipseContour(fx + side * 0.5 * s, fy + 9 * s, 4.2 * s, 4.5 * s), print);
    }
}

void JeepIcon(RgbaImage& image, int x, int y, int w, int h, bool)
{
    // A jeep seen from the side, lit up.
    const uint32_t paint = Rgb(226, 196, 110), dark = Rgb(40, 36, 26);
    const double s = std::min(w / 70.0, h / 34.0);
    const double ox = x + (w - 70 * s) / 2, oy = y + (h - 34 * s) / 2;
    auto p = [&](double px, double py) { return PointF{ox + px * s, oy + py * s}; };
    FillPolygon(image, {p(2, 14), p(20, 14), p(26, 4), p(30, 4), p(28, 14), p(62, 13), p(68, 16), p(68, 25), p(2, 25)},
                paint);
    StrokeLine(image, p(24, 2), p(24, 14), 1.6 * s, dark);
    for (double wx : {16.0, 54.0}) {
        FillEllipse(image, ox + wx * s, oy + 25 * s, 7 * s, 7 * s, dark);
        FillEllipse(image, ox + wx * s, oy + 25 * s, 3 * s, 3 * s, Rgb(170, 170, 160));
    }
}

void DriveIcon(RgbaImage& image, int x, int y, int w, int h, bool on)
{
    if (on)
        JeepIcon(image, x, y, w, h, on);
    else
        FootIcon(image, x, y, w, h, on);
}

void CrosshairIcon(RgbaImage& image, int x, int y, int w, int h, bool on)
{
    const uint32_t colour = on ? Rgb(255, 80, 50) : Rgb(190, 180, 150);
    const double cx = x + w / 2.0, cy = y + h / 2.0, r = std::min(w, h) / 2.0 - 2;
    const Contour outer = EllipseContour(cx, cy, r, r), inner = EllipseContour(cx, cy, r - 2.2, r - 2.2);
    FillContours(image, {outer, inner}, colour);
    StrokeLine(image, {cx - r - 3, cy}, {cx - 3, cy}, 1.8, colour);
    StrokeLine(image, {cx + 3, cy}, {cx + r + 3, cy}, 1.8, colour);
    StrokeLine(image, {cx, cy - r - 3}, {cx, cy - 3}, 1.8, colour);
    StrokeLine(image, {cx, cy + 3}, {cx, cy + r + 3}, 1.8, colour);
    FillEllipse(image, cx, cy, 1.5, 1.5, colour);
}

} // namespace

void GenerateHudItems(CAssetSink& sink, CTextPainter& text)
{
    auto item = [](int place) { return ItemOf(ScreenId::Hunt, place).picture; };
    // The compass and the wind dial share one strip.
    sink.WritePicture(item(HuntItem::Compass), PaintDialStrip(text, ItemOf(ScreenId::Hunt, HuntItem::Compass).frames),
                      GROUP_HUNT);
    sink.WritePicture(item(HuntItem::DirectionLabel), PaintCaption(text, "DIRECTION", 90, 24), GROUP_HUNT);
    sink.WritePicture(item(HuntItem::WindLabel), PaintCaption(text, "WIND", 100, 24), GROUP_HUNT);
    sink.WritePicture(item(HuntItem::Binoculars), PaintToggle(text, 60, 44, "", "", BinocularIcon), GROUP_HUNT);
    sink.WritePicture(item(HuntItem::Drive), PaintToggle(text, 90, 82, "ON FOOT", "DRIVING", DriveIcon), GROUP_HUNT);
    sink.WritePicture(item(HuntItem::Aim), PaintToggle(text, 100, 56, "AIM", "AIMING", CrosshairIcon), GROUP_HUNT);
    sink.WritePicture(item(HuntItem::Options), PaintPanelButton(text, "OPTIONS", 120, 48, 16), GROUP_HUNT);
}

void GenerateRadarMarks(CAssetSink& sink)
{
    // The hunter: a small arrow pointing up the radar; its corner pixel is
    // transparent and gives the key.
    static const char* const kMarker[8] = {"..#..", "..#..", ".###.", ".###.", "#####", "#####", "##.##", "#...#"};
    RgbaImage marker(5, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 5; ++x)
            if (kMarker[y][x] == '#')
                marker.Set(x, y, y < 2 ? Rgb(255, 255, 220) : Rgb(255, 226, 90));
    sink.WritePicture(kRadarMarkPicture, marker, GROUP_HUNT, PictureStorage::Plain8);
    // An animal: a round red dot, drawn whole (no key).
    RgbaImage dot(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool corner = (x == 0 || x == 3) && (y == 0 || y == 3);
            const bool centre = x >= 1 && x <= 2 && y >= 1 && y <= 2;
            dot.Set(x, y, corner ? Rgb(40, 16, 12) : centre ? Rgb(255, 96, 60) : Rgb(196, 40, 24));
        }
    sink.WritePicture(kRadarDotPicture, dot, GROUP_HUNT, PictureStorage::Plain8);
}

// The binoculars: a near-black body with two round lenses in the lens
// colour, which the game replaces by the magnified view. The lenses lie
// inside the magnified rectangle (120, 110)-(520, 290) and cover (200, 200);
// the body's outline leaves the top corners transparent, so (0, 0) holds the
// key. Lens and outline edges are hard: a blended pixel would match neither
// the lens colour nor the key.
void GenerateBinoculars(CAssetSink& sink)
{
    constexpr int kWidth = 640, kHeight = 440;
    const double lensR = 86, cupR = 104, bodyR = 150, leftX = 238, rightX = 402, centreY = 200;
    const uint32_t lensColour = Rgb(255, 0, 255);
    RgbaImage image(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double dl = std::hypot(px - leftX, py - centreY), dr = std::hypot(px - rightX, py - centreY);
            const double d = std::min(dl, dr);
            if (d < lensR) {
                image.Set(x, y, lensColour);
                continue;
            }
            if (d >= bodyR && py < centreY - 30)
                continue; // above the body's outline: the hunt shows through
            uint32_t colour = MixColour(Rgb(30, 30, 32), Rgb(14, 14, 16), std::min(1.0, py / kHeight * 1.5));
            if (d < cupR) {
                // The rubber eyecup rim, lighter at its inner edge.
                const double t = (d - lensR) / (cupR - lensR);
                colour = MixColour(Rgb(70, 70, 74), Rgb(22, 22, 24), t);
            }
            image.Set(x, y, colour);
        }
    sink.WritePicture(kBinocularPicture, image, GROUP_HUNT, PictureStorage::Plain8);
}
