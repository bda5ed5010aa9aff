#include "imaging/CColourOctreeQuantizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace {

// A 24-bit picture (blue, green, red) with a little slack at the row ends.
struct Picture {
    int width, height, pitch;
    std::vector<uint8_t> bits;
    Picture(int w, int h) : width(w), height(h), pitch(w * 3 + 5), bits(size_t(pitch) * h, 0) {}
    void Set(int x, int y, uint8_t r, uint8_t g, uint8_t b)
    {
        uint8_t* p = &bits[size_t(y) * pitch + size_t(x) * 3];
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
};

void AddColours(CColourOctreeQuantizer& q, const std::vector<std::array<uint8_t, 3>>& colours)
{
    Picture picture(int(colours.size()), 1);
    for (size_t i = 0; i < colours.size(); ++i)
        picture.Set(int(i), 0, colours[i][0], colours[i][1], colours[i][2]);
    q.AddPixels(picture.bits.data(), picture.width, 1, picture.pitch, nullptr, nullptr, 0);
}

std::vector<PaletteEntry> OctreePalette(CColourQuantizer& q)
{
    std::array<PaletteEntry, 256> entries{};
    const int count = q.BuildPalette(entries.data());
    return {entries.begin(), entries.begin() + count};
}

bool Same(const PaletteEntry& e, int r, int g, int b) { return e.red == r && e.green == g && e.blue == b; }

} // namespace

TEST(QuantizeOctree, FewerColoursThanTheLimitComeBackExactlyInTreeOrder)
{
    CColourOctreeQuantizer q(256);
    AddColours(q, {{200, 10, 10}, {0, 0, 0}, {0, 0, 1}, {200, 10, 10}, {128, 255, 3}, {0, 0, 0}});
    const auto palette = OctreePalette(q);
    ASSERT_EQ(palette.size(), 4u);
    // Tree order sorts by the interleaved bits, most significant first.
    EXPECT_TRUE(Same(palette[0], 0, 0, 0));
    EXPECT_TRUE(Same(palette[1], 0, 0, 1));
    EXPECT_TRUE(Same(palette[2], 200, 10, 10)); // top bits red only: child 4
    EXPECT_TRUE(Same(palette[3], 128, 255, 3)); // red and green: child 6
    for (const PaletteEntry& e : palette)
        EXPECT_EQ(e.flags, 0);
}

TEST(QuantizeOctree, OneColourHoldsTheTruncatedAverageOfEveryPixel)
{
    CColourOctreeQuantizer q(1);
    AddColours(q, {{10, 20, 30}, {11, 20, 31}, {200, 100, 0}, {13, 255, 7}});
    const auto palette = OctreePalette(q);
    ASSERT_EQ(palette.size(), 1u);
    EXPECT_TRUE(Same(palette[0], (10 + 11 + 200 + 13) / 4, (20 + 20 + 100 + 255) / 4, (30 + 31 + 0 + 7) / 4));
    EXPECT_EQ(q.LeafCount(), 1);
}

TEST(QuantizeOctree, MergesTheDeepestNeighboursWithTheirCountsNotTheFarColour)
{
    // 100 and 101 share a node at depth 7; black only meets them at the root.
    CColourOctreeQuantizer q(2);
    AddColours(q, {{100, 100, 100}, {101, 101, 101}, {101, 101, 101}, {101, 101, 101}, {0, 0, 0}});
    const auto palette = OctreePalette(q);
    ASSERT_EQ(palette.size(), 2u);
    EXPECT_TRUE(Same(palette[0], 0, 0, 0));
    EXPECT_TRUE(Same(palette[1], 100, 100, 100)); // 403 / 4, truncated
}

TEST(QuantizeOctree, AMergedColourThatExistsJoinsThatLeaf)
{
    // (0,0,3) and (4,4,5) are the first and last leaves of the node covering
    // 0..7; their average (2,2,4) is already a leaf between them.
    CColourOctreeQuantizer q(2);
    AddColours(q, {{0, 0, 3}, {2, 2, 4}, {4, 4, 5}});
    const auto palette = OctreePalette(q);
    ASSERT_EQ(palette.size(), 1u);
    EXPECT_TRUE(Same(palette[0], 2, 2, 4));
    int leaves = 0;
    q.Tree().ForEachLeaf([&](const CColourOctree::Node& leaf) {
        ++leaves;
        EXPECT_EQ(leaf.pixelCount, 3u);
        EXPECT_EQ(leaf.sumRed, 6u);
        EXPECT_EQ(leaf.sumGreen, 6u);
        EXPECT_EQ(leaf.sumBlue, 12u);
    });
    EXPECT_EQ(leaves, 1);
}

TEST(QuantizeOctree, MergingKeepsEveryPixelAndItsColourSums)
{
    std::mt19937 random(3);
    for (int limit : {1, 2, 7, 64, 256}) {
        CColourOctreeQuantizer q(limit);
        Picture picture(61, 23);
        uint64_t sums[3] = {0, 0, 0};
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                // Clustered colours, so merges also land on existing leaves.
                const uint8_t r = uint8_t(random() % 6 * 40), g = uint8_t(random() & 0xFF), b = uint8_t(random() % 3);
                picture.Set(x, y, r, g, b);
                sums[0] += r, sums[1] += g, sums[2] += b;
            }
        q.AddPixels(picture.bits.data(), picture.width, picture.height, picture.pitch, nullptr, nullptr, 0);
        uint64_t count = 0, red = 0, green = 0, blue = 0;
        q.Tree().ForEachLeaf([&](const CColourOctree::Node& leaf) {
            count += leaf.pixelCount;
            red += leaf.sumRed;
            green += leaf.sumGreen;
            blue += leaf.sumBlue;
        });
        EXPECT_EQ(count, uint64_t(picture.width) * picture.height) << limit;
        EXPECT_EQ(red, sums[0]) << limit;
        EXPECT_EQ(green, sums[1]) << limit;
        EXPECT_EQ(blue, sums[2]) << limit;
        EXPECT_LE(q.LeafCount(), limit);
        EXPECT_EQ(int(OctreePalette(q).size()), q.LeafCount());
    }
}

TEST(QuantizeOctree, SamplingTakesOnePixelPerWholeBlockAndIsReproducible)
{
    // 9 × 6: only the 8 × 4 top-left area counts, two blocks.
    Picture picture(9, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x)
            picture.Set(x, y, uint8_t(x * 16 + y), uint8_t(x < 4 ? 0 : 255), uint8_t(y));
    std::vector<int> progress;
    auto report = [](void* argument, int percent) { static_cast<std::vector<int>*>(argument)->push_back(percent); };
    CColourOctreeQuantizer a(256), b(256), c(256);
    a.AddPixels(picture.bits.data(), 9, 6, picture.pitch, report, &progress, QUANTIZE_SAMPLE);
    b.AddPixels(picture.bits.data(), 9, 6, picture.pitch, nullptr, nullptr, QUANTIZE_SAMPLE);
    EXPECT_EQ(progress, std::vector<int>{0}); // one block row
    const auto pa = OctreePalette(a), pb = OctreePalette(b);
    ASSERT_EQ(pa.size(), 2u);
    ASSERT_EQ(pb.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(Same(pa[i], pb[i].red, pb[i].green, pb[i].blue));
        EXPECT_LT(pa[i].blue, 4); // from the first four rows
    }
    EXPECT_EQ(pa[0].green, 0);   // the left block
    EXPECT_EQ(pa[1].green, 255); // the right block
    EXPECT_LT(pa[0].red / 16, 4);
    EXPECT_GE(pa[1].red / 16, 4);

    // Other seeds pick other pixels; a picture under 4 pixels high adds none.
    std::vector<uint32_t> seen;
    for (uint32_t seed = 1; seed <= 16; ++seed) {
        CColourOctreeQuantizer s(256);
        s.SetSampleSeed(seed);
        s.AddPixels(picture.bits.data(), 9, 6, picture.pitch, nullptr, nullptr, QUANTIZE_SAMPLE);
        const auto p = OctreePalette(s);
        seen.push_back(uint32_t(p[0].red) << 8 | p[0].blue);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_GT(std::unique(seen.begin(), seen.end()) - seen.begin(), 4);
    c.AddPixels(picture.bits.data(), 9, 3, picture.pitch, nullptr, nullptr, QUANTIZE_SAMPLE);
    EXPECT_TRUE(OctreePalette(c).empty());
}

TEST(QuantizeOctree, ProgressIsReportedPerRowAndSkippedColoursAreNotCounted)
{
    Picture picture(2, 3);
    picture.Set(0, 0, 255, 0, 0);
    picture.Set(1, 2, 0, 0, 255);
    std::vector<int> progress;
    auto report = [](void* argument, int percent) { static_cast<std::vector<int>*>(argument)->push_back(percent); };
    CColourOctreeQuantizer q(256);
    q.SkipMap()[0] = 1; // black, the rest of the picture
    q.AddPixels(picture.bits.data(), 2, 3, picture.pitch, report, &progress, 0);
    EXPECT_EQ(progress, (std::vector<int>{0, 33, 66}));
    EXPECT_EQ(OctreePalette(q).size(), 3u); // the map is off by default

    CColourOctreeQuantizer skipping(256);
    skipping.SkipMap()[0] = 1;
    skipping.SkipMap()[31 << 10] = 1; // red
    skipping.SetUseSkipMap(true);
    skipping.AddPixels(picture.bits.data(), 2, 3, picture.pitch, nullptr, nullptr, 0);
    const auto palette = OctreePalette(skipping);
    ASSERT_EQ(palette.size(), 1u);
    EXPECT_TRUE(Same(palette[0], 0, 0, 255));
}

TEST(QuantizeOctree, RejectsUnreadableInputAndClampsTheLimit)
{
    Picture picture(4, 4);
    CColourOctreeQuantizer q(256);
    q.AddPixels(nullptr, 4, 4, picture.pitch, nullptr, nullptr, 0);
    q.AddPixels(picture.bits.data(), 0, 4, picture.pitch, nullptr, nullptr, 0);
    q.AddPixels(picture.bits.data(), 4, -1, picture.pitch, nullptr, nullptr, 0);
    q.AddPixels(picture.bits.data(), 4, 4, 11, nullptr, nullptr, 0); // rows shorter than 4 pixels
    EXPECT_EQ(q.LeafCount(), 0);
    EXPECT_EQ(q.BuildPalette(nullptr), 0);
    EXPECT_TRUE(OctreePalette(q).empty());
    // Rows may run upwards.
    q.AddPixels(picture.bits.data() + 3 * picture.pitch, 4, 4, -picture.pitch, nullptr, nullptr, 0);
    EXPECT_EQ(q.LeafCount(), 1);

    EXPECT_EQ(CColourOctreeQuantizer(0).MaxColours(), 1);
    EXPECT_EQ(CColourOctreeQuantizer(100000).MaxColours(), 256);
}
