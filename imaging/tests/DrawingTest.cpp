#include "imaging/CDibRegion.h"
#include "imaging/CDibSection.h"

#include <gtest/gtest.h>

TEST(FillRect, ClipsToTheRegionAndFillsEveryDepth)
{
    for (PixelFormat f : {PF_INDEX8, PF_RGB565, PF_RGB24, PF_RGB32}) {
        CDibSection image;
        ASSERT_EQ(image.Create(7, 5, f), DIB_OK);
        CDibRegion* region = image.NewClipRegion();
        region->SetRect({1, 1, 3, 3});
        EXPECT_EQ(image.SetClipRegion(region), DIB_OK);
        region->Release();
        EXPECT_EQ(image.FillRect(-100, -100, 1000, 1000, 0x00ABCDEF), DIB_OK);
        const uint32_t mask = PixelFormatBits(f) == 32 ? 0xFFFFFFFFu : (1u << PixelFormatBits(f)) - 1;
        EXPECT_EQ(image.GetPixel(1, 1), 0x00ABCDEFu & mask);
        EXPECT_EQ(image.GetPixel(3, 3), 0x00ABCDEFu & mask);
        EXPECT_EQ(image.GetPixel(0, 1), 0u);
        EXPECT_EQ(image.GetPixel(4, 3), 0u);
        EXPECT_EQ(image.FillRect(50, 50, 2, 2, 1), DIB_OK); // clipped away
        EXPECT_EQ(image.FillRect(2, 2, -2, 2, 1), DIB_OK);
    }
}

TEST(FillRect, PackedPixelsMergeAtBothEnds)
{
    CDibSection image;
    ASSERT_EQ(image.Create(16, 1, PF_INDEX1), DIB_OK);
    ASSERT_EQ(image.FillRect(3, 0, 10, 1, 1), DIB_OK);
    uint8_t* bits;
    int pitch;
    EXPECT_EQ(image.Lock(&bits, &pitch), DIB_OK);
    EXPECT_EQ(bits[0], 0x1F); // pixels 3..7
    EXPECT_EQ(bits[1], 0xF8); // pixels 8..12
    image.Unlock();

    CDibSection nibbles;
    ASSERT_EQ(nibbles.Create(5, 1, PF_INDEX4), DIB_OK);
    nibbles.FillRect(1, 0, 3, 1, 0xA);
    EXPECT_EQ(nibbles.Lock(&bits, &pitch), DIB_OK);
    EXPECT_EQ(bits[0], 0x0A);
    EXPECT_EQ(bits[1], 0xAA);
    EXPECT_EQ(bits[2], 0x00);
    nibbles.Unlock();
}

TEST(DrawLine, ExcludesTheEndPointAndTiesGoToY)
{
    CDibSection image;
    ASSERT_EQ(image.Create(8, 8, PF_INDEX8), DIB_OK);
    // A diagonal is a tie: y is the major axis, and the minor step comes only
    // once the error exceeds the major length.
    image.DrawLine(0, 0, 4, 4, 9);
    EXPECT_EQ(image.GetPixel(0, 0), 9u);
    EXPECT_EQ(image.GetPixel(0, 1), 9u);
    EXPECT_EQ(image.GetPixel(1, 2), 9u);
    EXPECT_EQ(image.GetPixel(2, 3), 9u);
    EXPECT_EQ(image.GetPixel(4, 4), 0u);
    image.DrawLine(0, 7, 5, 7, 4); // horizontal: 5 pixels, end excluded
    EXPECT_EQ(image.GetPixel(4, 7), 4u);
    EXPECT_EQ(image.GetPixel(5, 7), 0u);
    image.DrawLine(6, 6, 6, 6, 5); // zero length: nothing
    EXPECT_EQ(image.GetPixel(6, 6), 0u);
    image.DrawLine(7, 0, 7, 3, 3); // vertical, downwards
    EXPECT_EQ(image.GetPixel(7, 2), 3u);
    EXPECT_EQ(image.GetPixel(7, 3), 0u);
}

TEST(DrawLine, ClipsSegmentsFarOutside)
{
    CDibSection image;
    ASSERT_EQ(image.Create(10, 10, PF_RGB565), DIB_OK);
    EXPECT_EQ(image.DrawLine(-1000000, 5, 1000000, 5, 0xFFFF), DIB_OK);
    EXPECT_EQ(image.GetPixel(0, 5), 0xFFFFu);
    EXPECT_EQ(image.GetPixel(8, 5), 0xFFFFu);
    EXPECT_EQ(image.DrawLine(-5, -5, -1, -9, 1), DIB_OK); // both outside on one side
    EXPECT_EQ(image.DrawLine(-2147483647, -2147483647, 2147483647, 2147483647, 7), DIB_OK);
}

TEST(BlendRect, MixesSixteenBitPixelsOnly)
{
    CDibSection image;
    ASSERT_EQ(image.Create(2, 1, PF_RGB555), DIB_OK);
    image.FillRect(0, 0, 2, 1, 0x7FFF);
    ASSERT_EQ(image.BlendRect(0, 0, 1, 1, 1, 0x0000, 128), DIB_OK);
    EXPECT_EQ(image.GetPixel(0, 0), (15u << 10) | (15u << 5) | 15u);
    EXPECT_EQ(image.GetPixel(1, 0), 0x7FFFu);
    ASSERT_EQ(image.BlendRect(1, 0, 1, 1, 2, 0x0000, 128), DIB_OK); // other modes do nothing
    EXPECT_EQ(image.GetPixel(1, 0), 0x7FFFu);
}

TEST(Blit, ClipsKeysMirrorsAndScales)
{
    CDibSection source, target;
    ASSERT_EQ(source.Create(10, 1, PF_INDEX8), DIB_OK);
    ASSERT_EQ(target.Create(6, 2, PF_INDEX8), DIB_OK);
    for (int x = 0; x < 10; ++x)
        source.SetPixel(x, 0, uint32_t(x + 1));
    // Scaling 10 columns to 4 picks source columns 0, 2, 5, 7.
    ASSERT_EQ(target.Draw(0, 0, 4, 1, &source, 0, 0, 10, 1, 0, 0), DIB_OK);
    EXPECT_EQ(target.GetPixel(0, 0), 1u);
    EXPECT_EQ(target.GetPixel(1, 0), 3u);
    EXPECT_EQ(target.GetPixel(2, 0), 6u);
    EXPECT_EQ(target.GetPixel(3, 0), 8u);
    // Source rectangle starting beyond the source: 2.
    EXPECT_EQ(target.Draw(0, 0, 1, 1, &source, 11, 0, 1, 1, 0, 0), DIB_FAILED);
    // Entirely outside the target: 0 and nothing drawn.
    EXPECT_EQ(target.Draw(100, 0, 2, 1, &source, 0, 0, 2, 1, 0, 0), DIB_OK);
    EXPECT_EQ(target.Draw(0, 0, 2, 1, nullptr, 0, 0, 2, 1, 0, 0), DIB_FAILED);
    CDibSection empty;
    EXPECT_EQ(empty.Blit(&target, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0), DIB_NOT_CREATED);

    // Source key 3 is not drawn.
    EXPECT_EQ(source.SetSourceKey(3), DIB_OK);
    target.FillRect(0, 1, 6, 1, 0);
    target.Draw(0, 1, 4, 1, &source, 0, 0, 4, 1, BLIT_SRCKEY, 0);
    EXPECT_EQ(target.GetPixel(1, 1), 2u);
    EXPECT_EQ(target.GetPixel(2, 1), 0u);
    // A mirrored sprite cut by the left edge loses its right-hand columns.
    target.FillRect(0, 1, 6, 1, 0);
    target.Draw(-2, 1, 5, 1, &source, 0, 0, 5, 1, BLIT_MIRROR_X, 0);
    EXPECT_EQ(target.GetPixel(0, 1), 3u);
    EXPECT_EQ(target.GetPixel(2, 1), 1u);
}
