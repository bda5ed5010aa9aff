// ConvertFormat as a user of the library meets it: refusals that must leave
// the picture as it was, and pictures of 1, 2 and 4 bits per pixel, checked
// against a model that packs and reads indices on its own.

#include "imaging/CDibPalette.h"
#include "imaging/CDibRegion.h"
#include "imaging/CDibSection.h"
#include "imaging/ConvertPixels.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

CDibPalette* NewPalette(int count, uint32_t seed)
{
    std::mt19937 random(seed);
    auto* palette = new CDibPalette;
    palette->Create(count);
    std::vector<PaletteEntry> entries(static_cast<size_t>(count), PaletteEntry{});
    for (PaletteEntry& e : entries)
        e = PaletteEntry{uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
    palette->SetEntries(entries.data(), 0, count);
    return palette;
}

// Every byte of the picture, row by row (pitch bytes each), for comparisons.
std::vector<uint8_t> Bytes(CDib& image)
{
    uint8_t* bits;
    int pitch;
    if (image.Lock(&bits, &pitch) != DIB_OK)
        return {};
    std::vector<uint8_t> out(bits, bits + size_t(pitch) * image.GetHeight());
    image.Unlock();
    return out;
}

// The model's own packing: pixel x of a row of b-bit indices sits in byte
// x * b / 8, counted from the byte's top bit.
void PutIndex(std::vector<uint8_t>& row, int x, int b, int value)
{
    const int bit = x * b;
    row[size_t(bit / 8)] |= uint8_t(value << (8 - b - bit % 8));
}

struct IndexedPicture {
    CDibSection image;
    std::vector<std::vector<int>> indices; // [y][x]
};

// A section of `format` filled with random indices through the model's packing.
void MakeIndexed(IndexedPicture& picture, PixelFormat format, int w, int h, CDibPalette* palette, uint32_t seed)
{
    std::mt19937 random(seed);
    const int b = int(PixelFormatBits(format));
    ASSERT_EQ(picture.image.Create(w, h, format), DIB_OK);
    ASSERT_EQ(picture.image.SetPalette(palette), DIB_OK);
    picture.indices.assign(size_t(h), std::vector<int>(size_t(w)));
    uint8_t* bits;
    int pitch;
    ASSERT_EQ(picture.image.Lock(&bits, &pitch), DIB_OK);
    for (int y = 0; y < h; ++y) {
        std::vector<uint8_t> row(size_t(pitch), 0);
        for (int x = 0; x < w; ++x) {
            picture.indices[size_t(y)][size_t(x)] = int(random() % (1u << b));
            PutIndex(row, x, b, picture.indices[size_t(y)][size_t(x)]);
        }
        std::copy(row.begin(), row.end(), bits + size_t(y) * pitch);
    }
    picture.image.Unlock();
}

} // namespace

TEST(ConvertFormat, RefusalsLeaveThePictureAsItWas)
{
    CDibPalette* colours = NewPalette(256, 1);
    CDibPalette* sixteen = NewPalette(16, 2);
    IndexedPicture picture;
    MakeIndexed(picture, PF_INDEX8, 13, 5, colours, 3);
    CDibSection& image = picture.image;
    image.SetFrameCount(5);
    EXPECT_EQ(image.SetSourceKey(7), DIB_OK);
    const std::vector<uint8_t> before = Bytes(image);

    struct Refusal {
        const char* what;
        PixelFormat format;
        CDibPalette* palette;
        DibResult code;
    };
    const Refusal refusals[] = {
        {"16-bit target given a palette", PF_RGB555, colours, DIB_PALETTE_MISMATCH},
        {"8-bit target given 16 colours", PF_INDEX8, sixteen, DIB_PALETTE_MISMATCH},
        {"red-first 24 bits", PF_BGR24, nullptr, DIB_FAILED},
        {"red-first 32 bits", PF_BGR32, nullptr, DIB_FAILED},
        {"unknown format", 0x12345678, nullptr, DIB_FAILED},
        {"4-bit target without a palette that fits", PF_INDEX4, nullptr, DIB_PALETTE_EMPTY},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(image.ConvertFormat(r.format, r.palette, 0), r.code);
        EXPECT_EQ(image.GetFormat(), PF_INDEX8);
        EXPECT_EQ(image.GetWidth(), 13);
        EXPECT_EQ(image.GetPalette(), colours);
        EXPECT_EQ(image.GetFrameCount(), 5);
        EXPECT_EQ(image.SourceKey(), 7u);
        EXPECT_EQ(Bytes(image), before);
    }

    // Locked pixels would be pulled from under the caller.
    uint8_t* bits;
    int pitch;
    ASSERT_EQ(image.Lock(&bits, &pitch), DIB_OK);
    EXPECT_EQ(image.ConvertFormat(PF_RGB24, nullptr, 0), DIB_LOCKED);
    image.Unlock();
    EXPECT_EQ(image.GetFormat(), PF_INDEX8);
    EXPECT_EQ(Bytes(image), before);

    sixteen->Release();
    colours->Release();
}

TEST(ConvertFormat, DirectToIndexedNeedsAPaletteAndIndexedNeedsColours)
{
    CDibSection direct;
    ASSERT_EQ(direct.Create(4, 2, PF_RGB24), DIB_OK);
    direct.SetPixel(1, 1, 0x123456);
    EXPECT_EQ(direct.ConvertFormat(PF_INDEX8, nullptr, 0), DIB_PALETTE_EMPTY);
    EXPECT_EQ(direct.GetFormat(), PF_RGB24);
    EXPECT_EQ(direct.GetPixel(1, 1), 0x123456u);

    CDibSection colourless;
    ASSERT_EQ(colourless.Create(4, 2, PF_INDEX8), DIB_OK);
    EXPECT_EQ(colourless.ConvertFormat(PF_RGB555, nullptr, 0), DIB_PALETTE_EMPTY);
    EXPECT_EQ(colourless.GetFormat(), PF_INDEX8);
}

TEST(ConvertFormat, SuccessKeepsFramesAndClearsKeysAndRegionLikeCreate)
{
    CDibSection image;
    ASSERT_EQ(image.Create(6, 4, PF_RGB24), DIB_OK);
    image.SetPixel(5, 3, 0xF8F8F8);
    image.SetFrameCount(2);
    EXPECT_EQ(image.SetSourceKey(0xF8F8F8), DIB_OK);
    CDibRegion* region = image.NewClipRegion();
    region->SetRect({0, 0, 2, 2});
    EXPECT_EQ(image.SetClipRegion(region), DIB_OK);
    region->Release();
    ASSERT_EQ(image.ConvertFormat(PF_RGB555, nullptr, 0), DIB_OK);
    EXPECT_EQ(image.GetFormat(), PF_RGB555);
    EXPECT_EQ(image.GetPixel(5, 3), 0x7FFFu);
    EXPECT_EQ(image.GetFrameCount(), 2);
    EXPECT_EQ(image.SourceKey(), 0u);
    EXPECT_EQ(image.GetClipRegion(), nullptr);
}

TEST(ConvertFormat, PackedIndicesConvertToEveryDirectFormatAndToEightBits)
{
    // Widths that end a row inside a byte, on a byte and on a word.
    const PixelFormat sources[] = {PF_INDEX1, PF_INDEX2, PF_INDEX4};
    for (PixelFormat from : sources) {
        for (int w : {1, 3, 7, 8, 9, 17, 33}) {
            const int b = int(PixelFormatBits(from));
            CDibPalette* palette = NewPalette(1 << b, uint32_t(w * 10 + b));
            for (PixelFormat to : {PF_RGB24, PF_RGB32, PF_RGB565}) {
                SCOPED_TRACE("bits " + std::to_string(b) + " width " + std::to_string(w) + " to " +
                             std::to_string(to));
                IndexedPicture picture;
                MakeIndexed(picture, from, w, 3, palette, uint32_t(w + b));
                ASSERT_EQ(picture.image.ConvertFormat(to, nullptr, 0), DIB_OK);
                ASSERT_EQ(picture.image.GetFormat(), to);
                const ChannelSet c = DescribeChannels(to);
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < w; ++x) {
                        const PaletteEntry e = palette->Entries()[picture.indices[size_t(y)][size_t(x)]];
                        const uint32_t expected = uint32_t(e.red >> c.red.shift) << c.red.offset |
                                                  uint32_t(e.green >> c.green.shift) << c.green.offset |
                                                  uint32_t(e.blue >> c.blue.shift) << c.blue.offset;
                        ASSERT_EQ(picture.image.GetPixel(x, y), expected) << "at " << x << "," << y;
                    }
            }
            // Widened to 8 bits without a new palette: the same indices and colours.
            IndexedPicture picture;
            MakeIndexed(picture, from, w, 3, palette, uint32_t(w + b + 1));
            ASSERT_EQ(picture.image.ConvertFormat(PF_INDEX8, nullptr, 0), DIB_OK);
            ASSERT_EQ(picture.image.GetPalette()->GetCount(), 256);
            EXPECT_EQ(picture.image.GetPalette()->Entries()[(1 << b) - 1].red, palette->Entries()[(1 << b) - 1].red);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(picture.image.GetPixel(x, y), uint32_t(picture.indices[size_t(y)][size_t(x)]));
            palette->Release();
        }
    }
}

TEST(ConvertFormat, EightBitsNarrowToFourChoosingOnlyStorableEntries)
{
    // The target's 16 colours; the source's 256 entries repeat them, so
    // every source index has an exact match among the first 16.
    CDibPalette* sixteen = NewPalette(16, 9);
    auto* wide = new CDibPalette;
    wide->Create(256);
    for (int i = 0; i < 256; ++i)
        wide->SetEntries(&sixteen->Entries()[i % 16], i, 1);
    IndexedPicture picture;
    MakeIndexed(picture, PF_INDEX8, 11, 4, wide, 5);
    for (uint32_t flags : {0u, CONVERT_DITHER, CONVERT_DITHER | CONVERT_OCTREE}) {
        IndexedPicture copy;
        MakeIndexed(copy, PF_INDEX8, 11, 4, wide, 5);
        ASSERT_EQ(copy.image.ConvertFormat(PF_INDEX4, sixteen, flags), DIB_OK);
        ASSERT_EQ(copy.image.GetFormat(), PF_INDEX4);
        uint8_t* bits;
        int pitch;
        ASSERT_EQ(copy.image.Lock(&bits, &pitch), DIB_OK);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 11; ++x) {
                const int stored = (bits[size_t(y) * pitch + size_t(x / 2)] >> (x % 2 ? 0 : 4)) & 15;
                ASSERT_EQ(stored, picture.indices[size_t(y)][size_t(x)] % 16) << "flags " << flags;
            }
        copy.image.Unlock();
    }
    wide->Release();
    sixteen->Release();
}

TEST(ConvertPixels, DirectColourDiffusesIntoOneBitAndKeepsTheRowsPadding)
{
    // Grey 128 over black and white halves into a checker-like mix; every
    // pixel is 0 or 1 and the bits past the row's end stay as they were.
    const int w = 5, h = 4;
    std::vector<uint8_t> source(size_t(w) * 3 * h, 128);
    std::vector<uint8_t> target(size_t(h) * 4, 0x07); // the low three bits are past the row
    PaletteEntry entries[256] = {};
    entries[1] = PaletteEntry{255, 255, 255, 0};
    EXPECT_TRUE(ConvertPixels(target.data(), PF_INDEX1, source.data(), w, h, 4, w * 3, PF_RGB24, entries, nullptr,
                  CONVERT_DITHER));
    int ones = 0;
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(target[size_t(y) * 4] & 0x07, 0x07);
        for (int x = 0; x < w; ++x)
            ones += (target[size_t(y) * 4] >> (7 - x)) & 1;
    }
    EXPECT_GT(ones, w * h / 4);
    EXPECT_LT(ones, w * h * 3 / 4);
}
