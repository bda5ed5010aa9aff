#include "gamedata/DataFiles.h"
#include "gamedata/ScreenTables.h"
#include "generators/MenuParts.h"
#include "paint/Paint.h"
#include "paint/PaintAnimals.h"
#include "paint/PaintNoise.h"
#include "paint/PaintPanels.h"
#include "paint/TextPainter.h"
#include "sink/CAssetSink.h"

#include <cmath>

namespace {

// The animal's shape in one flat colour (a silhouette against the sky).
void PaintSilhouette(RgbaImage& image, int kind, int x, int y, int w, int h, uint32_t colour)
{
    RgbaImage layer(w, h);
    PaintAnimal(layer, kind, 0, 0, w, h, WholeAnimal(kind));
    for (uint32_t& p : layer.pixels)
        if (p >> 24)
            p = colour | 0xFF000000u;
    image.Paste(layer, x, y);
}

void PaintAcacia(RgbaImage& image, double x, double base, double size, uint32_t colour)
{
    StrokeLine(image, {x, base}, {x - size * 0.05, base - size * 0.55}, size * 0.07, colour);
    StrokeLine(image, {x - size * 0.04, base - size * 0.5}, {x - size * 0.32, base - size * 0.8}, size * 0.04, colour);
    StrokeLine(image, {x - size * 0.03, base - size * 0.52}, {x + size * 0.3, base - size * 0.82}, size * 0.04, colour);
    FillEllipse(image, x, base - size * 0.86, size * 0.62, size * 0.12, colour);
    FillEllipse(image, x - size * 0.3, base - size * 0.92, size * 0.3, size * 0.1, colour);
    FillEllipse(image, x + size * 0.28, base - size * 0.93, size * 0.32, size * 0.1, colour);
}

// A savannah sunset: the sun low behind acacias and a herd on the skyline.
RgbaImage PaintSunset()
{
    RgbaImage image(640, 480);
    const int horizon = 330;
    FillPolygon(image, {{0, 0}, {640, 0}, {640, 480}, {0, 480}},
                MultiGradient({0, 0}, {0, double(horizon)},
                              {{0.0, Rgb(46, 34, 84)}, {0.45, Rgb(170, 70, 70)}, {0.8, Rgb(244, 140, 60)},
                               {1.0, Rgb(255, 206, 110)}}));
    // The sun with a soft glow.
    for (int ring = 6; ring >= 1; --ring)
        FillEllipse(image, 470, horizon - 20, 52 + ring * 14, 52 + ring * 14, Rgb(255, 214, 120), {PaintMode::Over, 26});
    FillEllipse(image, 470, horizon - 20, 54, 54, Rgb(255, 236, 170));
    // Thin clouds across the sun.
    for (int i = 0; i < 5; ++i)
        FillEllipse(image, 380 + i * 60, 200 + (i % 3) * 26, 90, 5, Rgb(150, 60, 70), {PaintMode::Over, 150});
    // Far hills, then the dark ground.
    Contour hills = {{0, 480}};
    for (int x = 0; x <= 640; x += 8)
        hills.push_back({double(x), horizon - 10 - 14 * WrappedNoise(x / 90.0, 0.5, 100, 1, 5)});
    hills.push_back({640, 480});
    FillPolygon(image, hills, Rgb(110, 56, 64));
    FillPolygon(image, {{0, double(horizon)}, {640, double(horizon)}, {640, 480}, {0, 480}}, Rgb(44, 26, 22));
    const uint32_t shadow = Rgb(28, 16, 14);
    PaintSilhouette(image, ART_GIRAFFE, 330, horizon - 96, 60, 100, shadow);
    PaintSilhouette(image, ART_GIRAFFE, 386, horizon - 80, 50, 84, shadow);
    PaintSilhouette(image, ART_ELEPHANT, 560, horizon - 56, 74, 60, shadow);
    PaintSilhouette(image, ART_ZEBRA, 270, horizon - 30, 34, 32, shadow);
    PaintSilhouette(image, ART_ZEBRA, 300, horizon - 28, 30, 30, shadow);
    PaintAcacia(image, 520, horizon + 20, 180, shadow);
    PaintAcacia(image, 250, horizon + 4, 90, shadow);
    // Grass tufts along the bottom.
    for (int i = 0; i < 160; ++i) {
        const double x = HashUnit(uint32_t(i), 1, 42) * 660 - 10, base = 480 - HashUnit(uint32_t(i), 2, 42) * 120;
        const double length = 10 + 26 * HashUnit(uint32_t(i), 3, 42) * (base - horizon) / 150;
        const double lean = (HashUnit(uint32_t(i), 4, 42) - 0.5) * 0.8;
        StrokeLine(image, {x, base}, {x + lean * length, base - length}, 2.0, Rgb(20, 12, 10));
    }
    return image;
}

} // namespace

void GenerateMainMenu(CAssetSink& sink, CTextPainter& text)
{
    RgbaImage back = PaintSunset();
    // The signpost the boards hang on.
    FillPolygon(back, {{146, 126}, {153, 112}, {160, 126}, {160, 480}, {146, 480}}, Rgb(92, 60, 34));
    FillPolygon(back, {{146, 126}, {153, 112}, {160, 126}, {160, 480}, {146, 480}},
                LinearGradient({146, 0}, Rgb(140, 96, 56), {160, 0}, Rgb(70, 44, 24)), {PaintMode::Atop, 255});
    text.DrawCentred(back, "VELDRA", 290, 34, 330, 90, TitleTextStyle(76));
    TextStyle subtitle;
    subtitle.size = 20;
    subtitle.colour = Rgb(255, 236, 200);
    subtitle.outline = 2;
    subtitle.outlineColour = Rgb(60, 20, 20);
    text.DrawCentred(back, "HUNTING ON THE SAVANNAH", 290, 118, 330, 30, subtitle);
    auto item = [](int place) { return ItemOf(ScreenId::MainMenu, place).picture; };
    sink.WritePicture(item(MainMenuItem::Background), back, GROUP_MENU);

    sink.WritePicture(item(MainMenuItem::Start), PaintBoardButton(text, "START HUNT", 230, 52, 24, 1), GROUP_MENU);
    sink.WritePicture(item(MainMenuItem::Trophies), PaintBoardButton(text, "TROPHIES", 230, 52, 24, 2), GROUP_MENU);
    sink.WritePicture(item(MainMenuItem::Help), PaintBoardButton(text, "HELP", 160, 52, 24, 3), GROUP_MENU);
    sink.WritePicture(item(MainMenuItem::Credits), PaintBoardButton(text, "CREDITS", 160, 52, 24, 4), GROUP_MENU);
    sink.WritePicture(item(MainMenuItem::Exit), PaintBoardButton(text, "EXIT", 160, 52, 24, 5), GROUP_MENU);
}

void GenerateOptionsBox(CAssetSink& sink, CTextPainter& text)
{
    // Shown over the frozen hunt, so it is part of the hunt's palettes.
    RgbaImage box(326, 236);
    PaintLeatherPanel(box, 0, 0, 326, 236, 14, false);
    PaintLabel(text, box, "HUNT PAUSED", 10, 4, 306, 22, 15, true);
    const TextStyle hint = NoteTextStyle(12);
    text.DrawCentred(box, "The main menu ends this hunt.", 10, 130, 306, 20, hint);
    text.DrawCentred(box, "Exit closes the game.", 10, 150, 306, 20, hint);
    auto item = [](int place) { return ItemOf(ScreenId::Options, place).picture; };
    sink.WritePicture(item(OptionsItem::Background), box, GROUP_HUNT);
    sink.WritePicture(item(OptionsItem::Resume), PaintBoardButton(text, "RESUME", 210, 46, 22, 21), GROUP_HUNT);
    sink.WritePicture(item(OptionsItem::MainMenu), PaintBoardButton(text, "MAIN MENU", 250, 46, 22, 22), GROUP_HUNT);
    sink.WritePicture(item(OptionsItem::Exit), PaintBoardButton(text, "EXIT GAME", 170, 46, 20, 23), GROUP_HUNT);
}

void GenerateCredits(CAssetSink& sink, CTextPainter& text)
{
    RgbaImage back = PaintSunset();
    // Darken the sky for the text.
    FillPolygon(back, RoundedRectContour(90, 24, 460, 372, 16), Rgb(16, 10, 14), {PaintMode::Over, 190});
    text.DrawCentred(back, "VELDRA", 90, 36, 460, 64, TitleTextStyle(52));
    TextStyle role, name;
    role.size = 13;
    role.colour = Rgb(230, 170, 110);
    name.face = FontFace::Serif;
    name.size = 20;
    name.colour = Rgb(250, 240, 220);
    const struct {
        const char* role;
        const char* name;
    } lines[] = {
        {"GAME DESIGN AND PROGRAMMING", "The Veldra Team"},
        {"PICTURES", "Painted by our own generator"},
        {"SOUNDS", "Synthesised by our own generator"},
        {"LETTERING", "DejaVu fonts"},
    };
    int y = 110;
    for (const auto& line : lines) {
        text.DrawCentred(back, line.role, 90, y, 460, 20, role);
        text.DrawCentred(back, line.name, 90, y + 20, 460, 28, name);
        y += 60;
    }
    text.DrawCentred(back, "Thank you for playing. Hunt fair!", 90, y + 4, 460, 26, role);
    sink.WritePicture(ItemOf(ScreenId::Credits, CreditsItem::Background).picture, back, GROUP_MENU);
    sink.WritePicture(ItemOf(ScreenId::Credits, CreditsItem::Exit).picture,
                      PaintBoardButton(text, "MAIN MENU", 150, 46, 18, 31), GROUP_MENU);
}

// The mouse pointer: an arrow whose tip is the hot spot (0, 0). Its
// bottom-right pixel stays transparent, since the game takes the key colour
// from there.
void GenerateCursor(CAssetSink& sink)
{
    static const char* const kArrow[16] = {
        "#...............", "##..............", "#o#.............", "#oo#............",
        "#ooo#...........", "#oooo#..........", "#ooooo#.........", "#oooooo#........",
        "#ooooooo#.......", "#oooooooo#......", "#ooooo#####.....", "#oo#oo#.........",
        "#o#.#oo#........", "##..#oo#........", "#....#oo#.......", ".....####.......",
    };
    RgbaImage cursor(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const char c = kArrow[y][x];
            if (c == '#')
                cursor.Set(x, y, Rgb(24, 18, 10));
            else if (c == 'o')
                cursor.Set(x, y, y < 6 ? Rgb(255, 248, 220) : Rgb(250, 226, 150));
        }
    sink.WritePicture(kCursorPicture, cursor, GROUP_ALL, PictureStorage::Plain8);
}
