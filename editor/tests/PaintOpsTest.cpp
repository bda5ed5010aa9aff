// The paint tools' pixel work at every depth: lines with both ends and
// rectangles with both corners, both clipped; the flood fill's borders,
// and the colours read back.

#include "EditorTestSupport.h"

#include "editor/PaintOps.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

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
// white (or as near as 16-bit pictures widen it), 'r' red, '?' anything
// else; rows top first.
std::string Drawing(CDib& picture)
{
    std::string text;
    for (int y = 0; y < picture.GetHeight(); ++y) {
        for (int x = 0; x < picture.GetWidth(); ++x) {
            EditorColour c;
            EXPECT_TRUE(ColourAt(picture, x, y, c));
            const bool white = c.red >= 248 && c.green >= 248 && c.blue >= 248;
            text += c == EditorColour{0, 0, 0} ? '.' : white                         ? 'w'
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

namespace {

// A black picture of any format; indexed ones get IndexedCanvas's palette.
void BlackCanvas(CDibSection& section, PixelFormat format, int width, int height)
{
    if (PixelFormatIsIndexed(format)) {
        IndexedCanvas(section, format, width, height);
        return;
    }
    FillSection(section, format, width, height, 1);
    std::fill(section.Bits(), section.Bits() + size_t(section.Pitch()) * size_t(height), uint8_t(0));
}

Bytes PixelBytes(const CDibSection& section)
{
    return Bytes(section.Bits(), section.Bits() + size_t(section.Pitch()) * size_t(section.GetHeight()));
}

std::string Describe(const PaintRect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

} // namespace

TEST(PaintOpsTest, RectanglesIncludeBothCornersInAnyOrderAtEveryDepth)
{
    const std::string outline = ".......\n.wwww..\n.w..w..\n.w..w..\n.wwww..\n.......\n";
    const std::string filled = ".......\n.wwww..\n.wwww..\n.wwww..\n.wwww..\n.......\n";
    for (PixelFormat format : AllFormats()) {
        // The same rectangle from each of its four corners.
        for (const auto& [x0, y0, x1, y1] : {std::array{1, 1, 4, 4}, std::array{4, 4, 1, 1},
                                             std::array{4, 1, 1, 4}, std::array{1, 4, 4, 1}}) {
            const std::string corners = std::to_string(x0) + "," + std::to_string(y0) + " to " +
                                        std::to_string(x1) + "," + std::to_string(y1);
            CDibSection canvas;
            BlackCanvas(canvas, format, 7, 6);
            EXPECT_EQ(Describe(PaintRectangle(canvas, x0, y0, x1, y1, kWhite)), "1,1 5,5") << format << " " << corners;
            EXPECT_EQ(Drawing(canvas), outline) << format << " " << corners;
            BlackCanvas(canvas, format, 7, 6);
            EXPECT_EQ(Describe(PaintFilledRectangle(canvas, x0, y0, x1, y1, kWhite)), "1,1 5,5")
                << format << " " << corners;
            EXPECT_EQ(Drawing(canvas), filled) << format << " " << corners;
        }
    }
}

TEST(PaintOpsTest, RectanglesWriteThePixelValuesLinesWrite)
{
    // Against lines drawn on a seeded picture (random palette for indexed
    // formats, so the nearest entry is a real choice): an outline is its
    // four sides, a filled rectangle its rows, byte for byte.
    const EditorColour colour{200, 40, 90};
    for (PixelFormat format : AllFormats()) {
        CDibSection shape, lines;
        FillSection(shape, format, 11, 7, 3);
        FillSection(lines, format, 11, 7, 3);
        PaintRectangle(shape, 8, 5, 2, 1, colour);
        PaintLine(lines, 2, 1, 8, 1, colour);
        PaintLine(lines, 2, 5, 8, 5, colour);
        PaintLine(lines, 2, 1, 2, 5, colour);
        PaintLine(lines, 8, 1, 8, 5, colour);
        EXPECT_EQ(PixelBytes(shape), PixelBytes(lines)) << format;
        PaintFilledRectangle(shape, 9, 6, 3, 2, colour);
        for (int y = 2; y <= 6; ++y)
            PaintLine(lines, 3, y, 9, y, colour);
        EXPECT_EQ(PixelBytes(shape), PixelBytes(lines)) << format;
    }
}

TEST(PaintOpsTest, ThinRectanglesAreLinesAndPoints)
{
    for (PixelFormat format : {PF_INDEX1, PF_INDEX4, PF_RGB565, PF_RGB32}) {
        CDibSection canvas;
        BlackCanvas(canvas, format, 5, 4);
        EXPECT_EQ(Describe(PaintRectangle(canvas, 2, 3, 2, 1, kWhite)), "2,1 3,4") << format; // one column
        EXPECT_EQ(Describe(PaintFilledRectangle(canvas, 4, 0, 0, 0, kWhite)), "0,0 5,1") << format; // one row
        EXPECT_EQ(Describe(PaintRectangle(canvas, 4, 3, 4, 3, kWhite)), "4,3 5,4") << format; // one pixel
        EXPECT_EQ(Drawing(canvas), "wwwww\n..w..\n..w..\n..w.w\n") << format;
        BlackCanvas(canvas, format, 5, 4);
        PaintRectangle(canvas, 0, 1, 4, 1, kWhite);
        PaintFilledRectangle(canvas, 1, 3, 1, 3, kWhite);
        EXPECT_EQ(Drawing(canvas), ".....\nwwwww\n.....\n.w...\n") << format;
    }
}

TEST(PaintOpsTest, RectanglesAreClippedNotMovedToTheEdge)
{
    for (PixelFormat format : {PF_INDEX2, PF_INDEX8, PF_BGR555, PF_RGB24}) {
        CDibSection canvas;
        BlackCanvas(canvas, format, 6, 5);
        // The top and left sides lie outside: only the right and bottom ones show.
        EXPECT_EQ(Describe(PaintRectangle(canvas, -2, -3, 3, 2, kWhite)), "0,0 4,3") << format;
        EXPECT_EQ(Drawing(canvas), "...w..\n...w..\nwwww..\n......\n......\n") << format;
        // Sides beyond the right and bottom edges likewise.
        BlackCanvas(canvas, format, 6, 5);
        PaintRectangle(canvas, 2, 1, 9, 7, kWhite);
        EXPECT_EQ(Drawing(canvas), "......\n..wwww\n..w...\n..w...\n..w...\n") << format;
        BlackCanvas(canvas, format, 6, 5);
        EXPECT_EQ(Describe(PaintFilledRectangle(canvas, 4, 3, 40, -30, kWhite)), "4,0 6,4") << format;
        EXPECT_EQ(Drawing(canvas), "....ww\n....ww\n....ww\n....ww\n......\n") << format;
    }
    // Entirely outside, or around the whole picture: nothing of an outline
    // is inside, so nothing changes; corners at the ends of int neither
    // overflow nor miss the picture a filled rectangle covers.
    CDibSection canvas;
    BlackCanvas(canvas, PF_INDEX8, 4, 3);
    EXPECT_TRUE(PaintRectangle(canvas, 5, 0, 9, 2, kWhite).IsEmpty());
    EXPECT_TRUE(PaintFilledRectangle(canvas, 0, -1, 3, -7, kWhite).IsEmpty());
    EXPECT_TRUE(PaintRectangle(canvas, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kWhite).IsEmpty());
    EXPECT_EQ(Drawing(canvas), "....\n....\n....\n");
    EXPECT_EQ(Describe(PaintFilledRectangle(canvas, INT_MAX, INT_MIN, INT_MIN, INT_MAX, kWhite)), "0,0 4,3");
    EXPECT_EQ(Drawing(canvas), "wwww\nwwww\nwwww\n");
    // Without a picture nothing is drawn.
    CDibSection none;
    EXPECT_TRUE(PaintFilledRectangle(none, 0, 0, 1, 1, kWhite).IsEmpty());
}
