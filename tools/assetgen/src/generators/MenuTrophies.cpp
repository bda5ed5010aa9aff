#include "gamedata/ScreenTables.h"
#include "generators/MenuParts.h"
#include "paint/Paint.h"
#include "paint/PaintAnimals.h"
#include "paint/PaintNoise.h"
#include "paint/PaintPanels.h"
#include "paint/SceneryPainter.h"
#include "paint/TextPainter.h"
#include "sink/CAssetSink.h"

#include <cctype>
#include <cmath>
#include <string>

namespace {

// Trophy mounts hang at the room's three slots; 170 × 250 keeps them apart
// and above the buttons.
constexpr int kMountW = 170, kMountH = 250;

// A shield-shaped board of dark polished wood with the head on it and a
// brass plate with the name below.
RgbaImage PaintMount(CTextPainter& text, int kind)
{
    RgbaImage image(kMountW, kMountH);
    const double w = kMountW, shieldH = 200;
    const Contour shield = {{10, 20}, {w / 2, 4}, {w - 10, 20}, {w - 10, shieldH * 0.62}, {w / 2, shieldH}, {10, shieldH * 0.62}};
    FillPolygon(image, shield, Rgb(40, 22, 12));
    Contour inner;
    for (const PointF& p : shield)
        inner.push_back({w / 2 + (p.x - w / 2) * 0.9, shieldH / 2 + (p.y - shieldH / 2) * 0.92});
    FillPolygon(image, inner, [](int x, int y) {
        const double grain = WrappedNoise(x / 40.0, y / 3.0, 1000, 1000, 77);
        return MixColour(Rgb(84, 44, 22), Rgb(126, 70, 34), grain);
    });
    FillPolygon(image, inner, LinearGradient({0, 0}, Rgb(255, 230, 190), {w, shieldH}, Rgb(0, 0, 0)), {PaintMode::Atop, 50});
    // The head comes out of the board: whatever lies beyond the shield's
    // inner edge is cut away.
    RgbaImage head(kMountW, kMountH);
    PaintAnimal(head, kind, 8, 14, kMountW - 16, 176, AnimalHead(kind));
    RgbaImage mask(kMountW, kMountH);
    FillPolygon(mask, inner, Rgb(255, 255, 255));
    for (size_t i = 0; i < head.pixels.size(); ++i)
        if (!(mask.pixels[i] >> 24))
            head.pixels[i] = 0;
    image.Paste(head, 0, 0);
    // The brass name plate.
    FillPolygon(image, RoundedRectContour(20, 210, w - 40, 32, 5), Rgb(110, 80, 30));
    FillPolygon(image, RoundedRectContour(22, 212, w - 44, 28, 4),
                LinearGradient({0, 212}, Rgb(240, 210, 120), {0, 240}, Rgb(170, 126, 50)));
    TextStyle style;
    style.face = FontFace::Serif;
    style.size = 16;
    style.colour = Rgb(60, 36, 10);
    text.DrawCentred(image, AnimalName(kind), 24, 212, w - 48, 28, style);
    return image;
}

// A banner across the middle of an end picture.
void PaintBanner(CTextPainter& text, RgbaImage& image, int y, const std::string& headline, uint32_t headlineColour,
                 const std::string& line)
{
    PaintLeatherPanel(image, 90, y, 460, 120, 14, false);
    text.DrawCentred(image, headline, 100, y + 8, 440, 64, TitleTextStyle(44, headlineColour));
    TextStyle small;
    small.size = 18;
    small.colour = Rgb(246, 234, 206);
    small.outline = 1;
    small.outlineColour = Rgb(30, 20, 10);
    text.DrawCentred(image, line, 100, y + 74, 440, 32, small);
}

// Every other pixel in `colour`: over the frozen hunt it reads as a tint.
// The pixels with x + y even stay transparent, (0, 0) among them.
void PaintScreen(RgbaImage& image, uint32_t colour)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = (y + 1) % 2; x < image.width; x += 2)
            image.Set(x, y, colour);
}

RgbaImage PaintJail(CTextPainter& text)
{
    RgbaImage image(640, 480);
    // Prison bars over the whole view with a cross-bar at the top and the bottom.
    for (int bar = 0; bar < 12; ++bar) {
        const double x = 30 + bar * 53.0;
        FillPolygon(image, {{x, 0}, {x + 14, 0}, {x + 14, 480}, {x, 480}},
                    LinearGradient({x, 0}, Rgb(150, 150, 156), {x + 14, 0}, Rgb(40, 40, 46)));
        FillPolygon(image, {{x + 3, 0}, {x + 5, 0}, {x + 5, 480}, {x + 3, 480}}, Rgb(220, 220, 226), {PaintMode::Atop, 160});
    }
    for (double y : {40.0, 420.0})
        FillPolygon(image, {{10, y}, {630, y}, {630, y + 16}, {10, y + 16}},
                    LinearGradient({0, y}, Rgb(160, 160, 166), {0, y + 16}, Rgb(50, 50, 56)));
    image.Set(0, 0, 0);
    PaintBanner(text, image, 180, "JAIL!", Rgb(255, 80, 60), "That animal was protected.");
    return image;
}

RgbaImage PaintKilled(CTextPainter& text)
{
    RgbaImage image(640, 480);
    PaintScreen(image, Rgb(110, 0, 0));
    // Three claw marks across the view.
    for (int i = 0; i < 3; ++i) {
        const double x = 160 + i * 70;
        FillPolygon(image, StrokeContour(CurvePoints({x, 20}, {x + 120, 200}, {x + 220, 460}), 4, 26), Rgb(150, 10, 8));
        FillPolygon(image, StrokeContour(CurvePoints({x + 4, 30}, {x + 118, 205}, {x + 214, 450}), 1, 8),
                    Rgb(220, 40, 30));
    }
    image.Set(0, 0, 0);
    PaintBanner(text, image, 180, "YOU WERE KILLED", Rgb(255, 70, 50), "The savannah claims another hunter.");
    return image;
}

RgbaImage PaintLost(CTextPainter& text)
{
    RgbaImage image(640, 480);
    PaintScreen(image, Rgb(226, 226, 220));
    PaintBanner(text, image, 180, "YOU GOT LOST", Rgb(255, 214, 96), "You drove far off the hunting grounds.");
    return image;
}

// A trophy picture: the animal in its landscape in a gilt frame, with
// rounded corners whose pixels (the top-left one gives the key) stay clear.
RgbaImage PaintBagged(CTextPainter& text, int kind)
{
    constexpr int w = 350, h = 330;
    RgbaImage image(w, h);
    FillPolygon(image, RoundedRectContour(0, 0, w, h, 18), Rgb(120, 80, 20));
    FillPolygon(image, RoundedRectContour(3, 3, w - 6, h - 6, 16),
                LinearGradient({0, 0}, Rgb(255, 226, 130), {double(w), double(h)}, Rgb(170, 120, 40)));
    FillPolygon(image, RoundedRectContour(12, 12, w - 24, h - 24, 10), Rgb(60, 40, 16));
    const Scenario scenery = kind == ART_GIRAFFE || kind == ART_ELEPHANT ? Scenario::Plains : Scenario::Grass;
    const RgbaImage view = PaintLandscapeView(scenery, w - 28, 220, 120, 90 * kind);
    image.Paste(view, 14, 14);
    PaintAnimal(image, kind, 40, 40, w - 80, 186, WholeAnimal(kind));
    text.DrawCentred(image, "TROPHY!", 14, 16, w - 28, 44, TitleTextStyle(34, Rgb(255, 220, 100)));
    TextStyle line;
    line.size = 20;
    line.colour = Rgb(250, 238, 210);
    std::string name = AnimalName(kind);
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    text.DrawCentred(image, "You bagged the " + name, 14, 240, w - 28, 34, line);
    TextStyle small;
    small.size = 13;
    small.colour = Rgb(220, 200, 160);
    text.DrawCentred(image, "It hangs in your trophy room.", 14, 274, w - 28, 24, small);
    return image;
}

} // namespace

void GenerateTrophyRoom(CAssetSink& sink, CTextPainter& text)
{
    // Panelled wall, a skirting board, a floor, a title board.
    RgbaImage back(640, 480);
    for (int panel = 0; panel < 8; ++panel)
        PaintWoodBoard(back, panel * 80, -10, 80, 420, false, 500 + uint32_t(panel));
    FillPolygon(back, {{0, 0}, {640, 0}, {640, 480}, {0, 480}}, Rgb(40, 20, 10), {PaintMode::Atop, 90});
    FillPolygon(back, {{0, 392}, {640, 392}, {640, 480}, {0, 480}},
                LinearGradient({0, 392}, Rgb(70, 44, 26), {0, 480}, Rgb(34, 22, 14)));
    FillPolygon(back, {{0, 384}, {640, 384}, {640, 396}, {0, 396}}, Rgb(100, 62, 32));
    PaintLeatherPanel(back, 200, 4, 240, 44, 8, false);
    PaintLabel(text, back, "TROPHY ROOM", 206, 4, 228, 44, 24, true, true);
    // A brass hook where each trophy hangs.
    for (int slot = 0; slot < TROPHY_SLOTS; ++slot) {
        const double x = kTrophySlotX[slot] + kMountW / 2.0;
        const double y = kTrophySlotY[slot] + 6;
        FillEllipse(back, x, y, 5, 5, Rgb(210, 170, 80));
        FillEllipse(back, x - 1, y - 1, 2, 2, Rgb(255, 240, 190));
    }
    auto item = [](int place) { return ItemOf(ScreenId::Trophies, place).picture; };
    sink.WritePicture(item(TrophyItem::Background), back, GROUP_MENU);
    for (int kind = 0; kind < ART_ANIMAL_COUNT; ++kind)
        sink.WritePicture(item(TrophyItem::FirstMount + kind), PaintMount(text, kind), GROUP_MENU);
    sink.WritePicture(item(TrophyItem::Previous), PaintArrowButton(text, "BACK", 62, 46, false, 41), GROUP_MENU);
    sink.WritePicture(item(TrophyItem::Next), PaintArrowButton(text, "MORE", 50, 47, true, 42), GROUP_MENU);
    sink.WritePicture(item(TrophyItem::Exit), PaintBoardButton(text, "EXIT", 98, 46, 18, 43), GROUP_MENU);
}

// The end pictures are drawn over the frozen last picture of the hunt (so
// they belong to the hunt's palettes) and keyed by their top-left pixel.
void GenerateEndPictures(CAssetSink& sink, CTextPainter& text)
{
    // An end screen's picture is its only item.
    auto picture = [](ScreenId screen) { return ItemOf(screen, 0).picture; };
    for (int kind = 0; kind < ART_ANIMAL_COUNT; ++kind)
        sink.WritePicture(picture(BaggedScreen(kind + 1)), PaintBagged(text, kind), GROUP_HUNT, PictureStorage::Plain8);
    sink.WritePicture(picture(ScreenId::EndJail), PaintJail(text), GROUP_HUNT, PictureStorage::Plain8);
    sink.WritePicture(picture(ScreenId::EndKilled), PaintKilled(text), GROUP_HUNT, PictureStorage::Plain8);
    sink.WritePicture(picture(ScreenId::EndLost), PaintLost(text), GROUP_HUNT, PictureStorage::Plain8);
}
