// The paint tools' pixel work at every depth: lines with both ends and
// clipping, the flood fill's borders, and the colours read back.

#include "EditorTestSupport.h"

#include "editor/PaintOps.h"

#include <gtest/gtest.h>

using namespace edtest;

namespace {

// A picture of index 0 everywhere whose palette holds black, white, red,
// green, blue, then grey levels.
void IndexedCanvas(CDibSection& section, PixelFormat format, int width, int height)
{
    FillSection(section, format, width, height, 1);
    const int count = 1 << PixelFormatBits(format);
    std::vector<PaletteEntry> entries(static_cast<size_t>(count));
    const PaletteEntry first[] = {{0, 0, 0, 0}, {255, 255, 255, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}};
    for (int i = 0; i < count; ++i)
        entries[size_t(i)] = i < 5 ? first[i] : PaletteEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
    section.GetPalette()->SetEntries(entries.data(), 0, count);
    std::fill(section.Bits(), section.Bits() + size_t(section.Pitch()) * size_t(height), uint8_t(0));
}

// The picture's pixels as colours, one character each: '.' black, 'w'
// white, 'r' red, '?' anything else; rows top first.
std::string Drawing(CDib& picture)
{
    std::string text;
    for (int y = 0; y < picture.GetHeight(); ++y) {
        for (int x = 0; x < picture.GetWidth(); ++x) {
            EditorColour c;
            EXPECT_TRUE(ColourAt(picture, x, y, c));
            text += c == EditorColour{0, 0, 0} ? '.' : c == EditorColour{255, 255, 255} ? 'w'
                                                  : c == EditorColour{255, 0, 0}       ? 'r'
                                                                                         : '?';
        }
        text += '\n';
    }
    return text;
}

constexpr EditorColour kRed{255, 0, 0};
constexpr EditorColour kWhite{255, 255, 255};

} // namespace

TEST(PaintOpsTest, LinesIncludeBothEndsAndAreClippedAtEveryDepth)
{
    for (PixelFormat format : {PF_INDEX1, PF_INDEX2, PF_INDEX4, PF_INDEX8}) {
        CDibSection canvas;
        IndexedCanvas(canvas, format, 9, 4);
        // From outside the left edge to the middle, then down past the bottom.
        const PaintRect first = PaintLine(canvas, -3, 1, 4, 1, kWhite);
        PaintLine(canvas, 6, 2, 6, 9, format == PF_INDEX1 ? kWhite : kRed);
        const char stroke = format == PF_INDEX1 ? 'w' : 'r';
        EXPECT_EQ(Drawing(canvas), std::string(".........\nwwwww....\n......") + stroke + "..\n......" + stroke +
                                       "..\n")
            << std::hex << format;
        EXPECT_EQ(first.left, 0);
        EXPECT_EQ(first.right, 5);
        EXPECT_EQ(first.top, 1);
        EXPECT_EQ(first.bottom, 2);
    }
    // Entirely outside: nothing changes, nothing reported.
    CDibSection canvas;
    IndexedCanvas(canvas, PF_INDEX8, 4, 4);
    EXPECT_TRUE(PaintLine(canvas, -5, -1, 10, -1, kWhite).IsEmpty());
    EXPECT_EQ(Drawing(canvas), "....\n....\n....\n....\n");
}

TEST(PaintOpsTest, DirectColoursAreNarrowedAndReadBackWidened)
{
    CDibSection canvas;
    FillSection(canvas, PF_RGB555, 3, 1, 2);
    PaintLine(canvas, 0, 0, 2, 0, EditorColour{255, 128, 8});
    EXPECT_EQ(canvas.GetPixel(1, 0), (31u << 10) | (16u << 5) | 1u);
    EditorColour read;
    ASSERT_TRUE(ColourAt(canvas, 1, 0, read));
    EXPECT_GE(read.red, 248);
    EXPECT_NEAR(read.green, 128, 4);
    EXPECT_NEAR(read.blue, 8, 4);
    EXPECT_FALSE(ColourAt(canvas, 3, 0, read));
    EXPECT_FALSE(ColourAt(canvas, 0, -1, read));
}

TEST(PaintOpsTest, FillKeepsToItsFourConnectedRegion)
{
    CDibSection canvas;
    IndexedCanvas(canvas, PF_INDEX4, 6, 5);
    // A white ring, closed only diagonally at one corner: the fill must not
    // leak through the diagonal gap.
    PaintLine(canvas, 1, 1, 4, 1, kWhite);
    PaintLine(canvas, 1, 1, 1, 3, kWhite);
    PaintLine(canvas, 2, 4, 4, 4, kWhite);
    PaintLine(canvas, 4, 1, 4, 3, kWhite);
    const PaintRect filled = FloodFill(canvas, 2, 2, kRed);
    EXPECT_EQ(Drawing(canvas), "......\n.wwww.\n.wrrw.\n.wrrw.\n..www.\n");
    EXPECT_EQ(filled.left, 2);
    EXPECT_EQ(filled.right, 4);
    // The same colour again changes nothing; so does a point outside.
    EXPECT_TRUE(FloodFill(canvas, 2, 2, kRed).IsEmpty());
    EXPECT_TRUE(FloodFill(canvas, 6, 0, kWhite).IsEmpty());
    // The outside, reached around the gap, is one region.
    FloodFill(canvas, 0, 0, kRed);
    EXPECT_EQ(Drawing(canvas), "rrrrrr\nrwwwwr\nrwrrwr\nrwrrwr\nrrwwwr\n");
}

TEST(PaintOpsTest, FillOfALargeRegionFinishes)
{
    CDibSection canvas;
    IndexedCanvas(canvas, PF_INDEX8, 600, 400);
    // A comb of walls makes one long winding region.
    for (int x = 2; x < 600; x += 4)
        PaintLine(canvas, x, (x / 4) % 2 ? 0 : 1, x, (x / 4) % 2 ? 398 : 399, kWhite);
    const PaintRect filled = FloodFill(canvas, 0, 0, kRed);
    EXPECT_EQ(filled.left, 0);
    EXPECT_EQ(filled.right, 600);
    EditorColour c;
    ASSERT_TRUE(ColourAt(canvas, 599, 399, c));
    EXPECT_EQ(c, kRed);
}
