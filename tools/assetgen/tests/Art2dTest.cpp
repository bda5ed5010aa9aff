// The menus, the hunt display, the guns and the scenery: every file the game
// asks for is there, loads through the game's own image classes as the kind
// the game loads it as, has the sizes, frame counts and key pixels the game
// relies on, and sits on the screen where the tables place it without
// covering another clickable item.

#include "common/DataPath.h"
#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "gamedata/ScreenTables.h"
#include "generators/Generators.h"
#include "imaging/CDibPalette.h"
#include "sink/CAssetSink.h"
#include "sprites/CDibPacked.h"
#include "sprites/CDibTrle.h"
#include "sprites/LoadPicture.h"
#include "sprites/PictureFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

enum class Kind { Sprite, Surface };

// An item of the game's screen tables, with what the checks need of it.
struct Item {
    ScreenId screen;
    int place;
    const char* name;
    int frames;
    int x, y;
    bool clickable;
    Kind kind;
    bool fullScreen; // a menu's background: 640 × 480 at (0, 0)
};

// Every item as the game loads it. The trophy mounts are left out: they are
// placed at the room's slots when drawn, not where the table says.
std::vector<Item> ScreenItems()
{
    std::vector<Item> items;
    for (int screen = 0; screen < SCREEN_COUNT; ++screen) {
        const ScreenId id = ScreenId(screen);
        const ScreenTable table = ScreenTableFor(id);
        for (int i = 0; i < table.count; ++i) {
            const ItemDesc& desc = table.items[i];
            if (id == ScreenId::Trophies && i >= TrophyItem::FirstMount && i < TrophyItem::Previous)
                continue;
            items.push_back({id, i, desc.picture, desc.frames, desc.x, desc.y, desc.action != ItemAction::None,
                             table.kind == PICTURE_SURFACE ? Kind::Surface : Kind::Sprite,
                             i == 0 && desc.x == 0 && desc.y == 0 && table.kind == PICTURE_SPRITE});
        }
    }
    return items;
}

// A decoded 8-bit picture: palette indices, top row first.
struct Indexed {
    int width = 0, height = 0;
    uint32_t compression = 0;
    std::vector<uint8_t> index;
    PaletteEntry palette[256] = {};
    uint8_t At(int x, int y) const { return index[size_t(y) * width + x]; }
};

class Art2dTest : public ::testing::Test {
protected:
    // The pictures as the build generated them.
    static std::string PathOf(const std::string& name)
    {
        return (fs::path(VELDRA_GENERATED_DATA_DIR) / ToNativeSeparators(name)).string();
    }

    static Indexed Decode(const std::string& name)
    {
        Indexed out;
        CDibPacked* picture = new CDibPacked;
        if (LoadPicture(*picture, PictureSource::File(PathOf(name))) != DIB_OK) {
            picture->Release();
            return out;
        }
        out.compression = InfoCompression(picture->GetInfoHeader());
        if (picture->IsCompressed() && picture->Decompress() != DIB_OK) {
            picture->Release();
            return out;
        }
        uint8_t* bits = nullptr;
        int pitch = 0;
        if (picture->GetFormat() == PF_INDEX8 && picture->Lock(&bits, &pitch) == DIB_OK) {
            out.width = picture->GetWidth();
            out.height = picture->GetHeight();
            out.index.resize(size_t(out.width) * out.height);
            for (int y = 0; y < out.height; ++y)
                for (int x = 0; x < out.width; ++x)
                    out.index[size_t(y) * out.width + x] = bits[size_t(out.height - 1 - y) * pitch + x];
            picture->Unlock();
            picture->GetPalette()->GetEntries(out.palette, 0, 256);
        }
        picture->Release();
        return out;
    }

    // Loads the file as the game does: sprites as "TRLE" images, surfaces as
    // plain pictures. Returns the size, or {0, 0} when the load is refused.
    static std::pair<int, int> LoadAs(const std::string& name, Kind kind)
    {
        CDibPacked* image = kind == Kind::Sprite ? new CDibTrle : new CDibPacked;
        std::pair<int, int> size{0, 0};
        if (LoadPicture(*image, PictureSource::File(PathOf(name))) == DIB_OK && image->GetFormat() == PF_INDEX8)
            size = {image->GetWidth(), image->GetHeight()};
        image->Release();
        return size;
    }

};


struct Rect {
    int left, top, right, bottom;
    bool Overlaps(const Rect& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

TEST_F(Art2dTest, EveryScreenItemLoadsAsItsKindAndFitsTheScreen)
{
    for (const Item& item : ScreenItems()) {
        SCOPED_TRACE(item.name);
        const auto [w, h] = LoadAs(item.name, item.kind);
        ASSERT_GT(w, 0) << "not loadable as the game loads it";
        EXPECT_EQ(h % item.frames, 0) << "frames of unequal height";
        if (item.fullScreen) {
            EXPECT_EQ(w, 640);
            EXPECT_EQ(h, 480);
            continue;
        }
        EXPECT_LE(item.x + w, 640);
        EXPECT_LE(item.y + h / item.frames, 480);
        // Surfaces are keyed by their top-left pixel, which must be the key (index 0).
        if (item.kind == Kind::Surface) {
            const Indexed picture = Decode(item.name);
            EXPECT_EQ(picture.compression, 0u);
            EXPECT_EQ(picture.At(0, 0), 0);
        }
    }
}

TEST_F(Art2dTest, ClickableItemsOfAScreenDoNotOverlap)
{
    const std::vector<Item> all = ScreenItems();
    std::map<ScreenId, std::vector<std::pair<const Item*, Rect>>> screens;
    for (const Item& item : all) {
        if (!item.clickable)
            continue;
        const auto [w, h] = LoadAs(item.name, item.kind);
        screens[item.screen].push_back({&item, {item.x, item.y, item.x + w, item.y + h / item.frames}});
    }
    for (const auto& [screen, items] : screens)
        for (size_t i = 0; i < items.size(); ++i)
            for (size_t j = i + 1; j < items.size(); ++j)
                EXPECT_FALSE(items[i].second.Overlaps(items[j].second))
                    << items[i].first->name << " overlaps " << items[j].first->name;
}

TEST_F(Art2dTest, TwoFrameItemsLightUpAndNamePlatesCoverTheBlankOne)
{
    for (const Item& item : ScreenItems()) {
        if (item.frames != 2)
            continue;
        SCOPED_TRACE(item.name);
        const Indexed picture = Decode(item.name);
        ASSERT_GT(picture.width, 0);
        const int half = picture.height / 2;
        int differing = 0;
        for (int y = 0; y < half; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const PaletteEntry a = picture.palette[picture.At(x, y)], b = picture.palette[picture.At(x, y + half)];
                differing += a.red != b.red || a.green != b.green || a.blue != b.blue;
            }
        EXPECT_GT(differing, picture.width) << "the lit frame looks like the plain one";
    }
    // A chosen name plate is drawn over the blank one: it must cover it.
    const auto quarryBlank = LoadAs(ItemOf(ScreenId::Quarry, QuarryItem::BlankPlate).picture, Kind::Sprite);
    for (int kind = 0; kind < ANIMAL_KIND_COUNT; ++kind)
        EXPECT_EQ(LoadAs(ItemOf(ScreenId::Quarry, QuarryItem::FirstPlate + kind).picture, Kind::Sprite), quarryBlank);
    const auto weaponBlank = LoadAs(ItemOf(ScreenId::Weapon, WeaponItem::BlankPlate).picture, Kind::Sprite);
    for (int weapon = 0; weapon < WEAPON_COUNT; ++weapon)
        EXPECT_EQ(LoadAs(ItemOf(ScreenId::Weapon, WeaponItem::FirstPlate + weapon).picture, Kind::Sprite), weaponBlank);
}

TEST_F(Art2dTest, TrophiesFitEverySlotAboveTheButtons)
{
    const ItemDesc& exit = ItemOf(ScreenId::Trophies, TrophyItem::Exit);
    for (int kind = ANIMAL_ELEPHANT; kind <= ANIMAL_ZEBRA; ++kind) {
        const char* name = ItemOf(ScreenId::Trophies, TrophyItem::FirstMount + kind - ANIMAL_ELEPHANT).picture;
        SCOPED_TRACE(name);
        const auto [w, h] = LoadAs(name, Kind::Sprite);
        ASSERT_GT(w, 0);
        for (int slot = 0; slot < TROPHY_SLOTS; ++slot) {
            EXPECT_LE(kTrophySlotX[slot] + w, 640);
            EXPECT_LE(kTrophySlotY[slot] + h, exit.y) << "reaches the exit button";
            if (slot + 1 < TROPHY_SLOTS) {
                EXPECT_LE(kTrophySlotX[slot] + w, kTrophySlotX[slot + 1]) << "overlaps the next trophy";
            }
        }
    }
}

TEST_F(Art2dTest, CompassStripTurnsThroughTwelveDirections)
{
    const ItemDesc& compass = ItemOf(ScreenId::Hunt, HuntItem::Compass);
    const ItemDesc& label = ItemOf(ScreenId::Hunt, HuntItem::DirectionLabel);
    const Indexed strip = Decode(compass.picture);
    ASSERT_GT(strip.width, 0);
    ASSERT_EQ(compass.frames, 12);
    ASSERT_EQ(strip.height % compass.frames, 0);
    const int frame = strip.height / compass.frames;
    EXPECT_LE(compass.y + frame, label.y) << "the dial would run into its label";
    std::set<std::vector<uint8_t>> distinct;
    for (int f = 0; f < compass.frames; ++f)
        distinct.insert(std::vector<uint8_t>(strip.index.begin() + std::ptrdiff_t(f) * frame * strip.width,
                                             strip.index.begin() + std::ptrdiff_t(f + 1) * frame * strip.width));
    EXPECT_EQ(distinct.size(), 12u);
}

TEST_F(Art2dTest, CursorRadarMarksAndSmokeCarryTheirKeys)
{
    const Indexed cursor = Decode(kCursorPicture);
    ASSERT_EQ(cursor.width, 16);
    ASSERT_EQ(cursor.height, 16);
    EXPECT_EQ(cursor.compression, 0u);
    EXPECT_EQ(cursor.At(15, 15), 0);
    EXPECT_NE(cursor.At(0, 0), 0) << "the hot spot shows the arrow's tip";

    const Indexed marker = Decode(kRadarMarkPicture);
    ASSERT_EQ(marker.width, 5);
    ASSERT_EQ(marker.height, 8);
    EXPECT_EQ(marker.At(0, 0), 0);
    EXPECT_NE(marker.At(2, 0), 0);

    // The dot is drawn without a key: every pixel shows.
    const Indexed dot = Decode(kRadarDotPicture);
    ASSERT_EQ(dot.width, 4);
    ASSERT_EQ(dot.height, 4);
    for (uint8_t i : dot.index)
        EXPECT_NE(i, 0);

    std::set<std::string> puffs;
    for (const WeaponDesc& weapon : kWeapons)
        if (weapon.smokePicture)
            puffs.insert(weapon.smokePicture);
    EXPECT_EQ(puffs.size(), 2u);
    for (const std::string& name : puffs) {
        const Indexed smoke = Decode(name);
        ASSERT_GT(smoke.width, 0) << name;
        EXPECT_EQ(smoke.compression, 0u) << name;
        EXPECT_EQ(smoke.At(0, 0), 0) << name;
        EXPECT_NE(smoke.At(smoke.width / 2, smoke.height / 2), 0) << name;
    }
}

TEST_F(Art2dTest, BinocularLensesLieInsideTheMagnifiedRectangle)
{
    const Indexed bino = Decode(kBinocularPicture);
    ASSERT_EQ(bino.width, 640);
    ASSERT_GE(bino.height, 440) << "at rest (row 40) it must reach the bottom of the view";
    EXPECT_EQ(bino.compression, 0u);
    EXPECT_EQ(bino.At(0, 0), 0);
    const uint8_t lens = bino.At(200, 200);
    ASSERT_NE(lens, 0);
    // The lens colour appears only where the magnified view is drawn.
    int lensPixels = 0;
    for (int y = 0; y < bino.height; ++y)
        for (int x = 0; x < bino.width; ++x)
            if (bino.At(x, y) == lens) {
                ++lensPixels;
                ASSERT_TRUE(x >= 120 && x < 520 && y >= 110 && y < 290) << "lens colour at " << x << "," << y;
            }
    EXPECT_GT(lensPixels, 30000);
    // And no other entry carries the same colour (it is the destination key).
    for (int i = 1; i < 256; ++i) {
        if (i == lens || !std::count(bino.index.begin(), bino.index.end(), uint8_t(i)))
            continue;
        EXPECT_FALSE(bino.palette[i].red == bino.palette[lens].red && bino.palette[i].green == bino.palette[lens].green &&
                     bino.palette[i].blue == bino.palette[lens].blue);
    }
}

TEST_F(Art2dTest, GunsRestOnTheBottomWithTheMuzzleAtTheAimPoint)
{
    for (const WeaponDesc& gun : kWeapons) {
        SCOPED_TRACE(gun.gunPicture);
        const auto [w, h] = LoadAs(gun.gunPicture, Kind::Sprite);
        ASSERT_GT(w, 0);
        ASSERT_EQ(h % gun.frames, 0);
        EXPECT_EQ(h / gun.frames, 480 - gun.restingY);
        EXPECT_LE(gun.gunX + w, 640);
        const Indexed strip = Decode(gun.gunPicture);
        const int ax = gun.aimX - gun.gunX, ay = gun.aimY - gun.restingY;
        // Resting frame: the gun reaches the aim point and nothing of it
        // stands above it; it also reaches the bottom row.
        int nearest = 1 << 30, highest = h;
        bool bottom = false;
        for (int y = 0; y < h / gun.frames; ++y)
            for (int x = 0; x < w; ++x)
                if (strip.At(x, y)) {
                    nearest = std::min(nearest, (x - ax) * (x - ax) + (y - ay) * (y - ay));
                    highest = std::min(highest, y);
                    bottom = bottom || y == h / gun.frames - 1;
                }
        EXPECT_LE(nearest, 8 * 8);
        EXPECT_GE(highest, ay - 12);
        EXPECT_TRUE(bottom);
    }
}

TEST_F(Art2dTest, GroundsArePlainTileable256Squares)
{
    for (int scenario = SCENARIO_DESERT; scenario <= SCENARIO_GRASSLAND; ++scenario) {
        const char* name = kScenarios[scenario].ground;
        SCOPED_TRACE(name);
        const Indexed ground = Decode(name);
        ASSERT_EQ(ground.width, 256);
        ASSERT_EQ(ground.height, 256);
        EXPECT_EQ(ground.compression, 0u) << "the renderer reads the texels directly";
        EXPECT_EQ(std::count(ground.index.begin(), ground.index.end(), uint8_t(0)), 0) << "no transparent texels";
        // Across the wrap the texture changes no more than between any two
        // neighbouring columns or rows.
        auto difference = [&](int x0, int y0, int x1, int y1) {
            const PaletteEntry a = ground.palette[ground.At(x0, y0)], b = ground.palette[ground.At(x1, y1)];
            return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
        };
        double inside = 0, seamX = 0, seamY = 0;
        for (int i = 0; i < 256; ++i) {
            inside += difference(127, i, 128, i) + difference(i, 127, i, 128);
            seamX += difference(255, i, 0, i);
            seamY += difference(i, 255, i, 0);
        }
        EXPECT_LT(seamX, inside);
        EXPECT_LT(seamY, inside);
    }
}

TEST_F(Art2dTest, PanoramasFillTheSkyAndMeetSeamlessly)
{
    for (int scenario = SCENARIO_DESERT; scenario <= SCENARIO_GRASSLAND; ++scenario) {
        const char* name = kScenarios[scenario].background;
        SCOPED_TRACE(name);
        const Indexed panorama = Decode(name);
        // A quarter of the width fills the 640-pixel view; drawn at twice its
        // height it covers the sky up to the highest horizon row (470).
        ASSERT_EQ(panorama.width, 4 * 640);
        ASSERT_GE(2 * panorama.height, 470);
        EXPECT_EQ(panorama.compression, 0u);
        EXPECT_EQ(std::count(panorama.index.begin(), panorama.index.end(), uint8_t(0)), 0);
        auto difference = [&](int x0, int x1, int y) {
            const PaletteEntry a = panorama.palette[panorama.At(x0, y)], b = panorama.palette[panorama.At(x1, y)];
            return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
        };
        double seam = 0, inside = 0;
        for (int y = 0; y < panorama.height; ++y) {
            seam += difference(panorama.width - 1, 0, y);
            inside += difference(1279, 1280, y);
        }
        EXPECT_LE(seam, inside * 2 + panorama.height * 3);
        // Sky above, land at the horizon: the top row is bluer than the bottom one.
        const PaletteEntry top = panorama.palette[panorama.At(100, 0)];
        const PaletteEntry bottom = panorama.palette[panorama.At(100, panorama.height - 1)];
        EXPECT_GT(top.blue - top.red, bottom.blue - bottom.red);
    }
}

} // namespace
