// Clipping of blits and what bad requests give: rectangles partly or wholly
// outside either image, negative sizes, hostile coordinates, absurd scales,
// clip regions reaching past the target, a false BLIT_NOCLIP promise. Every
// target has guard bytes; the sanitizer build checks the reads.

#include "BlitTestSupport.h"

#include "imaging/BlitClip.h"
#include "imaging/CDibContext.h"
#include "imaging/CDibRegion.h"
#include "imaging/CDibSection.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

using namespace blittest;

namespace {

void SetClip(CDib& image, DibRect rect)
{
    CDibRegion* region = image.NewClipRegion();
    region->SetRect(rect);
    image.SetClipRegion(region);
    region->Release();
}

// A source whose pixel (x, y) is 1 + x + 16 y: every pixel tells where it came from.
void Number(CGuardedImage& image)
{
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            image.Put(x, y, uint32_t(1 + x + 16 * y));
}

TEST(BlitClip, CutsToTheClipRegionAndMovesTheSourceAlong)
{
    CGuardedImage source(10, 6, PF_INDEX8), target(12, 8, PF_INDEX8);
    Number(source);
    SetClip(target, {2, 1, 6, 5});
    ASSERT_EQ(source.Blit(&target, -1, 0, 10, 6, 0, 0, 10, 6, 0, 0), DIB_OK);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 8 && y >= 1 && y < 6;
            EXPECT_EQ(target.At(x, y), inside ? uint32_t(1 + (x + 1) + 16 * y) : 0u) << x << ", " << y;
        }
    // Wholly outside the clip rectangle: 0, nothing touched.
    EXPECT_EQ(source.Blit(&target, 8, 0, 4, 4, 0, 0, 4, 4, 0, 0), DIB_OK);
    EXPECT_EQ(target.At(9, 2), 0u);
}

TEST(BlitClip, MirroredSpritesLoseTheColumnsOnTheFarSide)
{
    for (int scale : {1, 2}) {
        CGuardedImage source(8, 1, PF_INDEX8), target(10, 1, PF_INDEX8);
        Number(source);
        // Drawn whole at x, target column j shows source column 7 - j / scale.
        auto expectWhole = [&](int x) {
            for (int j = 0; j < 8 * scale; ++j)
                if (x + j >= 0 && x + j < 10) {
                    EXPECT_EQ(target.At(x + j, 0), uint32_t(1 + 7 - j / scale)) << "scale " << scale << " x " << x;
                }
        };
        // Scaled, the clipped part is worked out in whole target pixels of
        // the unclipped rectangle; even cuts keep the columns exact.
        for (int x : scale == 1 ? std::vector<int>{-3, 0, 2, 5, 9} : std::vector<int>{-4, 0, 2, 6, 8}) {
            ASSERT_EQ(source.Blit(&target, x, 0, 8 * scale, 1, 0, 0, 8, 1, BLIT_MIRROR_X, 0), DIB_OK);
            expectWhole(x);
        }
        EXPECT_TRUE(target.Intact());
    }
}

TEST(BlitClip, RefusesSourceRectanglesOutsideTheSource)
{
    CGuardedImage source(10, 4, PF_INDEX8), target(10, 4, PF_INDEX8);
    EXPECT_EQ(source.Blit(&target, 0, 0, 1, 1, 11, 0, 1, 1, 0, 0), DIB_FAILED);
    EXPECT_EQ(source.Blit(&target, 0, 0, 1, 1, 0, 5, 1, 1, 0, 0), DIB_FAILED);
    EXPECT_EQ(source.Blit(&target, 0, 0, 2, 1, -5, 0, 2, 1, 0, 0), DIB_FAILED);
    EXPECT_EQ(source.Blit(&target, 0, 0, 8, 1, 4, 0, 8, 1, 0, 0), DIB_FAILED); // runs past the right edge
    EXPECT_EQ(source.Blit(nullptr, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0), DIB_FAILED);
    CDibSection empty;
    EXPECT_EQ(source.Blit(&empty, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0), DIB_NOT_CREATED);
}

TEST(BlitClip, HostileRectanglesDrawNothingOutside)
{
    CDibContext context;
    std::mt19937 random(5);
    CGuardedImage source(16, 16, PF_RGB565), target(20, 12, PF_RGB565, true);
    FillImage(source, random, 0);
    const int values[] = {INT_MIN, INT_MIN + 1, -65536, -17, -1, 0, 1, 7, 19, 65535, INT_MAX - 1, INT_MAX};
    for (int n = 0; n < 4000; ++n) {
        const int v[8] = {values[random() % 12], values[random() % 12], values[random() % 12], values[random() % 12],
                          int(random() % 40) - 10, int(random() % 40) - 10, int(random() % 40) - 10,
                          int(random() % 40) - 10};
        const uint32_t flags = (random() % 2 ? BLIT_MIRROR_X : 0) | (random() % 2 ? BLIT_MIRROR_Y : 0) |
                               (random() % 2 ? BLIT_NOCLIP : 0) | (random() % 2 ? BLIT_BLEND : 0);
        const DibResult code = source.Blit(&target, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], flags, 100);
        EXPECT_TRUE(code == DIB_OK || code == DIB_FAILED);
        // The same with sensible source rectangles and hostile target ones.
        source.Blit(&target, v[0], v[1], v[2], v[3], 0, 0, 16, 16, flags, 100);
        source.Blit(&target, v[4], v[5], v[6], v[7], v[0] & 15, 0, 16 - (v[0] & 15), 16, flags, 100);
    }
    EXPECT_TRUE(target.Intact());
}

TEST(BlitClip, AbsurdScales)
{
    CDibContext context;
    // One pixel over the whole screen: every pixel is that one.
    CGuardedImage dot(1, 1, PF_RGB555), screen(640, 480, PF_RGB555);
    dot.Put(0, 0, 0x1234);
    ASSERT_EQ(dot.Blit(&screen, 0, 0, 640, 480, 0, 0, 1, 1, BLIT_MIRROR_X | BLIT_MIRROR_Y, 0), DIB_OK);
    EXPECT_EQ(screen.At(0, 0), 0x1234u);
    EXPECT_EQ(screen.At(639, 479), 0x1234u);
    // A huge picture squeezed into one pixel shows its first (mirrored: last) pixel.
    CGuardedImage huge(4000, 3000, PF_INDEX8), one(1, 1, PF_INDEX8);
    huge.Put(0, 0, 11);
    huge.Put(3999, 2999, 22);
    ASSERT_EQ(huge.Blit(&one, 0, 0, 1, 1, 0, 0, 4000, 3000, 0, 0), DIB_OK);
    EXPECT_EQ(one.At(0, 0), 11u);
    ASSERT_EQ(huge.Blit(&one, 0, 0, 1, 1, 0, 0, 4000, 3000, BLIT_MIRROR_X | BLIT_MIRROR_Y, 0), DIB_OK);
    EXPECT_EQ(one.At(0, 0), 22u);
    // Scaled and clipped on the left: the visible part keeps its proportions.
    CGuardedImage row(10, 1, PF_INDEX8), wide(12, 1, PF_INDEX8);
    Number(row);
    ASSERT_EQ(row.Blit(&wide, -10, 0, 20, 1, 0, 0, 10, 1, 0, 0), DIB_OK);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(wide.At(x, 0), uint32_t(1 + 5 + x / 2));
    EXPECT_TRUE(screen.Intact() && one.Intact() && wide.Intact());
}

TEST(BlitClip, RegionsReachingPastTheTargetAreCut)
{
    CGuardedImage source(32, 32, PF_RGB32), target(16, 8, PF_RGB32);
    std::mt19937 random(2);
    FillImage(source, random, 0);
    SetClip(target, {-50, -50, 500, 500});
    EXPECT_EQ(source.Blit(&target, -8, -8, 32, 32, 0, 0, 32, 32, 0, 0), DIB_OK);
    EXPECT_EQ(target.At(15, 7), source.At(23, 15));
    SetClip(target, {100, 100, 5, 5});
    EXPECT_EQ(source.Blit(&target, 0, 0, 32, 32, 0, 0, 32, 32, 0, 0), DIB_OK);
    EXPECT_TRUE(target.Intact());
}

TEST(BlitClip, NoClipTrustsOnlyATruePromise)
{
    CGuardedImage source(8, 8, PF_INDEX8), target(8, 8, PF_INDEX8);
    Number(source);
    SetClip(target, {0, 0, 2, 2});
    // Inside both images: the clip region is skipped as asked.
    ASSERT_EQ(source.Blit(&target, 0, 0, 8, 8, 0, 0, 8, 8, BLIT_NOCLIP, 0), DIB_OK);
    EXPECT_EQ(target.At(7, 7), source.At(7, 7));
    // Not inside: clipped like any request, nothing written outside.
    ASSERT_EQ(source.Blit(&target, 4, 4, 8, 8, 0, 0, 8, 8, BLIT_NOCLIP, 0), DIB_OK);
    ASSERT_EQ(source.Blit(&target, 0, 0, -8, 8, 0, 0, 8, 8, BLIT_NOCLIP, 0), DIB_OK);
    EXPECT_TRUE(target.Intact());
}

} // namespace
