#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "imaging/ConvertPixels.h"

#include <gtest/gtest.h>
#include <vector>

TEST(ConvertPixels, RescaleWidensWithZerosAndTruncates)
{
    uint16_t in555 = (31 << 10) | (31 << 5) | 7;
    uint16_t out565 = 0;
    EXPECT_TRUE(ConvertPixels(reinterpret_cast<uint8_t*>(&out565), PF_RGB565, reinterpret_cast<uint8_t*>(&in555), 1, 1, 2,
                  2, PF_RGB555, nullptr, nullptr, 0));
    EXPECT_EQ(out565, (31 << 11) | (62 << 5) | 7);
    uint16_t back = 0;
    EXPECT_TRUE(ConvertPixels(reinterpret_cast<uint8_t*>(&back), PF_RGB555, reinterpret_cast<uint8_t*>(&out565), 1, 1, 2, 2,
                  PF_RGB565, nullptr, nullptr, 0));
    EXPECT_EQ(back, in555);

    const uint8_t rgb24[3] = {7, 128, 255}; // blue, green, red in memory
    uint16_t out555 = 0;
    EXPECT_TRUE(ConvertPixels(reinterpret_cast<uint8_t*>(&out555), PF_RGB555, rgb24, 1, 1, 2, 3, PF_RGB24, nullptr, nullptr, 0));
    EXPECT_EQ(out555, (31 << 10) | (16 << 5) | 0);

    uint8_t out32[4] = {1, 1, 1, 1};
    EXPECT_TRUE(ConvertPixels(out32, PF_BGR32, reinterpret_cast<uint8_t*>(&in555), 1, 1, 4, 2, PF_RGB555, nullptr, nullptr, 0));
    EXPECT_EQ(out32[0], 248); // red first in memory
    EXPECT_EQ(out32[2], 56);
    EXPECT_EQ(out32[3], 0); // the byte that is no channel
}

TEST(ConvertPixels, DiffusionOfAUniformDarkAreaReachesOneAtTheFourthPixel)
{
    const int w = 8, h = 3;
    std::vector<uint8_t> source(size_t(w) * 3 * h, 4);
    std::vector<uint16_t> target(size_t(w) * h, 0xFFFF);
    EXPECT_TRUE(ConvertPixels(reinterpret_cast<uint8_t*>(target.data()), PF_RGB555, source.data(), w, h, w * 2, w * 3,
                  PF_RGB24, nullptr, nullptr, CONVERT_DITHER));
    EXPECT_EQ(target[0], 0);
    EXPECT_EQ(target[1], 0);
    EXPECT_EQ(target[2], 0);
    EXPECT_EQ(target[3], (1 << 10) | (1 << 5) | 1);
    int lit = 0;
    for (uint16_t p : target)
        lit += p != 0;
    EXPECT_GT(lit, 0);
    EXPECT_LT(lit, w * h);
}

TEST(ConvertPixels, IndexedToIndexedKeepsIndicesExceptSharedColours)
{
    std::vector<PaletteEntry> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i ^ 0x55), 0};
    palette[9] = palette[4]; // two entries share a colour
    std::vector<uint8_t> source(256), target(256);
    for (int i = 0; i < 256; ++i)
        source[i] = uint8_t(i);
    EXPECT_TRUE(ConvertPixels(target.data(), PF_INDEX8, source.data(), 256, 1, 256, 256, PF_INDEX8, palette.data(),
                  palette.data(), 0));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(target[i], i == 9 ? 4 : i) << i;
}

TEST(ConvertPixels, DiffusionIntoAPaletteWithoutBlackNeverGivesWhite)
{
    std::vector<PaletteEntry> palette(256, PaletteEntry{255, 255, 255, 0});
    palette[1] = {40, 40, 40, 0};
    palette[2] = {90, 90, 90, 0};
    const int w = 16, h = 16;
    std::vector<uint8_t> source(size_t(w) * h * 3, 0), target(size_t(w) * h, 0);
    for (uint32_t flags : {CONVERT_DITHER, CONVERT_DITHER | CONVERT_OCTREE}) {
        EXPECT_TRUE(ConvertPixels(target.data(), PF_INDEX8, source.data(), w, h, w, w * 3, PF_RGB24, palette.data(), nullptr,
                      flags));
        for (uint8_t index : target)
            ASSERT_EQ(index, 1) << flags;
    }
}

TEST(ConvertPixels, ReservedEntriesAreNeverChosen)
{
    std::vector<PaletteEntry> palette(256, PaletteEntry{255, 255, 255, 0});
    palette[0] = {0, 0, 0, PALETTE_FLAG_RESERVED};
    palette[1] = {10, 10, 10, 0};
    const uint8_t black[3] = {0, 0, 0};
    for (uint32_t flags : {0u, CONVERT_DITHER, CONVERT_DITHER | CONVERT_OCTREE}) {
        uint8_t index = 0xEE;
        EXPECT_TRUE(ConvertPixels(&index, PF_INDEX8, black, 1, 1, 4, 4, PF_RGB24, palette.data(), nullptr, flags));
        EXPECT_EQ(index, 1) << flags;
    }
}

TEST(ConvertPixels, MissingPalettesAndSmallFormatsConvertNothing)
{
    uint8_t source[4] = {1, 2, 3, 4}, target[4] = {9, 9, 9, 9};
    EXPECT_FALSE(ConvertPixels(target, PF_RGB24, source, 1, 1, 4, 4, PF_INDEX8, nullptr, nullptr, 0));
    EXPECT_FALSE(ConvertPixels(target, PF_INDEX4, source, 1, 1, 4, 4, PF_RGB24, nullptr, nullptr, 0));
    EXPECT_EQ(target[0], 9);
}

TEST(ConvertFormat, IndexedImageToHighColourAndBack)
{
    CDibSection image;
    ASSERT_EQ(image.Create(5, 3, PF_INDEX8), DIB_OK);
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    PaletteEntry colours[3] = {{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 0, 255, 0}};
    palette->SetEntries(colours, 0, 3);
    EXPECT_EQ(image.SetPalette(palette), DIB_OK);
    image.SetPixel(1, 1, 1);
    image.SetPixel(4, 2, 2);
    image.SetFrameCount(3);
    ASSERT_EQ(image.ConvertFormat(PF_RGB555, nullptr, 0), DIB_OK);
    EXPECT_EQ(image.GetFormat(), PF_RGB555);
    EXPECT_EQ(image.GetPixel(1, 1), 0x7C00u);
    EXPECT_EQ(image.GetPixel(4, 2), 0x001Fu);
    EXPECT_EQ(image.GetFrameCount(), 3);
    ASSERT_EQ(image.ConvertFormat(PF_INDEX8, palette, 0), DIB_OK);
    EXPECT_EQ(image.GetPixel(1, 1), 1u);
    EXPECT_EQ(image.GetPixel(4, 2), 2u);
    EXPECT_EQ(image.GetPixel(0, 0), 0u);
    palette->Release();
}
