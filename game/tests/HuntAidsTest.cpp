// The hunting aids. Off (the default) the hunt draws the original's picture,
// which the hunt walks' recorded hashes hold it to. On, the radar shows the
// quarry's kind in a colour of its own, and while the gun is raised a
// reticle sits exactly where a shot goes: its centre pixel is the one
// pixel the shot's hit test takes. Both depths.

#include "HuntTestSupport.h"
#include "common/Clock.h"
#include "common/DataPath.h"
#include "game/CGameRandom.h"
#include "game/NearestPixel.h"
#include "game/hunt/CHuntWorld.h"
#include "game/hunt/HuntAidPictures.h"
#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "sprites/LoadPicture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRadarLeft = 10, kRadarTop = 10; // the radar's corner on the screen

std::vector<uint32_t> Pixels(CDib& back)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < back.GetHeight(); ++y)
        for (int x = 0; x < back.GetWidth(); ++x)
            pixels.push_back(back.GetPixel(x, y));
    return pixels;
}

class HuntAidsTest : public ::testing::TestWithParam<PixelFormat> {
protected:
    void Load(int weapon)
    {
        GameRandom().Seed(7);
        hunt.Init({stage.Back(), &sound, &clock, HuntAids{}});
        std::string problem;
        ASSERT_TRUE(hunt.LoadHunt(kZebra, weapon, kPlains, problem)) << problem;
    }
    // The picture with these aids, drawn afresh (drawing changes nothing).
    std::vector<uint32_t> Drawn(const HuntAids& aids)
    {
        hunt.View().SetAids(aids);
        hunt.Render();
        return Pixels(*stage.Back());
    }
    // The pixel at the centre of animal `i`'s radar dot (4 × 4).
    uint32_t DotCentre(int i)
    {
        const RadarPoint point = hunt.View().Radar(i);
        return stage.Back()->GetPixel(kRadarLeft + point.x + 1, kRadarTop + point.y + 1);
    }

    HuntStage stage{GetParam()};
    CRecordingSound sound;
    FixedClock clock;
    CHuntWorld hunt;
};

} // namespace

TEST_P(HuntAidsTest, TheRadarShowsTheQuarrysKindInItsOwnColourOnlyWithTheAid)
{
    Load(4);
    // One zebra ahead and one animal of another kind to the left, on the
    // radar; the rest of the herd far off it.
    int zebra = -1, other = -1;
    for (int i = 0; i < ANIMAL_COUNT; ++i) {
        CAnimal& animal = hunt.Animal(i);
        animal.x = 40500 + 100 * i;
        animal.y = 10500;
        if (animal.Kind() == ANIMAL_ZEBRA && zebra < 0) {
            zebra = i;
            animal.x = 12500;
        } else if (animal.Kind() != ANIMAL_ZEBRA && other < 0) {
            other = i;
            animal.x = 10500;
            animal.y = 14000;
        }
    }
    ASSERT_GE(zebra, 0);
    ASSERT_GE(other, 0);
    hunt.Step({}, {}, 0.05);
    // Ten radar pixels up, and seventeen to the left.
    EXPECT_NEAR(hunt.View().Radar(zebra).x, 50, 1);
    EXPECT_NEAR(hunt.View().Radar(zebra).y, 40, 1);
    EXPECT_NEAR(hunt.View().Radar(other).x, 32, 1);

    const std::vector<uint32_t> original = Drawn({});
    const uint32_t dot = DotCentre(other);
    EXPECT_EQ(DotCentre(zebra), dot); // every animal alike, as the original draws them
    EXPECT_EQ(Drawn({false, true}), original); // the reticle aid leaves the radar alone

    const std::vector<uint32_t> marked = Drawn({true, false});
    // The mini data's dot is palette entry 220: (220, 35, 4).
    const AidColour cyan = QuarryColourOf(220, 35, 4);
    EXPECT_EQ(DotCentre(zebra), NearestPixel(*stage.Back(), cyan.red, cyan.green, cyan.blue));
    EXPECT_NE(DotCentre(zebra), dot);
    EXPECT_EQ(DotCentre(other), dot);
    // Nothing but the quarry's dot changed.
    const RadarPoint at = hunt.View().Radar(zebra);
    for (int y = 0; y < stage.Back()->GetHeight(); ++y)
        for (int x = 0; x < stage.Back()->GetWidth(); ++x) {
            const bool inDot = x >= kRadarLeft + at.x && x < kRadarLeft + at.x + 4 && y >= kRadarTop + at.y &&
                               y < kRadarTop + at.y + 4;
            const size_t i = size_t(y) * size_t(stage.Back()->GetWidth()) + size_t(x);
            if (!inDot) {
                ASSERT_EQ(marked[i], original[i]) << x << "," << y;
            }
        }
}

TEST_P(HuntAidsTest, TheReticleSitsExactlyWhereEveryWeaponsShotGoesWhileTheGunIsRaised)
{
    const int width = stage.Back()->GetWidth();
    for (int weapon = 0; weapon < WEAPON_COUNT; ++weapon) {
        SCOPED_TRACE(kWeapons[weapon].name);
        Load(weapon);
        for (int i = 0; i < ANIMAL_COUNT; ++i)
            hunt.Animal(i).x = 40500; // out of the way
        HuntToggles aiming;
        aiming.aim = true;
        hunt.OnToggle(ItemAction::Aim, true);
        for (int tick = 0; tick < 40 && !hunt.Jeep().Gun().IsReady(); ++tick) {
            // Not yet up: no reticle (looked at every few ticks of the rise,
            // each look being two whole frames).
            if (tick % 4 == 0) {
                EXPECT_EQ(Drawn({false, true}), Drawn({})) << "tick " << tick;
            }
            hunt.Step({}, aiming, 0.05);
        }
        ASSERT_TRUE(hunt.Jeep().Gun().IsReady());

        const std::vector<uint32_t> original = Drawn({});
        const std::vector<uint32_t> marked = Drawn({false, true});
        int left = width, right = -1, top = 1 << 20, bottom = -1;
        for (size_t i = 0; i < marked.size(); ++i)
            if (marked[i] != original[i]) {
                const int x = int(i % size_t(width)), y = int(i / size_t(width));
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        ASSERT_GE(right, 0) << "no reticle";
        // A cross of light arms (ends kGap + kArm from the centre) edged in dark.
        const int reach = AimReticle::kGap + AimReticle::kArm + 1;
        EXPECT_LE(right - left, 2 * reach);
        EXPECT_LE(bottom - top, 2 * reach);
        const int x = (left + right) / 2, y = (top + bottom) / 2;
        CDib& back = *stage.Back();
        const uint32_t light = NearestPixel(back, AimReticle::kLight.red, AimReticle::kLight.green,
                                            AimReticle::kLight.blue);
        EXPECT_EQ(marked[size_t(y * width + x)], light);
        for (int d = AimReticle::kGap + 1; d <= AimReticle::kGap + AimReticle::kArm; ++d)
            for (auto [dx, dy] : {std::pair{d, 0}, std::pair{-d, 0}, std::pair{0, d}, std::pair{0, -d}})
                EXPECT_EQ(marked[size_t((y + dy) * width + x + dx)], light);

        // A shot now takes an animal covering the reticle's centre pixel, and
        // none covering only a pixel beside it.
        CAnimal& target = hunt.Animal(0);
        for (auto [dx, dy] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
            target.screen = {x + dx, y + dy, 1, 1};
            Shot shot{hunt.AimX(), hunt.AimY(), false};
            target.HitTest(shot);
            EXPECT_EQ(shot.spent, dx == 0 && dy == 0) << dx << "," << dy;
        }

        // Lowered again: the reticle goes with the gun.
        hunt.OnToggle(ItemAction::Aim, false);
        hunt.Step({}, {}, 0.05);
        EXPECT_EQ(Drawn({false, true}), Drawn({}));
    }
}

INSTANTIATE_TEST_SUITE_P(BothDepths, HuntAidsTest, ::testing::Values(PF_INDEX8, PF_RGB555),
                         [](const ::testing::TestParamInfo<PixelFormat>& info) {
                             return info.param == PF_INDEX8 ? std::string("EightBit") : std::string("HighColour");
                         });

// In the game's own palettes the quarry's dot is cyan and unlike the
// ordinary dot in every one of its pixels, in every scenario.
TEST(HuntAidColours, InEveryScenarioPaletteTheQuarrysDotStandsApart)
{
    const std::string data = VELDRA_GENERATED_DATA_DIR;
    CDibSection dot;
    ASSERT_EQ(LoadPicture(dot, PictureSource::File(MapDataPath(kRadarDotPicture, data))), DIB_OK);
    for (int s = 1; s <= SCENARIO_COUNT; ++s) {
        SCOPED_TRACE(kScenarios[s].name);
        CDibSection palette;
        ASSERT_EQ(LoadPicture(palette, PictureSource::File(MapDataPath(kScenarios[s].palette, data))), DIB_OK);
        ASSERT_NE(palette.GetPalette(), nullptr);
        CDibSection back;
        ASSERT_EQ(back.Create(8, 8, PF_INDEX8), DIB_OK);
        ASSERT_EQ(back.SetPalette(palette.GetPalette()), DIB_OK);
        CDibSection quarry, plain;
        ASSERT_TRUE(MakeQuarryDot(dot, back, quarry));
        ASSERT_EQ(plain.CopyFrom(&dot), DIB_OK);
        ASSERT_EQ(plain.ConvertFormat(PF_INDEX8, back.GetPalette(), 0), DIB_OK);
        std::vector<PaletteEntry> entries(size_t(back.GetPalette()->GetCount()));
        ASSERT_EQ(back.GetPalette()->GetEntries(entries.data(), 0, int(entries.size())), DIB_OK);
        for (int y = 1; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                const uint32_t index = quarry.GetPixel(x, y);
                EXPECT_NE(index, plain.GetPixel(x, y)) << x << "," << y;
                const PaletteEntry& colour = entries[index];
                EXPECT_GT(colour.blue, colour.red + 60) << x << "," << y;
                EXPECT_GT(colour.green, colour.red + 60) << x << "," << y;
            }
    }
}
