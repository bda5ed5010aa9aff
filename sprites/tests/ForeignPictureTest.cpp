// Bitmaps written by other programs: run-length coded pictures, the later
// (larger) info headers with colour masks, rows stored top-down. Files in
// tests/data/foreign were written by ImageMagick 6.9 from the picture that
// ArtColour describes (13 x 7, six colours; the 32-bit one with an alpha
// ramp), with:
//   convert art.ppm -compress RLE -type Palette bmp3:rle8.bmp
//   convert art.pam bmp:v5-argb32.bmp                       (alpha (x * 20) % 256)
//   convert art.ppm -define bmp:subtype=RGB565 v5-rgb565.bmp
//   convert art.ppm -define bmp:subtype=ARGB4444 v5-rgb24.bmp (written as 24 bits)
//   convert art.ppm -type Palette bmp3:indexed4.bmp
//   convert art.ppm -type bilevel bmp3:bilevel1.bmp
// Pictures that program does not write (4-bit runs, version-4 headers, odd
// masks) are assembled byte by byte below.

#include "SpriteTestPictures.h"

#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibPacked.h"
#include "sprites/CDibTrle.h"
#include "sprites/ForeignPicture.h"
#include "sprites/PictureFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kData = std::string(SPRITES_TEST_DATA) + "/foreign/";

struct Rgb {
    uint8_t r, g, b;
};

Rgb ArtColour(int x, int y)
{
    static const Rgb colours[6] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    if (x < 5)
        return colours[y % 6];
    if ((x + y) % 3 == 0)
        return colours[(x * y) % 6];
    return colours[(x / 4 + 1) % 6];
}

uint32_t Packed(Rgb c)
{
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

// The colour at (x, y) of a loaded picture, through its palette when indexed.
Rgb ColourAt(CDibPacked& image, int x, int y)
{
    const uint32_t p = image.GetPixel(x, y);
    if (PixelFormatIsIndexed(image.GetFormat())) {
        const PaletteEntry& e = image.GetPalette()->Entries()[p];
        return {e.red, e.green, e.blue};
    }
    return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
}

// An info header of `size` bytes (the masks of the later ones at 40..51).
std::vector<uint8_t> Header(uint32_t size, int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                            const uint32_t* masks = nullptr)
{
    std::vector<uint8_t> h(size, 0);
    WriteLE32(h.data(), size);
    WriteLE32(h.data() + 4, uint32_t(width));
    WriteLE32(h.data() + 8, uint32_t(height));
    WriteLE16(h.data() + 12, 1);
    WriteLE16(h.data() + 14, bits);
    WriteLE32(h.data() + 16, compression);
    if (masks && size >= 52)
        for (int i = 0; i < 3; ++i)
            WriteLE32(h.data() + 40 + 4 * i, masks[i]);
    return h;
}

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// A grey colour table of `entries` quads.
std::vector<uint8_t> GreyTable(int entries)
{
    std::vector<uint8_t> t;
    for (int i = 0; i < entries; ++i)
        Append(t, {uint8_t(i * 16), uint8_t(i * 16), uint8_t(i * 16), 0});
    return t;
}

// The indices of an indexed picture, widened to 8 bits without new colours.
std::vector<std::vector<uint32_t>> Indices(CDibPacked& image)
{
    EXPECT_EQ(image.ConvertFormat(PF_INDEX8, nullptr, 0), DIB_OK);
    std::vector<std::vector<uint32_t>> rows(size_t(image.GetHeight()));
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            rows[size_t(y)].push_back(image.GetPixel(x, y));
    return rows;
}

} // namespace

TEST(ForeignPicture, FilesOfAnotherProgramLoadAsTheyLook)
{
    struct Case {
        const char* file;
        PixelFormat format;
    };
    for (const Case& c : {Case{"rle8.bmp", PF_INDEX8}, Case{"v5-argb32.bmp", PF_RGB32},
                          Case{"v5-rgb565.bmp", PF_RGB565}, Case{"v5-rgb24.bmp", PF_RGB24},
                          Case{"indexed4.bmp", PF_INDEX4}}) {
        SCOPED_TRACE(c.file);
        CDibPacked image;
        ASSERT_EQ(image.Load(PictureSource::File(kData + c.file)), DIB_OK);
        ASSERT_EQ(image.GetFormat(), c.format);
        ASSERT_EQ(image.GetWidth(), 13);
        ASSERT_EQ(image.GetHeight(), 7);
        EXPECT_EQ(image.IsCompressed(), 0);
        // The picture the system holds is the one it would write itself.
        EXPECT_EQ(ReadLE32(image.GetInfoHeader()), 40u);
        EXPECT_FALSE(IsTagged(InfoCompression(image.GetInfoHeader())));
        if (c.format == PF_INDEX4) {
            // Pixels below 8 bits are not read singly.
            ASSERT_EQ(image.ConvertFormat(PF_RGB24, nullptr, 0), DIB_OK);
        }
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) {
                const Rgb want = ArtColour(x, y);
                const Rgb got = c.format == PF_RGB565
                                    ? Rgb{uint8_t(image.GetPixel(x, y) >> 11 << 3), uint8_t(image.GetPixel(x, y) >> 5 << 2),
                                          uint8_t(image.GetPixel(x, y) << 3)}
                                    : ColourAt(image, x, y);
                const Rgb expected = c.format == PF_RGB565 ? Rgb{uint8_t(want.r & 0xF8), uint8_t(want.g & 0xFC),
                                                                 uint8_t(want.b & 0xF8)}
                                                           : want;
                ASSERT_EQ(Packed(got), Packed(expected)) << "at " << x << "," << y;
            }
    }
}

TEST(ForeignPicture, ASectionLoadsARunLengthFileAndOneBitPicturesConvert)
{
    CDibSection section;
    ASSERT_EQ(LoadPicture(section, PictureSource::File(kData + "rle8.bmp")), DIB_OK);
    ASSERT_EQ(section.ConvertFormat(PF_RGB32, nullptr, 0), DIB_OK);
    EXPECT_EQ(section.GetPixel(12, 6), Packed(ArtColour(12, 6)));
    EXPECT_EQ(section.GetPixel(0, 0), Packed(ArtColour(0, 0)));

    // One bit per pixel: the file's own bits, read here byte by byte, pick
    // the colours of its two-entry table.
    const std::vector<uint8_t> file = testpic::ReadFile(kData + "bilevel1.bmp");
    ASSERT_GT(file.size(), 62u);
    CDibPacked image;
    ASSERT_EQ(image.Load(PictureSource::File(kData + "bilevel1.bmp")), DIB_OK);
    ASSERT_EQ(image.GetFormat(), PF_INDEX1);
    ASSERT_EQ(image.ConvertFormat(PF_RGB24, nullptr, 0), DIB_OK);
    const uint32_t offset = ReadLE32(file.data() + 10), stride = 4;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            const uint8_t byte = file[offset + size_t(6 - y) * stride + size_t(x / 8)];
            const int bit = (byte >> (7 - x % 8)) & 1;
            const uint8_t* quad = file.data() + 54 + 4 * bit;
            ASSERT_EQ(image.GetPixel(x, y), uint32_t(quad[2]) << 16 | uint32_t(quad[1]) << 8 | quad[0]);
        }
}

TEST(ForeignPicture, RunLengthStreamsWithEveryEscape)
{
    // 8 bits, 6 x 3: a run, an odd literal run and its padding, end of line,
    // a move over a whole row, a run, end of picture.
    std::vector<uint8_t> rle8 = Header(40, 6, 3, 8, 1);
    Append(rle8, GreyTable(256));
    Append(rle8, {3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1});
    CDibPacked image;
    ASSERT_EQ(testpic::AttachBytes(image, rle8), DIB_OK);
    const std::vector<std::vector<uint32_t>> rows8 = Indices(image);
    EXPECT_EQ(rows8[2], (std::vector<uint32_t>{5, 5, 5, 1, 2, 3})); // the first row stored is the bottom one
    EXPECT_EQ(rows8[1], (std::vector<uint32_t>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rows8[0], (std::vector<uint32_t>{0, 0, 9, 9, 0, 0}));

    // 4 bits, 7 x 2: runs alternate their two indices, a literal run is cut
    // at the row's end, and the stream ends without an end-of-picture code.
    std::vector<uint8_t> rle4 = Header(40, 7, 2, 4, 2);
    Append(rle4, GreyTable(16));
    Append(rle4, {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 7, 0xAB});
    ASSERT_EQ(testpic::AttachBytes(image, rle4), DIB_OK);
    EXPECT_EQ(image.GetFormat(), PF_INDEX4);
    EXPECT_EQ(image.GetPalette()->Entries()[3].red, 48);
    const std::vector<std::vector<uint32_t>> rows4 = Indices(image);
    EXPECT_EQ(rows4[1], (std::vector<uint32_t>{1, 2, 1, 2, 1, 3, 4}));
    EXPECT_EQ(rows4[0], (std::vector<uint32_t>{10, 11, 10, 11, 10, 11, 10}));

    // Every cut of the stream still loads (what was decoded stays) and
    // never reads past the bytes given.
    const std::vector<uint8_t> file = testpic::AsFile(rle8);
    for (size_t cut = 14 + 40 + 1024; cut < file.size(); ++cut)
        EXPECT_EQ(testpic::AttachBytes(image, std::vector<uint8_t>(file.begin(), file.begin() + long(cut))), DIB_OK) << cut;
}

TEST(ForeignPicture, LaterHeadersMasksAndTopDownRows)
{
    // Version 4 header, 32 bits with red in the lowest byte and alpha on top.
    const uint32_t rgba[3] = {0xFF, 0xFF00, 0xFF0000};
    std::vector<uint8_t> v4 = Header(108, 2, 1, 32, 3, rgba);
    Append(v4, {0x11, 0x22, 0x33, 0x80, 0xA0, 0xB0, 0xC0, 0xFF});
    CDibPacked image;
    ASSERT_EQ(testpic::AttachBytes(image, v4), DIB_OK);
    EXPECT_EQ(image.GetFormat(), PF_RGB32);
    EXPECT_EQ(image.GetPixel(0, 0), 0x112233u); // the unused byte is cleared
    EXPECT_EQ(image.GetPixel(1, 0), 0xA0B0C0u);

    // 4-4-4 masks in 16 bits widen to 8 bits per channel.
    const uint32_t rgb444[3] = {0x0F00, 0x00F0, 0x000F};
    std::vector<uint8_t> v5 = Header(124, 1, 1, 16, 3, rgb444);
    Append(v5, {0x80, 0x0F, 0, 0});
    ASSERT_EQ(testpic::AttachBytes(image, v5), DIB_OK);
    EXPECT_EQ(image.GetFormat(), PF_RGB32);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFF8800u);

    // The system's own 5-6-5 masks stay 16 bits; a top bit outside them goes.
    const uint32_t rgb565[3] = {0xF800, 0x7E0, 0x1F};
    std::vector<uint8_t> v3 = Header(56, 1, 1, 16, 3, rgb565);
    Append(v3, {0x34, 0x12, 0, 0});
    ASSERT_EQ(testpic::AttachBytes(image, v3), DIB_OK);
    EXPECT_EQ(image.GetFormat(), PF_RGB565);
    EXPECT_EQ(image.GetPixel(0, 0), 0x1234u);

    // Rows stored top-down (negative height) come out upright.
    std::vector<uint8_t> topDown = Header(40, 1, -3, 24, 0);
    Append(topDown, {1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0});
    ASSERT_EQ(testpic::AttachBytes(image, testpic::AsFile(topDown)), DIB_OK);
    EXPECT_EQ(image.GetHeight(), 3);
    EXPECT_EQ(image.GetPixel(0, 0), 0x010101u);
    EXPECT_EQ(image.GetPixel(0, 2), 0x030303u);
}

TEST(ForeignPicture, DamagedOrUnreadBitmapsAreRefusedAndTheImageKept)
{
    CDibPacked image;
    std::vector<uint8_t> good = Header(124, 1, 1, 24, 0);
    Append(good, {1, 2, 3, 0});
    ASSERT_EQ(testpic::AttachBytes(image, good), DIB_OK);

    const uint32_t rgba[3] = {0xFF, 0xFF00, 0xFF0000};
    std::vector<uint8_t> jpeg = Header(124, 1, 1, 24, 4);
    Append(jpeg, {0xFF, 0xD8, 0xFF, 0xD9});
    std::vector<uint8_t> runsOf24 = Header(40, 1, 1, 24, 1);
    Append(runsOf24, {0, 1});
    std::vector<uint8_t> topDownRuns = Header(40, 4, -1, 8, 1);
    Append(topDownRuns, GreyTable(256));
    Append(topDownRuns, {0, 1});
    std::vector<uint8_t> huge = Header(40, 65535, 65535, 8, 1);
    Append(huge, GreyTable(256));
    Append(huge, {0, 1});
    std::vector<uint8_t> shortPixels = Header(108, 4, 4, 32, 3, rgba);
    Append(shortPixels, {1, 2, 3, 4});
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> bad = {
        {"JPEG inside", jpeg},
        {"run-length 24 bits", runsOf24},
        {"top-down run-length", topDownRuns},
        {"runs claiming four gigabytes", huge},
        {"pixels missing", shortPixels},
        {"header cut", std::vector<uint8_t>(good.begin(), good.begin() + 100)},
    };
    for (const auto& [what, bytes] : bad) {
        EXPECT_NE(testpic::AttachBytes(image, bytes), DIB_OK) << what;
        EXPECT_EQ(image.GetPixel(0, 0), 0x030201u) << what;
    }
    uint8_t* converted = nullptr;
    EXPECT_EQ(ReadForeignPicture(huge.data(), huge.size(), &converted), ForeignPictureResult::Refused);
    EXPECT_EQ(converted, nullptr);

    // The sprite kind reads only the system's own "TRLE" pictures.
    CDibTrle sprite;
    EXPECT_EQ(sprite.Attach(testpic::BlockOf(good)), DIB_NOT_A_PICTURE);
}

TEST(ForeignPicture, TheSystemsOwnPicturesAreLeftAlone)
{
    const uint32_t masks[3] = {0x7C00, 0x3E0, 0x1F};
    for (const testpic::Picture& pic : {testpic::Make(3, 2, 8), testpic::Make(3, 2, 16, masks),
                                        testpic::Make(3, 2, 24), testpic::Make(3, 2, 32), testpic::Make(3, 2, 4)}) {
        uint8_t* converted = nullptr;
        EXPECT_EQ(ReadForeignPicture(pic.bytes.data(), pic.bytes.size(), &converted), ForeignPictureResult::Native);
        const std::vector<uint8_t> file = testpic::AsFile(pic.bytes);
        EXPECT_EQ(ReadForeignPicture(file.data(), file.size(), &converted), ForeignPictureResult::Native);
    }
}

TEST(ForeignPicture, RefusedConversionsOfPackedPicturesKeepThePicture)
{
    // Loaded pictures are converted to the frame buffer's format as they
    // load; a conversion that cannot be made must not lose them.
    CDibPacked image;
    ASSERT_EQ(image.Load(PictureSource::File(kData + "rle8.bmp")), DIB_OK);
    CDibPalette* sixteen = new CDibPalette;
    sixteen->Create(16);
    EXPECT_EQ(image.ConvertFormat(PF_BGR24, nullptr, 0), DIB_FAILED);
    EXPECT_EQ(image.ConvertFormat(PF_INDEX8, sixteen, 0), DIB_PALETTE_MISMATCH);
    EXPECT_EQ(image.ConvertFormat(PF_RGB555, sixteen, 0), DIB_PALETTE_MISMATCH);
    sixteen->Release();
    ASSERT_EQ(image.GetFormat(), PF_INDEX8);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(Packed(ColourAt(image, x, y)), Packed(ArtColour(x, y)));
}
