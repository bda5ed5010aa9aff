// The menus, the hunt display, the guns and the scenery: every file the game
// asks for is there, loads through the game's own image classes as the kind
// the game loads it as, has the sizes, frame counts and key pixels the game
// relies on, sits on the screen where the tables place it without covering
// another clickable item, and a second run gives the same bytes.

#include "common/DataPath.h"
#include "generators/Generators.h"
#include "imaging/CDibPalette.h"
#include "sink/CAssetSink.h"
#include "sprites/CDibPacked.h"
#include "sprites/CDibTrle.h"
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

struct Item {
    int screen;
    const char* name;
    int frames;
    int x, y;
    bool clickable;
    Kind kind;
};

constexpr int kFullScreen = -1; // a background: 640 × 480 at (0, 0)

// The screen tables: screen, picture, frames, position, whether it reacts to
// the mouse, and how the game loads it.
const Item kItems[] = {
    {0, "menu\\mback.bmp", 1, kFullScreen, 0, false, Kind::Sprite},
    {0, "menu\\mstart.bmp", 2, 42, 145, true, Kind::Sprite},
    {0, "menu\\mtrophy.bmp", 2, 42, 212, true, Kind::Sprite},
    {0, "menu\\mhelp.bmp", 2, 80, 273, true, Kind::Sprite},
    {0, "menu\\mexit.bmp", 2, 68, 406, true, Kind::Sprite},
    {0, "menu\\mcredit.bmp", 2, 86, 342, true, Kind::Sprite},
    {1, "menu\\hback.bmp", 1, kFullScreen, 0, false, Kind::Sprite},
    {1, "menu\\hEleph.bmp", 2, 27, 9, true, Kind::Sprite},
    {1, "menu\\hGiraf.bmp", 2, 124, 6, true, Kind::Sprite},
    {1, "menu\\hHippo.bmp", 2, 158, 206, true, Kind::Sprite},
    {1, "menu\\hLionm.bmp", 2, 67, 375, true, Kind::Sprite},
    {1, "menu\\hLionf.bmp", 2, 142, 320, true, Kind::Sprite},
    {1, "menu\\hRhino.bmp", 2, 1, 175, true, Kind::Sprite},
    {1, "menu\\hZebra.bmp", 2, 15, 269, true, Kind::Sprite},
    {1, "menu\\hPrev.bmp", 2, 0, 434, true, Kind::Sprite},
    {1, "menu\\hNext.bmp", 2, 590, 433, true, Kind::Sprite},
    {1, "menu\\hEmpty.bmp", 1, 305, 268, false, Kind::Sprite},
    {1, "menu\\hnEleph.bmp", 1, 305, 268, false, Kind::Sprite},
    {1, "menu\\hnGiraf.bmp", 1, 305, 268, false, Kind::Sprite},
    {1, "menu\\hnHippo.bmp", 1, 305, 268, false, Kind::Sprite},
    {1, "menu\\hnLionm.bmp", 1, 305, 268, false, Kind::Sprite},
    {1, "menu\\hnLionf.bmp", 1, 305, 268, false, Kind::Sprite},
    {1, "menu\\hnRhino.bmp", 1, 305, 268, false, Kind::Sprite},
    {1, "menu\\hnZebra.bmp", 1, 305, 268, false, Kind::Sprite},
    {2, "menu\\gCompass.bmp", 12, 540, 0, false, Kind::Sprite},
    {2, "menu\\gCompass.bmp", 12, 540, 107, false, Kind::Sprite},
    {2, "menu\\gbino.bmp", 2, 560, 225, true, Kind::Sprite},
    {2, "menu\\gfoot.bmp", 2, 545, 273, true, Kind::Sprite},
    {2, "menu\\gtarget.bmp", 2, 540, 360, true, Kind::Sprite},
    {2, "menu\\goption.bmp", 2, 514, 419, true, Kind::Sprite},
    {2, "menu\\gDir.bmp", 1, 545, 76, false, Kind::Sprite},
    {2, "menu\\gWind.bmp", 1, 535, 183, false, Kind::Sprite},
    {3, "menu\\opback.bmp", 1, 157, 118, false, Kind::Sprite},
    {3, "menu\\opresume.bmp", 2, 215, 144, true, Kind::Sprite},
    {3, "menu\\opmain.bmp", 2, 195, 198, true, Kind::Sprite},
    {3, "menu\\opexit.bmp", 2, 235, 292, true, Kind::Sprite},
    {4, "menu\\weBack.bmp", 1, kFullScreen, 0, false, Kind::Sprite},
    {4, "menu\\weAk47.bmp", 2, 327, 180, true, Kind::Sprite},
    {4, "menu\\weCross.bmp", 2, 330, 0, true, Kind::Sprite},
    {4, "menu\\weHand.bmp", 2, 437, 400, true, Kind::Sprite},
    {4, "menu\\weMuz.bmp", 2, 335, 273, true, Kind::Sprite},
    {4, "menu\\weRifle.bmp", 2, 325, 328, true, Kind::Sprite},
    {4, "menu\\weShot.bmp", 2, 324, 117, true, Kind::Sprite},
    {4, "menu\\wePrev.bmp", 2, 0, 434, true, Kind::Sprite},
    {4, "menu\\weNext.bmp", 2, 590, 433, true, Kind::Sprite},
    {4, "menu\\weEmpty.bmp", 1, 54, 264, false, Kind::Sprite},
    {4, "menu\\wenAk47.bmp", 1, 54, 264, false, Kind::Sprite},
    {4, "menu\\wenCross.bmp", 1, 54, 264, false, Kind::Sprite},
    {4, "menu\\wenHand.bmp", 1, 54, 264, false, Kind::Sprite},
    {4, "menu\\wenMuz.bmp", 1, 54, 264, false, Kind::Sprite},
    {4, "menu\\wenRifle.bmp", 1, 54, 264, false, Kind::Sprite},
    {4, "menu\\wenShot.bmp", 1, 54, 264, false, Kind::Sprite},
    {5, "menu\\scback.bmp", 1, kFullScreen, 0, false, Kind::Sprite},
    {5, "menu\\ScDesert.bmp", 2, 244, 249, true, Kind::Sprite},
    {5, "menu\\scPlains.bmp", 2, 424, 246, true, Kind::Sprite},
    {5, "menu\\scGrass.bmp", 2, 50, 250, true, Kind::Sprite},
    {5, "menu\\btnPrev.bmp", 2, 0, 434, true, Kind::Sprite},
    {5, "menu\\btnNext.bmp", 2, 590, 433, true, Kind::Sprite},
    {6, "menu\\EnEleph.bmp", 1, 145, 75, false, Kind::Surface},
    {7, "menu\\EnGiraf.bmp", 1, 145, 75, false, Kind::Surface},
    {8, "menu\\EnHippo.bmp", 1, 145, 75, false, Kind::Surface},
    {9, "menu\\EnLionm.bmp", 1, 145, 75, false, Kind::Surface},
    {10, "menu\\EnJail.bmp", 1, 0, 0, false, Kind::Surface},
    {11, "menu\\EnHunted.bmp", 1, 0, 0, false, Kind::Surface},
    {12, "menu\\EnLost.bmp", 1, 0, 0, false, Kind::Surface},
    {13, "menu\\Trback.bmp", 1, kFullScreen, 0, false, Kind::Sprite},
    {13, "menu\\trPrev.bmp", 2, 0, 434, true, Kind::Sprite},
    {13, "menu\\trNext.bmp", 2, 590, 433, true, Kind::Sprite},
    {13, "menu\\trExit.bmp", 2, 271, 425, true, Kind::Sprite},
    {14, "menu\\Crback.bmp", 1, kFullScreen, 0, false, Kind::Sprite},
    {14, "menu\\crExit.bmp", 2, 245, 408, true, Kind::Sprite},
    {15, "menu\\EnLionf.bmp", 1, 145, 75, false, Kind::Surface},
    {16, "menu\\EnRhino.bmp", 1, 145, 75, false, Kind::Surface},
    {17, "menu\\EnZebra.bmp", 1, 145, 75, false, Kind::Surface},
};

// Trophy mounts, placed at one of three slots on the wall when drawn.
const char* const kTrophies[] = {"menu\\trEleph.bmp", "menu\\trGiraf.bmp", "menu\\TrHippo.bmp", "menu\\TrLionm.bmp",
                                 "menu\\TrLionf.bmp", "menu\\TrRhino.bmp", "menu\\TrZebra.bmp"};
const int kSlotX[3] = {34, 236, 439}, kSlotY[3] = {97, 53, 93};

// Gun strips: frames, where the resting frame is drawn, the aim point.
struct Gun {
    const char* name;
    int frames, x, restY, aimX, aimY;
};
const Gun kGuns[] = {
    {"menu\\gun4.bmp", 6, 192, 180, 322, 297}, {"menu\\gun5.bmp", 14, 0, 200, 320, 247},
    {"menu\\gun2.bmp", 4, 192, 180, 326, 242}, {"menu\\gun6.bmp", 7, 220, 80, 319, 267},
    {"menu\\gun3.bmp", 4, 160, 80, 321, 246},  {"menu\\gun1.bmp", 5, 192, 120, 320, 265},
};

const char* const kPanoramas[] = {"env\\back10.bmp", "env\\back20.bmp", "env\\back30.bmp"};
const char* const kGrounds[] = {"env\\grass10.bmp", "env\\grass20.bmp", "env\\grass30.bmp"};

fs::path MakeFolder(const char* tag)
{
    const fs::path folder = fs::temp_directory_path() / (std::string("art2d-") + tag + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    return folder;
}

void GenerateInto(const fs::path& folder)
{
    CAssetSink sink(folder.string(), "");
    GenerateScenery(sink);
    GenerateMenus(sink);
    GenerateHud(sink);
    GeneratePalettes(sink);
    ASSERT_EQ(sink.Failures(), 0);
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
    static void SetUpTestSuite()
    {
        s_folder = new fs::path(MakeFolder("first"));
        GenerateInto(*s_folder);
    }
    static void TearDownTestSuite()
    {
        fs::remove_all(*s_folder);
        delete s_folder;
        s_folder = nullptr;
    }

    static std::string PathOf(const std::string& name) { return (*s_folder / ToNativeSeparators(name)).string(); }

    static Indexed Decode(const std::string& name)
    {
        Indexed out;
        CDibPacked* picture = new CDibPacked;
        if (picture->Load(PathOf(name).c_str(), SRC_FILE) != DIB_OK) {
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
        if (image->Load(PathOf(name).c_str(), SRC_FILE) == DIB_OK && image->GetFormat() == PF_INDEX8)
            size = {image->GetWidth(), image->GetHeight()};
        image->Release();
        return size;
    }

    static fs::path* s_folder;
};

fs::path* Art2dTest::s_folder = nullptr;

struct Rect {
    int left, top, right, bottom;
    bool Overlaps(const Rect& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

TEST_F(Art2dTest, EveryScreenItemLoadsAsItsKindAndFitsTheScreen)
{
    for (const Item& item : kItems) {
        SCOPED_TRACE(item.name);
        const auto [w, h] = LoadAs(item.name, item.kind);
        ASSERT_GT(w, 0) << "not loadable as the game loads it";
        EXPECT_EQ(h % item.frames, 0) << "frames of unequal height";
        if (item.x == kFullScreen) {
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
    std::map<int, std::vector<std::pair<const Item*, Rect>>> screens;
    for (const Item& item : kItems) {
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
    for (const Item& item : kItems) {
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
    const auto blank = LoadAs("menu\\hEmpty.bmp", Kind::Sprite);
    for (const char* plate : {"menu\\hnEleph.bmp", "menu\\hnZebra.bmp"})
        EXPECT_EQ(LoadAs(plate, Kind::Sprite), blank);
    EXPECT_EQ(LoadAs("menu\\wenShot.bmp", Kind::Sprite), LoadAs("menu\\weEmpty.bmp", Kind::Sprite));
}

TEST_F(Art2dTest, TrophiesFitEverySlotAboveTheButtons)
{
    for (const char* name : kTrophies) {
        SCOPED_TRACE(name);
        const auto [w, h] = LoadAs(name, Kind::Sprite);
        ASSERT_GT(w, 0);
        for (int slot = 0; slot < 3; ++slot) {
            EXPECT_LE(kSlotX[slot] + w, 640);
            EXPECT_LE(kSlotY[slot] + h, 425) << "reaches the exit button";
            if (slot < 2) {
                EXPECT_LE(kSlotX[slot] + w, kSlotX[slot + 1]) << "overlaps the next trophy";
            }
        }
    }
}

TEST_F(Art2dTest, CompassStripTurnsThroughTwelveDirections)
{
    const Indexed strip = Decode("menu\\gCompass.bmp");
    ASSERT_GT(strip.width, 0);
    ASSERT_EQ(strip.height % 12, 0);
    const int frame = strip.height / 12;
    EXPECT_LE(frame, 76) << "the dial would run into its label at row 76";
    std::set<std::vector<uint8_t>> distinct;
    for (int f = 0; f < 12; ++f)
        distinct.insert(std::vector<uint8_t>(strip.index.begin() + std::ptrdiff_t(f) * frame * strip.width,
                                             strip.index.begin() + std::ptrdiff_t(f + 1) * frame * strip.width));
    EXPECT_EQ(distinct.size(), 12u);
}

TEST_F(Art2dTest, CursorRadarMarksAndSmokeCarryTheirKeys)
{
    const Indexed cursor = Decode("menu\\cursor.bmp");
    ASSERT_EQ(cursor.width, 16);
    ASSERT_EQ(cursor.height, 16);
    EXPECT_EQ(cursor.compression, 0u);
    EXPECT_EQ(cursor.At(15, 15), 0);
    EXPECT_NE(cursor.At(0, 0), 0) << "the hot spot shows the arrow's tip";

    const Indexed marker = Decode("menu\\pt1.bmp");
    ASSERT_EQ(marker.width, 5);
    ASSERT_EQ(marker.height, 8);
    EXPECT_EQ(marker.At(0, 0), 0);
    EXPECT_NE(marker.At(2, 0), 0);

    // The dot is drawn without a key: every pixel shows.
    const Indexed dot = Decode("menu\\pt2.bmp");
    ASSERT_EQ(dot.width, 4);
    ASSERT_EQ(dot.height, 4);
    for (uint8_t i : dot.index)
        EXPECT_NE(i, 0);

    for (const char* name : {"menu\\smoke.bmp", "menu\\smoke2.bmp"}) {
        const Indexed smoke = Decode(name);
        ASSERT_GT(smoke.width, 0) << name;
        EXPECT_EQ(smoke.compression, 0u) << name;
        EXPECT_EQ(smoke.At(0, 0), 0) << name;
        EXPECT_NE(smoke.At(smoke.width / 2, smoke.height / 2), 0) << name;
    }
}

TEST_F(Art2dTest, BinocularLensesLieInsideTheMagnifiedRectangle)
{
    const Indexed bino = Decode("menu\\bino.bmp");
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
    for (const Gun& gun : kGuns) {
        SCOPED_TRACE(gun.name);
        const auto [w, h] = LoadAs(gun.name, Kind::Sprite);
        ASSERT_GT(w, 0);
        ASSERT_EQ(h % gun.frames, 0);
        EXPECT_EQ(h / gun.frames, 480 - gun.restY);
        EXPECT_LE(gun.x + w, 640);
        const Indexed strip = Decode(gun.name);
        const int ax = gun.aimX - gun.x, ay = gun.aimY - gun.restY;
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
    for (const char* name : kGrounds) {
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
    for (const char* name : kPanoramas) {
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

TEST_F(Art2dTest, ASecondRunWritesTheSameBytes)
{
    const fs::path second = MakeFolder("second");
    GenerateInto(second);
    std::map<std::string, std::vector<char>> files;
    auto read = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(*s_folder)) {
        if (!entry.is_regular_file())
            continue;
        ++count;
        const fs::path relative = fs::relative(entry.path(), *s_folder);
        EXPECT_EQ(read(entry.path()), read(second / relative)) << relative;
    }
    EXPECT_GE(count, 90u);
    fs::remove_all(second);
}

} // namespace
