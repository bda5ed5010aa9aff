// Nothing pops into the drawn range: on the generated data the hunter walks
// ahead along the corridor for 45 s, crossing two cell lines, and every
// tick's picture is compared with the one before. The mean change of a pixel
// in the screen band where the far range stands (from the tops of the
// farthest trees down to the ground at the fade's start, leaving out the
// near trees that reach up into it) must stay near the mean change in the
// band of the near range, even in the 64 columns where it changes most. A
// change is measured against the pixel and its eight neighbours in the
// picture before, so that what moves by a pixel (a thin tree drifting
// sideways) does not count and a tree drawn at once where there was ground
// does. Figures are printed for both depths; the frames around the largest
// far change are kept in the build folder for people to look at.

#include "GameRunSupport.h"
#include "display/CDibDD.h"
#include "display/CDibDDContext.h"
#include "game/CGameRandom.h"
#include "game/hunt/CHuntWorld.h"
#include "game/hunt/CWorldView.h"
#include "game/hunt/HuntMath.h"
#include "imaging/CDibPalette.h"
#include "imaging/PngWriter.h"
#include "media/CSoundDevice.h"
#include "sprites/LoadPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace {

struct Band {
    int top, bottom; // screen rows [top, bottom)
};

struct BandFigures {
    double mean = 0, largest = 0;
    long largestTick = 0;
};

// Mean change per channel of the pixels of a band in columns [x0, x1) that
// `masked` leaves in; -1 when it leaves fewer than half of them. A pixel's
// change is the least against the earlier picture's pixel at its place or
// one of the eight around it: what moved by a pixel has not changed, what
// appeared has.
double MeanChange(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, Band band, int x0, int x1,
                  const std::vector<uint8_t>& masked)
{
    double sum = 0;
    long count = 0;
    for (int y = band.top; y < band.bottom; ++y)
        for (int x = x0; x < x1; ++x) {
            const size_t at = size_t(y) * 640 + x;
            if (masked[at])
                continue;
            ++count;
            int least = 3 * 255;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int u = std::clamp(x + dx, 0, 639), v = std::clamp(y + dy, 0, 479);
                    const uint32_t p = a[size_t(v) * 640 + u], q = b[at];
                    int d = 0;
                    for (int shift : {0, 8, 16})
                        d += std::abs(int(p >> shift & 255) - int(q >> shift & 255));
                    least = std::min(least, d);
                }
            sum += least;
        }
    if (2 * count < long(x1 - x0) * (band.bottom - band.top))
        return -1;
    return sum / (3.0 * double(count));
}

// Marks the screen rectangles of the objects in view nearer than `distance`.
void MaskNear(const CHuntWorld& hunt, double distance, std::vector<uint8_t>& masked)
{
    for (const CWorldObject* object : hunt.DrawList().Objects()) {
        if (std::fabs(object->relAngle) >= kPi / 2 || object->distance >= distance)
            continue;
        const ScreenRect& r = object->screen;
        for (int y = std::max(r.top, 0); y < std::min(r.top + r.height, 480); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.left + r.width, 640); ++x)
                masked[size_t(y) * 640 + x] = 1;
    }
}

class HuntPop : public ::testing::TestWithParam<bool> {};

TEST_P(HuntPop, TheFarRangeChangesNoMoreThanTheNearRangeAlongAWalk)
{
    if (!HaveGeneratedData())
        GTEST_SKIP() << "no generated data";
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const bool highColour = GetParam();
    char* cwd = ::getcwd(nullptr, 0);
    const std::string previous = cwd ? cwd : ".";
    std::free(cwd);
    ASSERT_EQ(::chdir(VELDRA_GENERATED_DATA_DIR), 0);
    {
        CDibDDContext context;
        CDibDD back;
        const PixelFormat format = highColour ? PF_RGB555 : PF_INDEX8;
        ASSERT_EQ(back.Create(640, 480, format), DIB_OK);
        if (!highColour) {
            CDibDD palette;
            ASSERT_EQ(LoadPicture(palette, PictureSource::File("menu\\pal20.bmp")), DIB_OK);
            ASSERT_EQ(back.SetPalette(palette.GetPalette()), DIB_OK);
        }
        CSoundDevice silence;
        FixedClock clock;
        CHuntWorld hunt;
        hunt.Init({&back, &silence, &clock, HuntAids{}});
        GameRandom().Seed(3); // the same savannah every run
        std::string problem;
        ASSERT_TRUE(hunt.LoadHunt(ANIMAL_ZEBRA - 1, 4, 2, problem)) << problem;
        // Facing +x along the corridor; the herd far off, so that the bands
        // show trees and ground.
        hunt.Hunter().angle = 0;
        for (int i = 0; i < ANIMAL_COUNT; ++i) {
            hunt.Animal(i).x = 500;
            hunt.Animal(i).y = 500 + 10 * i;
        }
        hunt.Step({}, {}, 0);
        const HunterPose& hunter = hunt.Hunter();
        const double focal = hunt.View().FocalLength();
        auto footRow = [&](double distance) { return hunter.horizon + int(focal * hunter.eyeHeight / distance); };
        const int treeTop = hunter.horizon - int(focal * CHuntWorld::kTreeSize / CWorldView::kDrawnRange) - 12;
        const double fadeStart = CWorldView::kDrawnRange - CWorldView::kFadeDepth;
        const Band far{treeTop, footRow(fadeStart)}, near{footRow(fadeStart), footRow(600)};
        ASSERT_LT(far.top, far.bottom);
        ASSERT_LT(near.top, near.bottom);
        ASSERT_LE(near.bottom, 480);

        const HuntInput ahead = [] {
            HuntInput input;
            input.states[size_t(HuntControl::Up)] = 0x80000000u;
            return input;
        }();
        constexpr long kTicks = 900; // 45 s at 50 units a second
        constexpr int kTile = 64;
        const double startX = hunter.x;
        BandFigures farFigures, nearFigures;
        std::vector<uint32_t> before, now, largestBefore, largestAfter;
        std::vector<uint8_t> nearBefore(640 * 480), nearNow(640 * 480), masked(640 * 480);
        const std::vector<uint8_t> none(640 * 480, 0);
        for (long tick = 0; tick <= kTicks; ++tick) {
            // The jeep follows unseen behind, so that the hunter never
            // strays too far from it.
            hunt.Jeep().x = hunter.x - 200;
            hunt.Jeep().y = hunter.y;
            hunt.Step(ahead, {}, 0.05);
            hunt.View().Render(hunter, false);
            now = ImageToRgb(&back);
            std::fill(nearNow.begin(), nearNow.end(), 0);
            MaskNear(hunt, fadeStart, nearNow);
            if (tick > 0) {
                // The far band without the near trees that reach up into
                // it, a tile at a time, so that one tree's step is not
                // spread over the whole width.
                for (size_t i = 0; i < masked.size(); ++i)
                    masked[i] = nearBefore[i] | nearNow[i];
                for (int x0 = 0; x0 < 640; x0 += kTile) {
                    const double f = MeanChange(before, now, far, x0, x0 + kTile, masked);
                    if (f > farFigures.largest) {
                        farFigures.largest = f;
                        farFigures.largestTick = tick;
                        largestBefore = before;
                        largestAfter = now;
                    }
                }
                const double f = std::max(MeanChange(before, now, far, 0, 640, masked), 0.0);
                const double n = MeanChange(before, now, near, 0, 640, none);
                farFigures.mean += f / kTicks;
                nearFigures.mean += n / kTicks;
                if (n > nearFigures.largest) {
                    nearFigures.largest = n;
                    nearFigures.largestTick = tick;
                }
            }
            before.swap(now);
            nearBefore.swap(nearNow);
        }
        EXPECT_GT(hunter.x - startX, 2000) << "the walk crosses cell lines";
        std::printf("%s: far band rows %d-%d: mean change %.3f, largest in a tile of %d columns %.3f (tick %ld); "
                    "near band rows %d-%d: mean %.3f, largest %.3f (tick %ld)\n",
                    highColour ? "high colour" : "8 bits", far.top, far.bottom, farFigures.mean, kTile,
                    farFigures.largest, farFigures.largestTick, near.top, near.bottom, nearFigures.mean,
                    nearFigures.largest, nearFigures.largestTick);
        const std::string stem = std::string(VELDRA_TEST_OUTPUT_DIR) + "/hunt_pop" + (highColour ? "16" : "8");
        EXPECT_TRUE(WriteRgbPng(largestBefore.data(), 640, 480, stem + "_before.png"));
        EXPECT_TRUE(WriteRgbPng(largestAfter.data(), 640, 480, stem + "_after.png"));
        // The far band drifts slower than the near one, even where it
        // changes most; a tree or animal drawn at once makes a step there of
        // many times the near band's mean.
        EXPECT_LT(farFigures.largest, 2 * nearFigures.mean) << "something popped into the far range";
        hunt.LoadHunt(-1, -1, 0, problem);
    }
    ASSERT_EQ(::chdir(previous.c_str()), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, HuntPop, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "HighColour" : "EightBit"; });

} // namespace
