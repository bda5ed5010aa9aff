#include "imaging/PixelFormat.h"

#include <gtest/gtest.h>

TEST(PixelFormat, DescribesChannelsFromTheCode)
{
    ChannelSet rgb555 = DescribeChannels(PF_RGB555);
    EXPECT_EQ(rgb555.red.offset, 10u);
    EXPECT_EQ(rgb555.green.offset, 5u);
    EXPECT_EQ(rgb555.blue.offset, 0u);
    EXPECT_EQ(rgb555.red.mask, 0x7C00u);
    ChannelSet bgr565 = DescribeChannels(PF_BGR565);
    EXPECT_EQ(bgr565.blue.mask, 0xF800u);
    EXPECT_EQ(bgr565.green.mask, 0x7E0u);
    EXPECT_EQ(bgr565.red.mask, 0x1Fu);
    ChannelSet bgr24 = DescribeChannels(PF_BGR24);
    EXPECT_EQ(bgr24.red.offset, 0u);
    EXPECT_EQ(bgr24.blue.offset, 16u);
    EXPECT_EQ(PixelFormatBytes(PF_RGB32), 4u);
    EXPECT_TRUE(PixelFormatIsIndexed(PF_INDEX4));
    EXPECT_EQ(PixelFormatBits(PF_INDEX8), 8u);
}

TEST(PixelFormat, RowPitchRoundsToFourBytes)
{
    EXPECT_EQ(PixelFormatRowPitch(PF_INDEX8, 3), 4u);
    EXPECT_EQ(PixelFormatRowPitch(PF_RGB24, 3), 12u);
    EXPECT_EQ(PixelFormatRowPitch(PF_INDEX4, 5), 4u);
    EXPECT_EQ(PixelFormatRowPitch(PF_INDEX1, 33), 8u);
    EXPECT_EQ(PixelFormatRowPitch(PF_RGB555, 1), 4u);
    EXPECT_EQ(PixelFormatRowPitch(PF_INDEX8, 0), 0u);
    EXPECT_EQ(PixelFormatRowPitch(PF_INDEX8, 65536), 0u);
    EXPECT_EQ(PixelFormatRowPitch(0x12345678, 10), 0u);
}
