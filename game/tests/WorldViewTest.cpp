// The world view's pictures: the panorama's wrap, the ground's limits, the
// radar's places.

#include "HuntTestSupport.h"
#include "game/hunt/CWorldView.h"
#include "game/hunt/HuntMath.h"
#include "imaging/CDibPalette.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// A 16-bit panorama whose every pixel holds its column.
DibRef<CDib> ColumnPanorama(int width, int height)
{
    DibRef<CDib> picture = MakeDib<CDibDD>();
    EXPECT_EQ(picture->Create(width, height, PF_RGB555), DIB_OK);
    for (int x = 0; x < width; ++x)
        picture->FillRect(x, 0, 1, height, uint32_t(x));
    return picture;
}

// An 8-bit picture with a palette.
DibRef<CDib> IndexedPicture(int width, int height, PixelFormat format = PF_INDEX8)
{
    DibRef<CDib> picture = MakeDib<CDibDD>();
    EXPECT_EQ(picture->Create(width, height, format), DIB_OK);
    if (format == PF_INDEX8) {
        CDibPalette* palette = picture->NewPalette();
        palette->Create(256);
        PaletteEntry entries[256];
        for (int i = 0; i < 256; ++i)
            entries[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
        palette->SetEntries(entries, 0, 256);
        picture->SetPalette(palette);
        palette->Release();
    }
    picture->FillRect(0, 0, width, height, 200);
    return picture;
}

} // namespace

TEST(WorldView, ThePanoramaWrapsSeamlesslyAcrossItsRightEdge)
{
    HuntStage stage(PF_RGB555);
    CWorldView view;
    ASSERT_EQ(view.Init(stage.Back(), 0, 0, 640, 480, kPi / 2, 1.0), DIB_OK);
    DibRef<CDib> panorama = ColumnPanorama(2560, 100);
    view.SetBackground(panorama.Get());
    for (int first : {0, 700, 1919, 1920, 1921, 2400, 2559}) {
        HunterPose hunter;
        // The angle that puts source column `first` at the view's left edge.
        hunter.angle = WrapAngle(kTwoPi - kPi / 4 - (first + 0.5) * kTwoPi / 2560);
        view.DrawBackground(hunter);
        for (int c = 0; c < 640; c += 7)
            ASSERT_EQ(stage.Back()->GetPixel(c, 239), uint32_t((first + c) % 2560)) << "first " << first << " c " << c;
        // Twice its height, standing on the horizon.
        EXPECT_EQ(stage.Back()->GetPixel(5, 40), uint32_t((first + 5) % 2560));
        EXPECT_EQ(stage.Back()->GetPixel(5, 39), 0u);
        stage.Back()->FillRect(0, 0, 640, 480, 0);
    }
}

TEST(WorldView, TheGroundMustBeAnEightBitTextureOfTwoHundredFiftySixSquare)
{
    HuntStage stage(PF_INDEX8);
    CWorldView view;
    ASSERT_EQ(view.Init(stage.Back(), 0, 0, 640, 480, kPi / 2, 1.0), DIB_OK);
    EXPECT_EQ(view.SetGround(nullptr), GROUND_MISSING);
    EXPECT_EQ(view.SetGround(IndexedPicture(128, 256).Get()), GROUND_NOT_A_TEXTURE);
    EXPECT_EQ(view.SetGround(IndexedPicture(256, 256, PF_RGB555).Get()), GROUND_NOT_A_TEXTURE);
    DibRef<CDib> ground = IndexedPicture(256, 256);
    ASSERT_EQ(view.SetGround(ground.Get()), GROUND_OK);
    view.SetFog(false);
    view.SetDoubleWidth(true);
    stage.Back()->FillRect(0, 0, 640, 480, 7);
    HunterPose hunter;
    hunter.horizon = 480;
    view.DrawGround(hunter);
    EXPECT_EQ(stage.Back()->GetPixel(320, 479), 7u); // nothing below a horizon at the bottom
    hunter.horizon = 10;
    view.DrawGround(hunter);
    EXPECT_EQ(stage.Back()->GetPixel(320, 9), 7u);
    EXPECT_EQ(stage.Back()->GetPixel(320, 10), 200u); // the plain texel from row 10 down
    EXPECT_EQ(stage.Back()->GetPixel(0, 479), 200u);
}

TEST(WorldView, FogShadesFarRowsTowardsTheFogColour)
{
    HuntStage stage(PF_RGB555);
    CWorldView view;
    ASSERT_EQ(view.Init(stage.Back(), 0, 0, 640, 480, kPi / 2, 1.0), DIB_OK);
    DibRef<CDib> ground = IndexedPicture(256, 256); // grey 200 everywhere
    ASSERT_EQ(view.SetGround(ground.Get()), GROUND_OK);
    view.SetFogColour(0, 0, 255);
    view.SetFogRange(1500, 8000, 0.5);
    view.SetDoubleWidth(true);
    HunterPose hunter;
    view.DrawGround(hunter);
    // Row 240 looks farthest (full fog: half way to blue), the bottom row is near (no fog).
    const uint32_t far = stage.Back()->GetPixel(100, 240), near = stage.Back()->GetPixel(100, 479);
    EXPECT_EQ(near, uint32_t(((200 >> 3) << 10) | ((200 >> 3) << 5) | (200 >> 3)));
    EXPECT_EQ(far, uint32_t(((100 >> 3) << 10) | ((100 >> 3) << 5) | (227 >> 3)));
}

TEST(WorldView, TheRadarPutsTheViewUpAndOnePixelForTwoHundredUnits)
{
    // Straight ahead, 2000 units: ten pixels above the centre.
    RadarPoint ahead = CWorldView::RadarPosition(1.0, 1.0, 2000);
    EXPECT_EQ(ahead.x, 50);
    EXPECT_EQ(ahead.y, 40);
    // A quarter turn to the left: left of the centre.
    RadarPoint left = CWorldView::RadarPosition(1.0, 1.0 + kPi / 2, 2000);
    EXPECT_EQ(left.x, 40);
    EXPECT_EQ(left.y, 50);
}

TEST(WorldView, TreesAndAnimalsFadeInOverTheOuterPartOfTheDrawnRange)
{
    CTree tree;
    const double fadeStart = CWorldView::kDrawnRange - CWorldView::kFadeDepth;
    for (auto [distance, opacity] : {std::pair{0.0, 256}, {fadeStart, 256}, {fadeStart + CWorldView::kFadeDepth / 2, 128},
                                     {CWorldView::kDrawnRange - 1, 0}, {CWorldView::kDrawnRange, 0}, {3999.0, 0}}) {
        tree.distance = distance;
        EXPECT_NEAR(CWorldView::RangeOpacity(tree), opacity, 1) << distance;
    }
    tree.distance = std::nan("");
    EXPECT_EQ(CWorldView::RangeOpacity(tree), 0);
    // The jeep shows wherever it is left.
    tree.drawnAtAnyRange = true;
    tree.distance = 9000;
    EXPECT_EQ(CWorldView::RangeOpacity(tree), 256);
}
