#include "imaging/CColourBoxQuantizer.h"
#include "imaging/CColourKMeansQuantizer.h"
#include "imaging/CNearestColourMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace {

int BruteNearest(const std::vector<PaletteEntry>& palette, int r, int g, int b)
{
    int best = -1, bestDistance = 1 << 30;
    for (size_t i = 0; i < palette.size(); ++i) {
        if (palette[i].flags == PALETTE_FLAG_RESERVED)
            continue;
        const int dr = r - palette[i].red, dg = g - palette[i].green, db = b - palette[i].blue;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = int(i);
        }
    }
    return best;
}

// Clustered noise: a handful of centres with pixels scattered round them.
std::vector<uint8_t> ClusteredPicture(int pixels, std::mt19937& random)
{
    std::vector<uint8_t> bits(size_t(pixels) * 3);
    std::array<std::array<int, 3>, 12> centres;
    for (auto& c : centres)
        for (int& v : c)
            v = int(random() % 256);
    std::normal_distribution<double> spread(0, 14);
    for (int i = 0; i < pixels; ++i) {
        const auto& c = centres[random() % centres.size()];
        for (int k = 0; k < 3; ++k)
            bits[size_t(i) * 3 + size_t(k)] = uint8_t(std::clamp(int(c[size_t(k)] + spread(random)), 0, 255));
    }
    return bits;
}

double SquaredError(const std::vector<uint8_t>& bgr, const std::array<PaletteEntry, 256>& palette, int count)
{
    CNearestColourMap map(palette.data(), count);
    double error = 0;
    for (size_t i = 0; i < bgr.size(); i += 3) {
        const PaletteEntry& e = palette[size_t(map.Nearest(bgr[i + 2], bgr[i + 1], bgr[i]))];
        const int dr = bgr[i + 2] - e.red, dg = bgr[i + 1] - e.green, db = bgr[i] - e.blue;
        error += dr * dr + dg * dg + db * db;
    }
    return error;
}

} // namespace

TEST(QuantizeNearestMap, AgreesWithTheFullSearchIncludingTiesAndReservedEntries)
{
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        const int count = 1 + int(random() % 256);
        std::vector<PaletteEntry> palette(static_cast<size_t>(count));
        for (auto& e : palette) {
            // A coarse grid makes equal distances and duplicates common.
            e = {uint8_t(random() % 9 * 32), uint8_t(random() % 9 * 32), uint8_t(random() % 9 * 32),
                 uint8_t(random() % 8 == 0 ? PALETTE_FLAG_RESERVED : 0)};
        }
        CNearestColourMap map(palette.data(), count);
        for (int i = 0; i < 3000; ++i) {
            const int r = int(random() % 256), g = int(random() % 256), b = int(random() % 256);
            ASSERT_EQ(map.Nearest(uint8_t(r), uint8_t(g), uint8_t(b)), BruteNearest(palette, r, g, b))
                << "round " << round << " colour " << r << "," << g << "," << b;
        }
    }
}

TEST(QuantizeNearestMap, MapsPicturesAndCopesWithNoUsableEntry)
{
    const std::array<PaletteEntry, 3> palette = {{{0, 0, 0, 0}, {255, 255, 255, 0}, {250, 0, 0, 0}}};
    CNearestColourMap map(palette.data(), 3);
    // Two rows, stored bottom-up: the first row in memory is the picture's last.
    const uint8_t bgr[2][6] = {{0, 0, 200, 10, 10, 10}, {240, 240, 240, 0, 0, 255}};
    uint8_t indices[2][2] = {};
    map.MapPixels(&indices[0][0], 2, &bgr[1][0], -6, 2, 2);
    EXPECT_EQ(indices[0][0], 1);
    EXPECT_EQ(indices[0][1], 2);
    EXPECT_EQ(indices[1][0], 2);
    EXPECT_EQ(indices[1][1], 0);

    const std::array<PaletteEntry, 2> reserved = {{{1, 2, 3, PALETTE_FLAG_RESERVED}, {4, 5, 6, PALETTE_FLAG_RESERVED}}};
    CNearestColourMap none(reserved.data(), 2);
    EXPECT_EQ(none.Nearest(1, 2, 3), -1);
    uint8_t out[2] = {9, 9};
    none.MapPixels(out, 2, &bgr[0][0], 6, 2, 1);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(CNearestColourMap(nullptr, 5).Nearest(0, 0, 0), -1);
}

// Ordered dithering between two greys 64 apart: in every 8 x 8 block a grey
// g takes the lighter entry at about g of the 64 pixels, so the block's mean
// is the input's, every level from one entry to the other, at every place
// in the picture. A colour the palette holds stays undithered, and a spread
// of 0 is the plain mapping.
TEST(QuantizeNearestMap, OrderedDitherBlendsNeighboursInTheRightShare)
{
    const std::array<PaletteEntry, 2> greys = {{{0, 0, 0, 0}, {64, 64, 64, 0}}};
    CNearestColourMap map(greys.data(), 2);
    constexpr int kSide = 16; // four blocks, so the pattern repeats
    std::vector<uint8_t> bgr(kSide * kSide * 3);
    std::vector<uint8_t> indices(kSide * kSide);
    for (int g = 0; g <= 64; ++g) {
        std::fill(bgr.begin(), bgr.end(), uint8_t(g));
        map.MapPixelsOrdered(indices.data(), kSide, bgr.data(), kSide * 3, kSide, kSide, 64);
        for (int by = 0; by < kSide; by += 8)
            for (int bx = 0; bx < kSide; bx += 8) {
                int lighter = 0;
                for (int y = by; y < by + 8; ++y)
                    for (int x = bx; x < bx + 8; ++x)
                        lighter += indices[size_t(y * kSide + x)];
                EXPECT_LE(std::abs(lighter - g), 1) << "grey " << g << " block " << bx << "," << by;
                if (g == 0 || g == 64) {
                    EXPECT_EQ(lighter, g);
                }
            }
    }

    std::mt19937 random(5);
    for (auto& v : bgr)
        v = uint8_t(random());
    std::vector<uint8_t> plain(indices.size());
    map.MapPixels(plain.data(), kSide, bgr.data(), kSide * 3, kSide, kSide);
    map.MapPixelsOrdered(indices.data(), kSide, bgr.data(), kSide * 3, kSide, kSide, 0);
    EXPECT_EQ(indices, plain);
}

TEST(QuantizeKMeans, FewColoursComeBackExactly)
{
    CColourKMeansQuantizer q(256);
    const std::vector<uint8_t> bits = {3, 2, 1, 3, 2, 1, 200, 100, 50, 7, 7, 7};
    q.AddPixels(bits.data(), 4, 1, 12, nullptr, nullptr, 0);
    std::array<PaletteEntry, 256> entries{};
    ASSERT_EQ(q.BuildPalette(entries.data()), 3);
    std::vector<std::array<int, 3>> colours;
    for (int i = 0; i < 3; ++i)
        colours.push_back({entries[size_t(i)].red, entries[size_t(i)].green, entries[size_t(i)].blue});
    std::sort(colours.begin(), colours.end());
    EXPECT_EQ(colours, (std::vector<std::array<int, 3>>{{1, 2, 3}, {7, 7, 7}, {50, 100, 200}}));
}

TEST(QuantizeKMeans, LowersTheErrorOfTheBoxPaletteItStartsFrom)
{
    std::mt19937 random(5);
    const std::vector<uint8_t> bits = ClusteredPicture(40000, random);
    for (int colours : {4, 16, 64}) {
        CColourBoxQuantizer box(colours, 6);
        CColourKMeansQuantizer kmeans(colours);
        box.AddPixels(bits.data(), 200, 200, 600, nullptr, nullptr, 0);
        kmeans.AddPixels(bits.data(), 200, 200, 600, nullptr, nullptr, 0);
        std::array<PaletteEntry, 256> boxPalette{}, kmeansPalette{};
        const int boxCount = box.BuildPalette(boxPalette.data());
        const int kmeansCount = kmeans.BuildPalette(kmeansPalette.data());
        EXPECT_EQ(boxCount, kmeansCount);
        EXPECT_GE(kmeans.PassesRun(), 1);
        EXPECT_LT(SquaredError(bits, kmeansPalette, kmeansCount), 0.8 * SquaredError(bits, boxPalette, boxCount))
            << colours << " colours";
    }
}

TEST(QuantizeKMeans, NothingAddedGivesNothing)
{
    CColourKMeansQuantizer q(16);
    std::array<PaletteEntry, 256> entries{};
    EXPECT_EQ(q.BuildPalette(entries.data()), 0);
    EXPECT_EQ(q.BuildPalette(nullptr), 0);
}
