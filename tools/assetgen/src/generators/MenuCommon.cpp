#include "generators/MenuParts.h"
#include "paint/Paint.h"
#include "paint/PaintPanels.h"
#include "paint/SceneryPainter.h"
#include "paint/TextPainter.h"

#include <cmath>

const char* AnimalName(int kind)
{
    static const char* const kNames[7] = {"ELEPHANT", "GIRAFFE", "HIPPO", "LION", "LIONESS", "RHINO", "ZEBRA"};
    return kind >= 0 && kind < 7 ? kNames[kind] : "";
}

RgbaImage PaintMenuBackdrop(CTextPainter& text, const std::string& title, int variant)
{
    const Scenario scenario = variant == 0 ? Scenario::Plains : variant == 1 ? Scenario::Grass : Scenario::Desert;
    RgbaImage image = PaintLandscapeView(scenario, 640, 480, 300, 160 * variant + 300);
    // Darken the edges so the items stand out against the scenery.
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const double dx = (x - 320) / 380.0, dy = (y - 250) / 330.0;
            const double v = std::clamp(1.1 - 0.55 * (dx * dx + dy * dy), 0.55, 1.0);
            image.pixels[size_t(y) * 640 + x] = ShadeColour(image.pixels[size_t(y) * 640 + x], v);
        }
    if (!title.empty()) {
        text.DrawCentred(image, title, 300, 14, 330, 50, TitleTextStyle(34, Rgb(255, 222, 120)));
    }
    return image;
}

void PaintCardFrame(CTextPainter& text, RgbaImage& image, int top, int w, int h, const std::string& caption,
                    bool selected)
{
    const double radius = 8;
    FillPolygon(image, RoundedRectContour(0, top, w, h, radius), selected ? Rgb(255, 196, 60) : Rgb(70, 52, 30));
    FillPolygon(image, RoundedRectContour(2, top + 2, w - 4, h - 4, radius - 2),
                selected ? Rgb(255, 236, 150) : Rgb(130, 104, 64));
    FillPolygon(image, RoundedRectContour(4, top + 4, w - 8, h - 8, radius - 3),
                LinearGradient({0, double(top)}, selected ? Rgb(250, 236, 196) : Rgb(206, 190, 150), {0, double(top + h)},
                               selected ? Rgb(232, 196, 128) : Rgb(160, 140, 104)));
    if (!caption.empty()) {
        const int strip = 16;
        FillPolygon(image, RoundedRectContour(4, top + h - strip - 4, w - 8, strip, 3),
                    selected ? Rgb(150, 70, 20) : Rgb(84, 62, 38));
        TextStyle style;
        style.size = 11;
        style.colour = selected ? Rgb(255, 230, 120) : Rgb(238, 226, 200);
        text.DrawCentred(image, caption, 6, top + h - strip - 4, w - 12, strip, style);
    }
}
