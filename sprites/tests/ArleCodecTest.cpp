#include "CodecTestPictures.h"
#include "sprites/ArleCodec.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

// The code stream of a one-row picture with these pixels.
Bytes CodeOfRow(const Bytes& row)
{
    Bytes picture = MakePicture(int32_t(row.size()), 1, 8);
    std::copy(row.begin(), row.end(), picture.begin() + long(HeaderOf(picture)));
    PicturePtr arle(ArleEncode(picture.data(), picture.size()));
    if (!arle)
        return {};
    const uint8_t* data = arle.get() + HeaderOf(picture);
    EXPECT_EQ(ReadLE32(data), 4u); // the first row starts right after the table
    return Bytes(data + 4, data + InfoImageSize(arle.get()));
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Pixels 0, 1, 2, ... without four equal neighbours anywhere.
Bytes Ramp(size_t n)
{
    Bytes row(n);
    for (size_t i = 0; i < n; ++i)
        row[i] = uint8_t(i % 251);
    return row;
}

// An "ARLE" picture of the given size with a hand-made data area.
Bytes MakeArle(int32_t width, int32_t height, const Bytes& data)
{
    Bytes picture = MakePicture(width, 0, 8, BI_RGB, 4);
    WriteLE32(&picture[BIH_HEIGHT], uint32_t(height));
    WriteLE32(&picture[BIH_COMPRESSION], TAG_ARLE);
    WriteLE32(&picture[BIH_IMAGE_SIZE], uint32_t(data.size()));
    picture.insert(picture.end(), data.begin(), data.end());
    return picture;
}

Bytes Table(std::initializer_list<uint32_t> offsets)
{
    Bytes table(4 * offsets.size());
    size_t i = 0;
    for (uint32_t offset : offsets)
        WriteLE32(&table[4 * i++], offset);
    return table;
}

void ExpectRoundTrip(const Bytes& picture)
{
    PicturePtr arle(ArleEncode(picture.data(), picture.size()));
    ASSERT_TRUE(arle);
    EXPECT_EQ(InfoCompression(arle.get()), TAG_ARLE);
    EXPECT_EQ(ReadLE32(arle.get() + HeaderOf(picture)), 4 * InfoHeight(picture.data()));
    PicturePtr back(ArleDecode(arle.get(), PictureSize(arle.get())));
    ASSERT_TRUE(back);
    EXPECT_EQ(InfoCompression(back.get()), BI_RGB);
    EXPECT_EQ(InfoImageSize(back.get()), 0u);
    ASSERT_EQ(PictureSize(back.get()), picture.size());
    EXPECT_TRUE(std::equal(picture.begin(), picture.begin() + BIH_COMPRESSION, back.get()));
    EXPECT_TRUE(std::equal(picture.begin() + BIH_X_RESOLUTION, picture.end(), back.get() + BIH_X_RESOLUTION));
}

} // namespace

TEST(ArleCodec, CodesRowsWithRunsLiteralsAndTails)
{
    EXPECT_EQ(CodeOfRow(Bytes(10, 7)), (Bytes{0x4A, 0x07}));
    EXPECT_EQ(CodeOfRow(Bytes(100, 7)), (Bytes{0xC0, 0x64, 0x07}));
    EXPECT_EQ(CodeOfRow({1, 2, 3, 4, 5}), (Bytes{0x05, 1, 2, 3, 4, 5}));
    EXPECT_EQ(CodeOfRow({1, 2, 9, 9, 9, 9, 9}), (Bytes{0x02, 1, 2, 0x45, 0x09}));
    EXPECT_EQ(CodeOfRow({9, 9, 9, 9, 9, 1, 2}), (Bytes{0x45, 0x09, 0x02, 1, 2}));
    EXPECT_EQ(CodeOfRow({4, 4, 4}), (Bytes{0x03, 4, 4, 4}));
    EXPECT_EQ(CodeOfRow({8}), (Bytes{0x01, 8}));
    // Three equal pixels are not worth a run.
    EXPECT_EQ(CodeOfRow({1, 5, 5, 5, 2}), (Bytes{0x05, 1, 5, 5, 5, 2}));
    EXPECT_EQ(CodeOfRow(Ramp(200)), Cat({{0x80, 0xC8}, Ramp(200)}));
}

TEST(ArleCodec, SplitsPacketsOfRowsWiderThanOnePacket)
{
    // 20000 = 16383 + 3617 (0x0E21).
    EXPECT_EQ(CodeOfRow(Bytes(20000, 7)), (Bytes{0xFF, 0xFF, 7, 0xCE, 0x21, 7}));
    const Bytes ramp = Ramp(20000);
    EXPECT_EQ(CodeOfRow(ramp), Cat({{0xBF, 0xFF}, Bytes(ramp.begin(), ramp.begin() + 16383), {0x8E, 0x21},
                                    Bytes(ramp.begin() + 16383, ramp.end())}));
    // Never a run shorter than four, even where a split falls near the end.
    EXPECT_EQ(CodeOfRow(Bytes(16385, 3)), (Bytes{0xFF, 0xFD, 3, 0x44, 3}));
    ExpectRoundTrip([] {
        Bytes wide = MakePicture(40000, 2, 8);
        FillRandom(wide, 5);
        std::fill_n(wide.begin() + long(HeaderOf(wide)) + 100, 30000, 9);
        return wide;
    }());
}

TEST(ArleCodec, RoundTripsEveryWidthAndStrips)
{
    for (int32_t width = 1; width <= 70; ++width) {
        Bytes picture = MakePicture(width, 3, 8, BI_RGB, width % 3 ? 0 : 200);
        FillRandom(picture, uint32_t(width));
        for (int32_t x = width / 3; x < width; x += 2) // some runs between the noise
            Pixel8(picture, size_t(x), 1) = Pixel8(picture, size_t(x) - 1, 1);
        std::fill_n(&Pixel8(picture, 0, 2), width / 2, 0);
        SCOPED_TRACE(width);
        ExpectRoundTrip(picture);
    }
    ExpectRoundTrip(MakeSpriteStrip(48, 40, 24, 7));
    ExpectRoundTrip(MakeSpriteStrip(128, 128, 8, 9));
}

TEST(ArleCodec, DecodesEveryPacketLengthTheFormatAllows)
{
    // Row 0 (top): zero-length packets of all four forms, a run of 2, a long
    // literal of 3 and a long run of 5. Row 1 shares row 0's code.
    const Bytes row = {0x00, 0x42, 5, 0x40, 6, 0x80, 0x03, 1, 2, 3, 0x80, 0x00, 0xC0, 0x00, 7, 0xC0, 0x05, 9};
    const Bytes picture = MakeArle(10, 2, Cat({Table({8, 8}), row}));
    PicturePtr out(ArleDecode(picture.data(), picture.size()));
    ASSERT_TRUE(out);
    const Bytes expected = {5, 5, 1, 2, 3, 9, 9, 9, 9, 9, 0, 0};
    const Bytes pixels = PixelsOf(out.get());
    EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 12), expected);
    EXPECT_EQ(Bytes(pixels.begin() + 12, pixels.end()), expected);
}

TEST(ArleCodec, RefusesBrokenCodes)
{
    const Bytes good = Cat({Table({4}), {0x4A, 7}});
    ASSERT_TRUE(PicturePtr(ArleDecode(MakeArle(10, 1, good).data(), MakeArle(10, 1, good).size())));
    const Bytes broken[] = {
        Cat({Table({6}), {0x4A, 7}}),                // row offset at the end of the data
        Cat({Table({0xFFFFFFF0}), {0x4A, 7}}),       // far outside
        Cat({Table({4}), {0x4B, 7}}),                // run past the row
        Cat({Table({4}), {0xC0, 0x0B, 7}}),          // long run past the row
        Cat({Table({4}), {0x45, 7, 0x06, 1, 2, 3}}), // literal past the row and the data
        Cat({Table({4}), {0x45, 7, 0x05, 1, 2, 3}}), // literal past the data
        Cat({Table({4}), {0x45, 7}}),                // row ends early
        Cat({Table({4}), {0x4A}}),                   // run without its pixel
        Cat({Table({4}), {0xC0}}),                   // long length cut off
        Table({4}),                                  // no code at all
        Bytes{0, 0},                                 // table cut off
    };
    for (const Bytes& data : broken) {
        const Bytes picture = MakeArle(10, 1, data);
        EXPECT_FALSE(PicturePtr(ArleDecode(picture.data(), picture.size()))) << ::testing::PrintToString(data);
    }
}

TEST(ArleCodec, RefusesWrongPicturesAndTruncation)
{
    Bytes plain = MakeSpriteStrip(16, 8, 2, 1);
    PicturePtr arle(ArleEncode(plain.data(), plain.size()));
    ASSERT_TRUE(arle);
    const size_t size = PictureSize(arle.get());
    for (size_t cut : {size_t(0), size_t(39), size_t(500), size - 1})
        EXPECT_FALSE(PicturePtr(ArleDecode(arle.get(), cut))) << cut;
    EXPECT_FALSE(PicturePtr(ArleDecode(plain.data(), plain.size())));          // not tagged
    EXPECT_FALSE(PicturePtr(ArleEncode(arle.get(), size)));                     // already coded
    EXPECT_FALSE(PicturePtr(ArleEncode(plain.data(), plain.size() - 1)));       // truncated
    Bytes deep = MakePicture(4, 4, 24);
    EXPECT_FALSE(PicturePtr(ArleEncode(deep.data(), deep.size())));
    WriteLE32(&deep[BIH_COMPRESSION], TAG_ARLE);
    EXPECT_FALSE(PicturePtr(ArleDecode(deep.data(), deep.size())));
    Bytes tagged(arle.get(), arle.get() + size);
    WriteLE32(&tagged[BIH_IMAGE_SIZE], uint32_t(InfoImageSize(arle.get()) + 1)); // data area lies
    EXPECT_FALSE(PicturePtr(ArleDecode(tagged.data(), tagged.size())));
    WriteLE32(&tagged[BIH_IMAGE_SIZE], 4 * 16 - 1); // smaller than its own row table
    EXPECT_FALSE(PicturePtr(ArleDecode(tagged.data(), tagged.size())));
}

TEST(ArleCodec, PictureWithoutRowsDecodesToItsHeader)
{
    for (int32_t height : {0, -3}) {
        const Bytes picture = MakeArle(10, height, {});
        PicturePtr out(ArleDecode(picture.data(), picture.size()));
        ASSERT_TRUE(out) << height;
        EXPECT_EQ(PictureSize(out.get()), HeaderOf(picture));
        EXPECT_EQ(InfoCompression(out.get()), BI_RGB);
        EXPECT_EQ(InfoImageSize(out.get()), 0u);
    }
}

TEST(ArleCodec, SurvivesRandomDamage)
{
    const Bytes plain = MakeSpriteStrip(20, 10, 3, 4);
    PicturePtr arle(ArleEncode(plain.data(), plain.size()));
    ASSERT_TRUE(arle);
    const Bytes original(arle.get(), arle.get() + PictureSize(arle.get()));
    std::mt19937 random(11);
    for (int i = 0; i < 3000; ++i) {
        Bytes damaged = original;
        for (int n = 0; n < 3; ++n)
            damaged[HeaderOf(plain) + random() % (damaged.size() - HeaderOf(plain))] = uint8_t(random());
        PicturePtr out(ArleDecode(damaged.data(), damaged.size()));
        if (out) {
            EXPECT_EQ(PictureSize(out.get()), plain.size());
        }
    }
}
