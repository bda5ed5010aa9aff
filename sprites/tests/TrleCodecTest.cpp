#include "SpriteTestPictures.h"

#include "imaging/CDibPalette.h"
#include "sprites/PictureFormat.h"
#include "sprites/TrleCodec.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct Freed {
    void operator()(uint8_t* p) const { FreePicture(p); }
};
using Result = std::unique_ptr<uint8_t, Freed>;

Result Encode8(testpic::Picture& pic)
{
    return Result(TrleEncode8(pic.bytes.data(), pic.bytes.size()));
}

uint32_t Entry(const uint8_t* data, int row, int field)
{
    const uint8_t* e = data + 16 + 8 * row;
    return field == 0 ? ReadLE32(e) : ReadLE16(e + (field == 1 ? 4 : 6));
}

constexpr uint32_t kMasks565[3] = {0xF800, 0x7E0, 0x1F};

// A 6 × 4 8-bit sprite with the rows the trims care about, top row first.
testpic::Picture TrimmedSprite()
{
    testpic::Picture pic = testpic::Make(6, 4, 8);
    const uint8_t rows[4][6] = {{0, 0, 5, 0, 7, 0}, {0, 0, 0, 0, 0, 0}, {1, 2, 3, 4, 5, 6}, {0, 0, 0, 0, 0, 9}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            pic.Set(x, y, rows[y][x]);
    for (int i = 0; i < 256; ++i)
        pic.SetColour(i, uint8_t(i), uint8_t(255 - i), uint8_t(i * 3));
    return pic;
}

} // namespace

TEST(TrleCodec, EightBitRowsAreTrimmedByTheirZeroPixels)
{
    testpic::Picture pic = TrimmedSprite();
    Result encoded = Encode8(pic);
    ASSERT_TRUE(encoded);
    const uint8_t* info = encoded.get();
    EXPECT_EQ(InfoCompression(info), TAG_TRLE);
    const uint8_t* data = info + 1064;
    // Masks and pixel compression are zero; the first row starts after the table.
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(data[i], 0);
    EXPECT_EQ(Entry(data, 0, 0), 16u + 8 * 4);
    EXPECT_EQ(Entry(data, 0, 1), 2u);
    EXPECT_EQ(Entry(data, 0, 2), 3u);
    EXPECT_EQ(std::vector<uint8_t>(data + 48, data + 51), (std::vector<uint8_t>{5, 0, 7}));
    EXPECT_EQ(Entry(data, 1, 1), 6u); // an empty row skips the whole width
    EXPECT_EQ(Entry(data, 1, 2), 0u);
    EXPECT_EQ(Entry(data, 2, 1), 0u);
    EXPECT_EQ(Entry(data, 2, 2), 6u);
    EXPECT_EQ(Entry(data, 3, 1), 5u);
    EXPECT_EQ(Entry(data, 3, 2), 1u);
    // Offsets follow each other and the image size covers exactly the data.
    EXPECT_EQ(Entry(data, 1, 0), Entry(data, 0, 0) + 3);
    EXPECT_EQ(Entry(data, 3, 0), Entry(data, 2, 0) + 6);
    EXPECT_EQ(InfoImageSize(info), 16u + 32 + 3 + 6 + 1);
    EXPECT_EQ(PictureSize(info), 1064u + InfoImageSize(info));

    testpic::Picture narrow = testpic::Make(1, 1, 8);
    narrow.Set(0, 0, 4);
    Result one = Encode8(narrow);
    ASSERT_TRUE(one);
    EXPECT_EQ(Entry(one.get() + 1064, 0, 1), 0u);
    EXPECT_EQ(Entry(one.get() + 1064, 0, 2), 1u);
}

TEST(TrleCodec, EightBitRoundTripKeepsPixelsAndColourTable)
{
    for (int colours : {0, 16}) {
        testpic::Picture pic = testpic::Make(37, 23, 8, nullptr, colours);
        uint32_t state = 7;
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x)
                pic.Set(x, y, (testpic::Noise(state) % 3 == 0) ? 0 : testpic::Noise(state) % 16);
        for (int i = 0; i < (colours ? colours : 256); ++i)
            pic.SetColour(i, uint8_t(i * 5), uint8_t(i), uint8_t(200 - i / 2));
        Result encoded = Encode8(pic);
        ASSERT_TRUE(encoded);
        Result decoded(TrleDecode(encoded.get(), PictureSize(encoded.get())));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(InfoCompression(decoded.get()), BI_RGB);
        EXPECT_EQ(InfoImageSize(decoded.get()), 0u);
        // Byte for byte the original, since AllocPicture zeroes the padding.
        EXPECT_EQ(testpic::Copy(decoded.get(), PictureSize(decoded.get())), pic.bytes) << colours;
    }
}

TEST(TrleCodec, SixteenBitWithMasksKeepsThemInTheDataArea)
{
    testpic::Picture source = testpic::Make(5, 3, 16, kMasks565);
    testpic::Picture alpha = testpic::Make(5, 3, 8);
    alpha.Set(1, 0, 1);
    alpha.Set(2, 0, 1);
    alpha.Set(4, 2, 1);
    uint32_t state = 3;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            source.Set(x, y, (testpic::Noise(state) & 0xFFFF) | 1);
    Result reference = Encode8(alpha);
    ASSERT_TRUE(reference);
    Result encoded(TrleEncodeWithReference(source.bytes.data(), source.bytes.size(), reference.get(),
                                           PictureSize(reference.get())));
    ASSERT_TRUE(encoded);
    const uint8_t* data = encoded.get() + 40;
    EXPECT_EQ(ReadLE32(data), 0xF800u);
    EXPECT_EQ(ReadLE32(data + 4), 0x7E0u);
    EXPECT_EQ(ReadLE32(data + 8), 0x1Fu);
    EXPECT_EQ(ReadLE32(data + 12), 3u);
    EXPECT_EQ(Entry(data, 0, 1), 1u);
    EXPECT_EQ(Entry(data, 0, 2), 2u);
    EXPECT_EQ(Entry(data, 1, 2), 0u);
    EXPECT_EQ(InfoImageSize(encoded.get()), 16u + 24 + 2 * 3);

    TrleLayout layout;
    ASSERT_TRUE(ReadTrleLayout(encoded.get(), PictureSize(encoded.get()), layout));
    EXPECT_EQ(layout.format, PF_RGB565);

    Result decoded(TrleDecode(encoded.get(), PictureSize(encoded.get())));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(PictureHeaderSize(decoded.get()), 52u);
    EXPECT_EQ(InfoCompression(decoded.get()), BI_BITFIELDS);
    EXPECT_EQ(ReadLE32(decoded.get() + 44), 0x7E0u);
    testpic::Picture out = source;
    out.bytes = testpic::Copy(decoded.get(), PictureSize(decoded.get()));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(out.Get(x, y), alpha.Get(x, y) ? source.Get(x, y) : 0u) << x << "," << y;
}

TEST(TrleCodec, DeepPicturesTakeTheTrimsOfAnEightBitReference)
{
    for (uint32_t bits : {24u, 32u}) {
        testpic::Picture source = testpic::Make(9, 6, bits);
        testpic::Picture alpha = testpic::Make(9, 6, 8);
        uint32_t state = bits;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 9; ++x) {
                source.Set(x, y, testpic::Noise(state) | 0x10);
                if (x > y && x < 8)
                    alpha.Set(x, y, 200);
            }
        Result reference = Encode8(alpha);
        ASSERT_TRUE(reference);
        Result encoded(TrleEncodeWithReference(source.bytes.data(), source.bytes.size(), reference.get(),
                                               PictureSize(reference.get())));
        ASSERT_TRUE(encoded);
        const uint8_t* ours = encoded.get() + 40;
        const uint8_t* theirs = reference.get() + 1064;
        for (int r = 0; r < 6; ++r) {
            EXPECT_EQ(Entry(ours, r, 1), Entry(theirs, r, 1));
            EXPECT_EQ(Entry(ours, r, 2), Entry(theirs, r, 2));
        }
        EXPECT_EQ(ReadLE32(ours + 12), 0u);
        Result decoded(TrleDecode(encoded.get(), PictureSize(encoded.get())));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(PictureHeaderSize(decoded.get()), 40u);
        testpic::Picture out = source;
        out.bytes = testpic::Copy(decoded.get(), PictureSize(decoded.get()));
        ASSERT_EQ(out.bytes.size(), source.bytes.size());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 9; ++x)
                EXPECT_EQ(out.Get(x, y), alpha.Get(x, y) ? source.Get(x, y) : 0u);
    }
}

TEST(TrleCodec, ReferenceEncoderRefusesMismatchedInputs)
{
    testpic::Picture source = testpic::Make(4, 4, 24);
    testpic::Picture alpha = testpic::Make(4, 5, 8);
    alpha.Set(0, 0, 1);
    Result reference = Encode8(alpha);
    ASSERT_TRUE(reference);
    const size_t refSize = PictureSize(reference.get());
    EXPECT_EQ(TrleEncodeWithReference(source.bytes.data(), source.bytes.size(), reference.get(), refSize), nullptr);
    // An uncompressed picture is no reference; a 4-bit source is refused.
    testpic::Picture same = testpic::Make(4, 5, 8);
    EXPECT_EQ(TrleEncodeWithReference(same.bytes.data(), same.bytes.size(), alpha.bytes.data(), alpha.bytes.size()),
              nullptr);
    testpic::Picture nibbles = testpic::Make(4, 5, 4);
    EXPECT_EQ(TrleEncodeWithReference(nibbles.bytes.data(), nibbles.bytes.size(), reference.get(), refSize),
              nullptr);
    // The 8-bit encoder takes only uncompressed 8-bit pictures.
    EXPECT_EQ(TrleEncode8(source.bytes.data(), source.bytes.size()), nullptr);
    EXPECT_EQ(TrleEncode8(reference.get(), refSize), nullptr);
}

TEST(TrleCodec, FormatConversionGivesTheDocumentedPixels)
{
    // A 565 white pixel becomes 555 white; 24-bit (0x12, 0x34, 0x56) becomes
    // 565 0x11AA.
    testpic::Picture white = testpic::Make(2, 1, 16, kMasks565);
    testpic::Picture alpha = testpic::Make(2, 1, 8);
    white.Set(1, 0, 0xFFFF);
    alpha.Set(1, 0, 1);
    Result reference = Encode8(alpha);
    Result encoded(TrleEncodeWithReference(white.bytes.data(), white.bytes.size(), reference.get(),
                                           PictureSize(reference.get())));
    ASSERT_TRUE(encoded);
    Result to555(TrleConvertFormat(encoded.get(), PictureSize(encoded.get()), PF_RGB555, nullptr));
    ASSERT_TRUE(to555);
    const uint8_t* data = to555.get() + 40;
    EXPECT_EQ(ReadLE32(data + 4), 0x3E0u);
    EXPECT_EQ(ReadLE32(data + 12), 3u);
    EXPECT_EQ(Entry(data, 0, 1), 1u);
    EXPECT_EQ(ReadLE16(data + Entry(data, 0, 0)), 0x7FFF);

    testpic::Picture rgb = testpic::Make(2, 1, 24);
    rgb.Set(1, 0, 0x123456); // blue 0x56, green 0x34, red 0x12 in memory order
    Result rgbEncoded(TrleEncodeWithReference(rgb.bytes.data(), rgb.bytes.size(), reference.get(),
                                              PictureSize(reference.get())));
    Result to565(TrleConvertFormat(rgbEncoded.get(), PictureSize(rgbEncoded.get()), PF_RGB565, nullptr));
    ASSERT_TRUE(to565);
    const uint8_t* d565 = to565.get() + 40;
    EXPECT_EQ(ReadLE16(d565 + Entry(d565, 0, 0)), 0x11AA);
    EXPECT_EQ(ReadLE32(d565 + 4), 0x7E0u);

    // The red-last orders trade red and blue in both directions.
    Result toBgr(TrleConvertFormat(rgbEncoded.get(), PictureSize(rgbEncoded.get()), PF_BGR565, nullptr));
    ASSERT_TRUE(toBgr);
    const uint8_t* dBgr = toBgr.get() + 40;
    EXPECT_EQ(ReadLE16(dBgr + Entry(dBgr, 0, 0)), (0x50 << 8) | (0x34 << 3) | (0x12 >> 3));
    TrleLayout bgr;
    ASSERT_TRUE(ReadTrleLayout(toBgr.get(), PictureSize(toBgr.get()), bgr));
    EXPECT_EQ(bgr.format, PF_BGR565);
    Result back(TrleConvertFormat(toBgr.get(), PictureSize(toBgr.get()), PF_RGB32, nullptr));
    ASSERT_TRUE(back);
    EXPECT_EQ(ReadLE32(back.get() + 40 + Entry(back.get() + 40, 0, 0)), 0x103450u);

    // Formats without a picture header have no "TRLE" form.
    EXPECT_EQ(TrleConvertFormat(rgbEncoded.get(), PictureSize(rgbEncoded.get()), PF_BGR24, nullptr), nullptr);
    EXPECT_EQ(TrleConvertFormat(rgbEncoded.get(), PictureSize(rgbEncoded.get()), PF_INDEX4, nullptr), nullptr);
}

TEST(TrleCodec, EightBitTargetsUsePaletteAndSkipReservedEntries)
{
    testpic::Picture pic = TrimmedSprite();
    Result encoded = Encode8(pic);
    const size_t size = PictureSize(encoded.get());

    // Palette: entry 7 is exactly colour 5 of the sprite but reserved;
    // entry 9 is close to it.
    PaletteEntry palette[256] = {};
    for (auto& e : palette)
        e = PaletteEntry{255, 255, 255, 0};
    palette[7] = PaletteEntry{5, 250, 15, PALETTE_FLAG_RESERVED};
    palette[9] = PaletteEntry{6, 248, 16, 0};
    Result mapped(TrleConvertFormat(encoded.get(), size, PF_INDEX8, palette));
    ASSERT_TRUE(mapped);
    const uint8_t* data = mapped.get() + 1064;
    EXPECT_EQ(data[Entry(data, 0, 0)], 9); // colour 5 = (5, 250, 15)
    EXPECT_EQ(mapped.get()[40 + 4 * 9 + 2], 6);  // red of entry 9 in the new table
    EXPECT_EQ(TrleConvertFormat(encoded.get(), size, PF_INDEX8, nullptr), nullptr);

    // The fast path reads the inverse map at the pixel's 5-5-5 value.
    std::vector<uint8_t> inverse(32768, 3);
    inverse[(5 >> 3) << 10 | (250 >> 3) << 5 | (15 >> 3)] = 42;
    Result fast(TrleConvertFast8(encoded.get(), size, palette, inverse.data()));
    ASSERT_TRUE(fast);
    const uint8_t* fastData = fast.get() + 1064;
    EXPECT_EQ(fastData[Entry(fastData, 0, 0)], 42);
    EXPECT_EQ(fastData[Entry(fastData, 0, 0) + 1], 3);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(Entry(fastData, r, 2), Entry(encoded.get() + 1064, r, 2));

    // 8-bit to 16-bit goes through the colour table.
    Result deep(TrleConvertFormat(encoded.get(), size, PF_RGB555, nullptr));
    ASSERT_TRUE(deep);
    const uint8_t* deepData = deep.get() + 40;
    EXPECT_EQ(ReadLE16(deepData + Entry(deepData, 0, 0)), ((5 & 0xF8) << 7) | ((250 & 0xF8) << 2) | (15 >> 3));
}

TEST(TrleCodec, DamagedPicturesAreRefused)
{
    testpic::Picture pic = TrimmedSprite();
    Result encoded = Encode8(pic);
    const size_t size = PictureSize(encoded.get());
    const std::vector<uint8_t> good = testpic::Copy(encoded.get(), size);
    PaletteEntry palette[256] = {};
    std::vector<uint8_t> inverse(32768, 0);

    auto refused = [&](std::vector<uint8_t> bytes, const char* what) {
        EXPECT_EQ(TrleDecode(bytes.data(), bytes.size()), nullptr) << what;
        EXPECT_EQ(TrleConvertFormat(bytes.data(), bytes.size(), PF_RGB565, nullptr), nullptr) << what;
        EXPECT_EQ(TrleConvertFormat(bytes.data(), bytes.size(), PF_INDEX8, palette), nullptr) << what;
        EXPECT_EQ(TrleConvertFast8(bytes.data(), bytes.size(), palette, inverse.data()), nullptr) << what;
        TrleLayout layout;
        EXPECT_FALSE(ReadTrleLayout(bytes.data(), bytes.size(), layout)) << what;
    };
    auto patched = [&](size_t offset, uint32_t value, int width) {
        std::vector<uint8_t> bytes = good;
        if (width == 4)
            WriteLE32(bytes.data() + offset, value);
        else
            WriteLE16(bytes.data() + offset, uint16_t(value));
        return bytes;
    };
    const size_t table = 1064 + 16;
    refused(patched(table, 0xFFFFFFF0u, 4), "row offset far outside");
    refused(patched(table, uint32_t(InfoImageSize(good.data())) - 1, 4), "row span crosses the end");
    refused(patched(table, 8, 4), "row inside the table header");
    refused(patched(table + 4, 5, 2), "skip + count beyond the width");
    refused(patched(table + 6, 0xFFFF, 2), "count beyond the width");
    refused(patched(BIH_IMAGE_SIZE, uint32_t(InfoImageSize(good.data()) + 1), 4), "image size past the end");
    refused(patched(BIH_IMAGE_SIZE, 16 + 8 * 3, 4), "row table larger than the data");
    refused(patched(BIH_WIDTH, 0, 4), "width 0");
    refused(patched(BIH_WIDTH, 70000, 4), "width beyond 16 bits");
    refused(patched(BIH_HEIGHT, 0xFFFFFFFFu, 4), "negative height");
    refused(patched(BIH_HEIGHT, 0x7FFFFFFFu, 4), "overflowing height");
    refused(patched(BIH_SIZE, 41, 4), "info header size");
    refused(patched(BIH_COLOURS_USED, 300, 4), "colour count");
    refused(patched(BIH_BIT_COUNT, 4, 2), "4 bits");
    refused(patched(1064 + 12, 3, 4), "masked 8-bit pixels");
    refused(patched(BIH_COMPRESSION, FourCC("ARLE"), 4), "another codec");
    // Every truncation of a good picture.
    for (size_t cut = 0; cut < size; ++cut)
        EXPECT_EQ(TrleDecode(good.data(), cut), nullptr) << cut;
    // And the good one still decodes, so the checks above are meaningful.
    Result decoded(TrleDecode(good.data(), good.size()));
    EXPECT_TRUE(decoded);
    // An empty row's offset is never used, so it may hold anything.
    std::vector<uint8_t> emptyRow = patched(table + 8, 0xFFFFFFFFu, 4);
    Result stillFine(TrleDecode(emptyRow.data(), emptyRow.size()));
    EXPECT_TRUE(stillFine);
}

TEST(TrleCodec, UncompressedInputsAreCheckedToo)
{
    testpic::Picture pic = testpic::Make(8, 8, 8);
    EXPECT_EQ(TrleEncode8(pic.bytes.data(), pic.bytes.size() - 1), nullptr);
    WriteLE32(pic.bytes.data() + BIH_WIDTH, 0x40000000u);
    EXPECT_EQ(TrleEncode8(pic.bytes.data(), pic.bytes.size()), nullptr);
    EXPECT_EQ(TrleEncode8(nullptr, 0), nullptr);
}

TEST(TrleCodec, DecodingRefusesGiganticPictures)
{
    // 65535 × 4000 pixels of 32 bits, every row empty: 32 KB encoded, a
    // gigabyte decoded.
    const int w = 65535, h = 4000;
    std::vector<uint8_t> picture(40 + 16 + 8 * size_t(h), 0);
    WriteLE32(picture.data(), 40);
    WriteLE32(picture.data() + BIH_WIDTH, w);
    WriteLE32(picture.data() + BIH_HEIGHT, h);
    WriteLE16(picture.data() + BIH_PLANES, 1);
    WriteLE16(picture.data() + BIH_BIT_COUNT, 32);
    WriteLE32(picture.data() + BIH_COMPRESSION, TAG_TRLE);
    WriteLE32(picture.data() + BIH_IMAGE_SIZE, uint32_t(picture.size() - 40));
    for (int r = 0; r < h; ++r)
        WriteLE16(picture.data() + 40 + 16 + 8 * size_t(r) + 4, uint16_t(w));
    TrleLayout layout;
    EXPECT_TRUE(ReadTrleLayout(picture.data(), picture.size(), layout));
    EXPECT_EQ(TrleDecode(picture.data(), picture.size()), nullptr);
    // Conversions stay as small as the stored pixels.
    Result converted(TrleConvertFormat(picture.data(), picture.size(), PF_RGB565, nullptr));
    ASSERT_TRUE(converted);
    EXPECT_EQ(PictureSize(converted.get()), picture.size());
}

TEST(TrleCodec, UnmaskedSixteenBitSpritesAreFiveFiveFive)
{
    // No masks in the data area means the bitmap default, 5-5-5, even though
    // the zero "green mask" there is not 0x3E0.
    testpic::Picture source = testpic::Make(3, 2, 16);
    testpic::Picture alpha = testpic::Make(3, 2, 8);
    source.Set(0, 0, 0x7FFF);
    alpha.Set(0, 0, 1);
    Result reference = Encode8(alpha);
    Result encoded(TrleEncodeWithReference(source.bytes.data(), source.bytes.size(), reference.get(),
                                           PictureSize(reference.get())));
    TrleLayout layout;
    ASSERT_TRUE(ReadTrleLayout(encoded.get(), PictureSize(encoded.get()), layout));
    EXPECT_EQ(layout.format, PF_RGB555);
    Result white(TrleConvertFormat(encoded.get(), PictureSize(encoded.get()), PF_RGB24, nullptr));
    ASSERT_TRUE(white);
    const uint8_t* data = white.get() + 40;
    EXPECT_EQ(std::vector<uint8_t>(data + Entry(data, 0, 0), data + Entry(data, 0, 0) + 3),
              (std::vector<uint8_t>{0xF8, 0xF8, 0xF8}));
}
