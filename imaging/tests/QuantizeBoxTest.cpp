#include "imaging/CColourBoxQuantizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using Colour = std::array<uint8_t, 3>; // red, green, blue

std::vector<uint8_t> Row(const std::vector<Colour>& colours)
{
    std::vector<uint8_t> bits;
    for (const Colour& c : colours)
        bits.insert(bits.end(), {c[2], c[1], c[0]});
    return bits;
}

void Add(CColourQuantizer& q, const std::vector<Colour>& colours)
{
    const std::vector<uint8_t> bits = Row(colours);
    q.AddPixels(bits.data(), int(colours.size()), 1, int(bits.size()), nullptr, nullptr, 0);
}

std::vector<Colour> BoxPalette(CColourQuantizer& q)
{
    std::array<PaletteEntry, 256> entries{};
    const int count = q.BuildPalette(entries.data());
    std::vector<Colour> colours;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[size_t(i)].flags, 0);
        colours.push_back({entries[size_t(i)].red, entries[size_t(i)].green, entries[size_t(i)].blue});
    }
    return colours;
}

} // namespace

TEST(QuantizeBox, BlackAndWhiteSplitAlongRedIntoBinCentres)
{
    CColourBoxQuantizer q(256, 5);
    Add(q, {{0, 0, 0}, {255, 255, 255}, {255, 255, 255}});
    EXPECT_EQ(BoxPalette(q), (std::vector<Colour>{{0, 0, 0}, {248, 248, 248}}));
}

TEST(QuantizeBox, StopsWhenEveryBoxIsOneBin)
{
    // Four occupied 6-bit bins (two pixels share one) give four entries.
    CColourBoxQuantizer q(256, 6);
    Add(q, {{9, 200, 3}, {10, 201, 2}, {100, 0, 50}, {255, 1, 128}, {0, 0, 0}});
    const auto palette = BoxPalette(q);
    ASSERT_EQ(palette.size(), 4u);
    for (const Colour& expected : std::vector<Colour>{{8, 200, 0}, {100, 0, 48}, {252, 0, 128}, {0, 0, 0}})
        EXPECT_NE(std::find(palette.begin(), palette.end(), expected), palette.end());
    EXPECT_EQ(q.BinCount(2, 50, 0), 2u);
    EXPECT_EQ(q.BinCount(64, 0, 0), 0u); // outside the histogram
}

TEST(QuantizeBox, OneColourIsTheCentreOfTheOccupiedRange)
{
    CColourBoxQuantizer q(1, 5);
    Add(q, {{8, 16, 24}, {40, 80, 200}, {40, 80, 200}});
    // Bins red 1..5, green 2..10, blue 3..25.
    EXPECT_EQ(BoxPalette(q), (std::vector<Colour>{{3 << 3, 6 << 3, 14 << 3}}));
}

TEST(QuantizeBox, GreenWinsATieWithBlue)
{
    CColourBoxQuantizer q(2, 5);
    Add(q, {{0, 0, 0}, {0, 255, 0}, {0, 0, 255}});
    // Green is split: black and blue stay together (blue 0..31, centre 15).
    EXPECT_EQ(BoxPalette(q), (std::vector<Colour>{{0, 0, 120}, {0, 248, 0}}));
}

TEST(QuantizeBox, SplitsTheWidestBoxNextAndAppendsTheNewHalf)
{
    CColourBoxQuantizer q(3, 5);
    // Red splits first: the low half holds two close greys, the high half a
    // heavy pair of far-apart reds, which is split next.
    std::vector<Colour> colours = {{0, 0, 0}, {8, 8, 8}};
    for (int i = 0; i < 10; ++i)
        colours.insert(colours.end(), {{255, 0, 0}, {255, 0, 255}});
    Add(q, colours);
    EXPECT_EQ(BoxPalette(q), (std::vector<Colour>{{0, 0, 0}, {248, 0, 0}, {248, 0, 248}}));
}

TEST(QuantizeBox, SpreadsBeyond32BitsStillPickTheWidestBox)
{
    // Black with one cyan pixel per picture against white with two
    // (255,4,4) pixels: after the first split the white box is the wider by
    // a little, but its spread passes 2^32 (a 32-bit sum would wrap and
    // split the black box instead).
    const int width = 1000, height = 1000, adds = 5;
    std::vector<uint8_t> bits(size_t(width) * height * 3, 255);
    const int black = 446600;
    std::fill(bits.begin(), bits.begin() + size_t(black) * 3, 0);
    auto set = [&](int pixel, Colour c) {
        bits[size_t(pixel) * 3] = c[2];
        bits[size_t(pixel) * 3 + 1] = c[1];
        bits[size_t(pixel) * 3 + 2] = c[0];
    };
    set(black, {0, 255, 255});
    set(black + 1, {255, 4, 4});
    set(black + 2, {255, 4, 4});
    CColourBoxQuantizer q(3, 6);
    for (int i = 0; i < adds; ++i)
        q.AddPixels(bits.data(), width, height, width * 3, nullptr, nullptr, 0);
    EXPECT_EQ(BoxPalette(q), (std::vector<Colour>{{0, 124, 124}, {252, 4, 4}, {252, 252, 252}}));
}

TEST(QuantizeBox, NothingCountedGivesNoEntries)
{
    CColourBoxQuantizer q(256, 5);
    std::array<PaletteEntry, 256> entries{};
    entries[0].red = 77;
    EXPECT_EQ(q.BuildPalette(entries.data()), 0);
    EXPECT_EQ(entries[0].red, 77);
    EXPECT_EQ(q.BuildPalette(nullptr), 0);
    EXPECT_EQ(CColourBoxQuantizer(256, 4).Bits(), 5);
    EXPECT_EQ(CColourBoxQuantizer(256, 8).Bits(), 6);
}
