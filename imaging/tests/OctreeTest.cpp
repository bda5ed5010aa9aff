#include "imaging/CColourOctree.h"
#include "imaging/ConvertPixels.h"

#include <gtest/gtest.h>
#include <random>

TEST(Octree, DuplicateColourKeepsTheFirstIndex)
{
    CColourOctree tree;
    bool created = false;
    tree.Insert(10, 20, 30, 4, &created);
    EXPECT_TRUE(created);
    tree.Insert(10, 20, 30, 9, &created);
    EXPECT_FALSE(created);
    EXPECT_EQ(tree.LeafCount(), 1);
    uint8_t r = 10, g = 20, b = 30;
    EXPECT_EQ(tree.FindNearest(r, g, b), 4);
    EXPECT_EQ(tree.FindExact(10, 20, 31), nullptr);
}

TEST(Octree, EmptyTreeHasNoNearest)
{
    CColourOctree tree;
    uint8_t r = 1, g = 2, b = 3;
    EXPECT_EQ(tree.FindNearest(r, g, b), -1);
}

TEST(Octree, NearestWritesTheLeafColourBack)
{
    CColourOctree tree;
    tree.Insert(0, 0, 0, 0);
    tree.Insert(255, 255, 255, 1);
    uint8_t r = 200, g = 190, b = 220;
    EXPECT_EQ(tree.FindNearest(r, g, b), 1);
    EXPECT_EQ(r, 255);
    r = 20, g = 90, b = 3;
    EXPECT_EQ(tree.FindNearest(r, g, b), 0);
    EXPECT_EQ(g, 0);
}

TEST(Octree, MissingChildTakesFewestDifferingBitsLowestFirst)
{
    // Root children 1 (001) and 2 (010) exist; wanted 0 (000) differs from
    // both in one bit, so the lower number, 1, wins.
    CColourOctree tree;
    tree.Insert(0, 0, 200, 7);   // child 1
    tree.Insert(0, 200, 0, 8);   // child 2
    uint8_t r = 0, g = 0, b = 0;
    EXPECT_EQ(tree.FindNearest(r, g, b), 7);
}

TEST(Octree, PassingAboveTheColourKeepsToTheLowSide)
{
    // Red 127 wants child 0 at the root but only the top half exists; from
    // there the search keeps to the lowest red, 128, not 255.
    CColourOctree tree;
    tree.Insert(128, 0, 0, 1);
    tree.Insert(255, 0, 0, 2);
    uint8_t r = 127, g = 0, b = 0;
    EXPECT_EQ(tree.FindNearest(r, g, b), 1);
}

TEST(Octree, RemovingLeavesPrunesEmptyParentsAndReducibleLists)
{
    CColourOctree tree;
    auto* a = tree.Insert(0, 0, 0, 0);
    auto* b = tree.Insert(0, 0, 1, 1); // splits only at the last level
    EXPECT_EQ(tree.ReducibleList(7).Count(), 1u);
    tree.RemoveLeaf(b);
    EXPECT_EQ(tree.ReducibleList(7).Count(), 0u);
    EXPECT_EQ(tree.LeafCount(), 1);
    tree.RemoveLeaf(a);
    EXPECT_EQ(tree.LeafCount(), 0);
    EXPECT_EQ(tree.Root()->childCount, 0);
}

TEST(Octree, NearestIsCloseToExhaustiveOnRandomPalettes)
{
    std::mt19937 random(7);
    PaletteEntry entries[256];
    CColourOctree tree;
    for (int i = 0; i < 256; ++i) {
        entries[i] = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
        tree.Insert(entries[i].red, entries[i].green, entries[i].blue, i);
    }
    long long worse = 0;
    for (int n = 0; n < 2000; ++n) {
        uint8_t r = uint8_t(random()), g = uint8_t(random()), b = uint8_t(random());
        const int wanted[3] = {r, g, b};
        int best = ExhaustiveNearestIndex(entries, 256, r, g, b);
        int index = tree.FindNearest(r, g, b);
        ASSERT_GE(index, 0);
        auto distance = [&](int i) {
            return std::abs(entries[i].red - wanted[0]) + std::abs(entries[i].green - wanted[1]) +
                   std::abs(entries[i].blue - wanted[2]);
        };
        worse += distance(index) - distance(best);
    }
    // The tree search is a fast approximation: on average within a few levels.
    EXPECT_LT(worse / 2000, 40);
}
