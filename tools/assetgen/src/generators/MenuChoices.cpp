#include "gamedata/HuntTables.h"
#include "gamedata/ScreenTables.h"
#include "generators/MenuParts.h"
#include "models/HudGunModels.h"
#include "paint/Paint.h"
#include "paint/PaintAnimals.h"
#include "paint/PaintNoise.h"
#include "paint/PaintPanels.h"
#include "paint/SceneryPainter.h"
#include "paint/TextPainter.h"
#include "sink/CAssetSink.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// The quarry cards, in the kinds' order as the screen's table lists them:
// placed by the table, sized so that no two overlap; the narrow ones show
// the animal's head.
struct QuarryCard {
    int kind;
    int w, h;
    bool headOnly;
};

constexpr QuarryCard kQuarryCards[] = {
    {ART_ELEPHANT, 94, 160, true}, {ART_GIRAFFE, 120, 196, false}, {ART_HIPPO, 140, 110, false},
    {ART_LION, 74, 100, true},     {ART_LIONESS, 150, 110, false}, {ART_RHINO, 122, 90, false},
    {ART_ZEBRA, 124, 100, false},
};
static_assert(ART_ELEPHANT == 0 && ART_ZEBRA == ANIMAL_KIND_COUNT - 1, "the cards follow the kinds' table");

// What the plate says of a quarry is what the hunt's rules do with it: its
// size and speed and how many of its herd bag it, from the kinds' table;
// and what every kind does alike, since all share the same senses: it runs
// from a hunter who comes near and charges one whose scent the wind brings.
struct QuarryBlurb {
    std::string facts, senses;
};

QuarryBlurb BlurbOf(int kind)
{
    const AnimalKindDesc& desc = kAnimalKinds[kind];
    char facts[96];
    std::snprintf(facts, sizeof facts, "Size %d, speed %d. Bag %d of %d.", int(desc.size), desc.speed,
                  desc.killsToBag, desc.count);
    return {facts, "Flees you, or charges on your scent."};
}

constexpr int kPlateW = 300, kPlateH = 110; // the quarry's name plates

RgbaImage PaintNamePlate(CTextPainter& text, int w, int h, const std::string& name, const std::string& line1,
                         const std::string& line2)
{
    RgbaImage image(w, h);
    PaintLeatherPanel(image, 0, 0, w, h, 10, false);
    if (name.empty())
        return image;
    PaintLabel(text, image, name, 10, 8, w - 20, 42, 30, true, true);
    const TextStyle style = NoteTextStyle(13);
    text.DrawCentred(image, line1, 10, 52, w - 20, 22, style);
    if (!line2.empty())
        text.DrawCentred(image, line2, 10, 76, w - 20, 22, style);
    return image;
}

// The previous and next arrows of a choice screen.
void GenerateArrows(CAssetSink& sink, CTextPainter& text, ScreenId screen, int previous, int next,
                    const char* nextLabel = "NEXT")
{
    sink.WritePicture(ItemOf(screen, previous).picture, PaintArrowButton(text, "BACK", 62, 46, false, 11), GROUP_MENU);
    sink.WritePicture(ItemOf(screen, next).picture, PaintArrowButton(text, nextLabel, 50, 47, true, 12), GROUP_MENU);
}

// Weapon pictures, in the weapon table's order: each gun seen from its left
// side, a little from above, scaled to fill its rack slot. The plate states
// the table's magazine and hits.
struct WeaponCard {
    int weapon;
    int w, h;
    const char* name;
    double pitch; // degrees the view looks down on the gun
    double yaw;   // degrees the barrel turns towards the right of the picture
};

constexpr WeaponCard kWeaponCards[] = {
    {WEAPON_ASSAULT_RIFLE, 290, 88, "ASSAULT RIFLE", 12, 90},
    {WEAPON_CROSSBOW, 300, 112, "CROSSBOW", 60, 70},
    {WEAPON_HANDGUN, 140, 76, "HANDGUN", 12, 90},
    {WEAPON_MUZZLE_LOADER, 296, 52, "MUZZLE-LOADER", 12, 90},
    {WEAPON_RIFLE, 300, 68, "RIFLE", 12, 90},
    {WEAPON_SHOTGUN, 300, 60, "SHOTGUN", 12, 90},
};

constexpr int kWeaponPlateW = 240, kWeaponPlateH = 124;

void PaintGunSide(RgbaImage& image, int weapon, double pitchDegrees, double yawDegrees, int x, int y, int w, int h)
{
    GunPose pose;
    pose.stock = true;
    Mesh mesh = BuildGunMesh(weapon, pose);
    // Turn the barrel to point right, then tip the gun towards the viewer.
    mesh.Transform({0, 0, 0}, 0, yawDegrees * M_PI / 180, {0, 0, 0});
    // Looking down: rotate about the screen's x axis (y towards z).
    const double p = pitchDegrees * M_PI / 180, cp = std::cos(p), sp = std::sin(p);
    for (MeshFace& face : mesh.faces)
        for (Vec3& v : face.points)
            v = {v.x, v.y * cp - v.z * sp, v.y * sp + v.z * cp};
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const MeshFace& face : mesh.faces)
        for (const Vec3& v : face.points) {
            minX = std::min(minX, v.x);
            maxX = std::max(maxX, v.x);
            minY = std::min(minY, v.y);
            maxY = std::max(maxY, v.y);
        }
    MeshCamera camera;
    camera.perspective = false;
    camera.scale = std::min((w - 8) / (maxX - minX), (h - 6) / (maxY - minY));
    camera.centreX = (w - (maxX + minX) * camera.scale) / 2;
    camera.centreY = (h - (maxY + minY) * camera.scale) / 2;
    const RgbaImage gun = RenderMesh(mesh, camera, w, h);
    image.Paste(gun, x, y);
}

} // namespace

void GenerateQuarryMenu(CAssetSink& sink, CTextPainter& text)
{
    RgbaImage back = PaintMenuBackdrop(text, "CHOOSE YOUR QUARRY", 0);
    TextStyle hint;
    hint.size = 14;
    hint.colour = Rgb(250, 240, 214);
    hint.outline = 1;
    hint.outlineColour = Rgb(30, 20, 10);
    text.DrawCentred(back, "Click the animal you mean to hunt.", 300, 62, 330, 24, hint);
    text.DrawCentred(back, "Shoot anything else and you go to jail!", 300, 84, 330, 24, hint);
    sink.WritePicture(ItemOf(ScreenId::Quarry, QuarryItem::Background).picture, back, GROUP_MENU);
    for (const QuarryCard& card : kQuarryCards) {
        const AnimalWindow window = card.headOnly ? AnimalHead(card.kind) : WholeAnimal(card.kind);
        sink.WritePicture(ItemOf(ScreenId::Quarry, QuarryItem::FirstChoice + card.kind).picture,
                          PaintChoiceCard(text, card.w, card.h, AnimalName(card.kind),
                                          [&](RgbaImage& image, int x, int y, int w, int h, bool) {
                                              PaintAnimal(image, card.kind, x, y, w, h, window);
                                          }),
                          GROUP_MENU);
        sink.WritePicture(ItemOf(ScreenId::Quarry, QuarryItem::FirstPlate + card.kind).picture,
                          PaintNamePlate(text, kPlateW, kPlateH, AnimalName(card.kind), BlurbOf(card.kind).facts,
                                         BlurbOf(card.kind).senses),
                          GROUP_MENU);
    }
    sink.WritePicture(ItemOf(ScreenId::Quarry, QuarryItem::BlankPlate).picture,
                      PaintNamePlate(text, kPlateW, kPlateH, "", "", ""), GROUP_MENU);
    GenerateArrows(sink, text, ScreenId::Quarry, QuarryItem::Previous, QuarryItem::Next);
}

void GenerateWeaponMenu(CAssetSink& sink, CTextPainter& text)
{
    // A wooden gun room: planks on the wall, a rack on the right.
    RgbaImage back(640, 480);
    for (int plank = 0; plank < 640 / 40; ++plank)
        PaintWoodBoard(back, plank * 40, -8, 40, 496, false, 300 + uint32_t(plank));
    FillPolygon(back, RoundedRectContour(316, -10, 324, 500, 12), Rgb(40, 52, 36));
    FillPolygon(back, RoundedRectContour(320, -10, 316, 500, 10), [](int x, int y) {
        return ShadeColour(Rgb(60, 82, 52), 0.85 + 0.3 * HashUnit(uint32_t(x / 2), uint32_t(y / 2), 9) * 0.5);
    });
    PaintLeatherPanel(back, 28, 26, 276, 222, 12, false);
    PaintLabel(text, back, "CHOOSE YOUR", 40, 40, 252, 40, 28, true, true);
    PaintLabel(text, back, "WEAPON", 40, 80, 252, 46, 36, true, true);
    const TextStyle hint = NoteTextStyle(13);
    text.DrawCentred(back, "Bigger calibres bring game", 40, 140, 252, 22, hint);
    text.DrawCentred(back, "down with fewer hits.", 40, 160, 252, 22, hint);
    text.DrawCentred(back, "Magazines hold few rounds:", 40, 190, 252, 22, hint);
    text.DrawCentred(back, "lower the gun to reload.", 40, 210, 252, 22, hint);
    sink.WritePicture(ItemOf(ScreenId::Weapon, WeaponItem::Background).picture, back, GROUP_MENU);

    for (const WeaponCard& card : kWeaponCards) {
        const WeaponDesc& weapon = kWeapons[card.weapon];
        RgbaImage strip(card.w, 2 * card.h);
        for (int frame = 0; frame < 2; ++frame) {
            const bool lit = frame == 1;
            const int top = frame * card.h;
            FillPolygon(strip, RoundedRectContour(0, top, card.w, card.h, 8), lit ? Rgb(255, 196, 60) : Rgb(28, 36, 24));
            FillPolygon(strip, RoundedRectContour(2, top + 2, card.w - 4, card.h - 4, 6),
                        lit ? Rgb(120, 140, 96) : Rgb(52, 70, 46));
            PaintGunSide(strip, card.weapon, card.pitch, card.yaw, 2, top + 2, card.w - 4, card.h - 4);
        }
        sink.WritePicture(ItemOf(ScreenId::Weapon, WeaponItem::FirstChoice + card.weapon).picture, strip, GROUP_MENU);
        RgbaImage plate(kWeaponPlateW, kWeaponPlateH);
        PaintLeatherPanel(plate, 0, 0, kWeaponPlateW, kWeaponPlateH, 10, false);
        PaintLabel(text, plate, card.name, 10, 6, kWeaponPlateW - 20, 40, 26, true, true);
        const TextStyle line = NoteTextStyle(14);
        const std::string rounds = weapon.magazine == 1 ? "1 round" : std::to_string(weapon.magazine) + " rounds";
        text.Draw(plate, "Magazine", 18, 68, line);
        text.Draw(plate, rounds, kWeaponPlateW - 18 - text.Measure(rounds, FontFace::Sans, 14), 68, line);
        text.Draw(plate, "Power", 18, 98, line);
        // Five pips: two hits to bring game down fills them all.
        const int power = std::clamp(10 / weapon.hitsNeeded, 1, 5);
        for (int i = 0; i < 5; ++i)
            FillEllipse(plate, kWeaponPlateW - 98 + i * 18, 93, 6, 6, i < power ? Rgb(255, 190, 60) : Rgb(90, 76, 52));
        sink.WritePicture(ItemOf(ScreenId::Weapon, WeaponItem::FirstPlate + card.weapon).picture, plate, GROUP_MENU);
    }
    RgbaImage empty(kWeaponPlateW, kWeaponPlateH);
    PaintLeatherPanel(empty, 0, 0, kWeaponPlateW, kWeaponPlateH, 10, false);
    sink.WritePicture(ItemOf(ScreenId::Weapon, WeaponItem::BlankPlate).picture, empty, GROUP_MENU);
    GenerateArrows(sink, text, ScreenId::Weapon, WeaponItem::Previous, WeaponItem::Next);
}

void GenerateScenarioMenu(CAssetSink& sink, CTextPainter& text)
{
    RgbaImage back = PaintMenuBackdrop(text, "", 2);
    PaintLeatherPanel(back, 110, 40, 420, 150, 14, false);
    PaintLabel(text, back, "CHOOSE THE", 120, 52, 400, 44, 30, true, true);
    PaintLabel(text, back, "HUNTING GROUND", 120, 94, 400, 50, 38, true, true);
    const TextStyle hint = NoteTextStyle(14);
    text.DrawCentred(back, "Then press HUNT to set out.", 120, 148, 400, 24, hint);
    sink.WritePicture(ItemOf(ScreenId::Scenario, ScenarioItem::Background).picture, back, GROUP_MENU);
    const struct {
        ScenarioIndex place;
        Scenario scenario;
        const char* name;
    } cards[] = {
        {SCENARIO_DESERT, Scenario::Desert, "DESERT"},
        {SCENARIO_PLAINS, Scenario::Plains, "PLAINS"},
        {SCENARIO_GRASSLAND, Scenario::Grass, "GRASSLAND"},
    };
    for (const auto& card : cards) {
        const RgbaImage view = PaintLandscapeView(card.scenario, 160, 150, 70, 40);
        RgbaImage strip(170, 2 * 176);
        for (int frame = 0; frame < 2; ++frame) {
            PaintCardFrame(text, strip, frame * 176, 170, 176, "", frame == 1);
            for (int y = 0; y < 140; ++y)
                for (int x = 0; x < 160; ++x)
                    strip.Set(5 + x, frame * 176 + 5 + y, view.Get(x, y + 5));
            PaintLabel(text, strip, card.name, 6, frame * 176 + 146, 158, 26, 18, frame == 1, true);
        }
        sink.WritePicture(ItemOf(ScreenId::Scenario, ScenarioItem::FirstChoice + int(card.place - SCENARIO_DESERT)).picture,
                          strip, GROUP_MENU);
    }
    GenerateArrows(sink, text, ScreenId::Scenario, ScenarioItem::Previous, ScenarioItem::Next, "HUNT");
}
