#include "SpriteTestPictures.h"

#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteCodecs.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kMasks565[3] = {0xF800, 0x7E0, 0x1F};
constexpr uint32_t kMasks555[3] = {0x7C00, 0x3E0, 0x1F};

// An 8-bit sprite with some transparent edges and a recognisable palette.
testpic::Picture Sprite8(int w = 12, int h = 7)
{
    testpic::Picture pic = testpic::Make(w, h, 8);
    for (int y = 0; y < h; ++y)
        for (int x = y % 3; x < w - 1; ++x)
            pic.Set(x, y, uint32_t(1 + (x * 7 + y) % 200));
    for (int i = 0; i < 256; ++i)
        pic.SetColour(i, uint8_t(i), uint8_t(i ^ 0x55), uint8_t(255 - i));
    return pic;
}

std::vector<uint8_t> PixelsOf(CDibPacked& image)
{
    uint8_t* bits;
    int pitch;
    if (image.Lock(&bits, &pitch) != DIB_OK)
        return {};
    std::vector<uint8_t> pixels(bits, bits + size_t(pitch) * image.GetHeight());
    image.Unlock();
    return pixels;
}

} // namespace

TEST(DibPacked, EveryUncompressedDepthLoadsFromAFile)
{
    testpic::TempFolder folder("packed-depths");
    struct Case {
        uint32_t bits;
        const uint32_t* masks;
        PixelFormat format;
    } cases[] = {{1, nullptr, PF_INDEX1},       {4, nullptr, PF_INDEX4},   {8, nullptr, PF_INDEX8},
                 {16, nullptr, PF_RGB555},     {16, kMasks555, PF_RGB555}, {16, kMasks565, PF_RGB565},
                 {24, nullptr, PF_RGB24},      {32, nullptr, PF_RGB32}};
    for (const Case& c : cases) {
        testpic::Picture pic = testpic::Make(13, 5, c.bits, c.masks);
        uint32_t state = c.bits;
        for (size_t i = pic.headerSize; i < pic.bytes.size(); ++i)
            pic.bytes[i] = uint8_t(testpic::Noise(state));
        if (c.bits <= 8)
            pic.SetColour((1 << c.bits) - 1, 10, 20, 30);
        const std::string path = folder.File("depth" + std::to_string(c.bits) + (c.masks ? "m" : "") + ".bmp");
        testpic::WriteFile(path, testpic::AsFile(pic.bytes));

        CDibPacked image;
        ASSERT_EQ(image.Load(PictureSource::File(path)), DIB_OK) << c.bits;
        EXPECT_EQ(image.GetFormat(), c.format);
        EXPECT_EQ(image.GetWidth(), 13);
        EXPECT_EQ(image.GetHeight(), 5);
        EXPECT_EQ(image.IsCompressed(), 0);
        EXPECT_EQ(image.IsBottomUp(), 1);
        EXPECT_EQ(image.GetBlock()->Kind(), BlockKind::MappedFile);
        if (c.bits >= 8) {
            EXPECT_EQ(image.GetPixel(0, 0), pic.Get(0, 0));
            EXPECT_EQ(image.GetPixel(12, 4), pic.Get(12, 4));
        }
        if (c.bits <= 8) {
            ASSERT_NE(image.GetPalette(), nullptr);
            EXPECT_EQ(image.GetPalette()->GetCount(), 1 << c.bits);
            const PaletteEntry last = image.GetPalette()->Entries()[(1 << c.bits) - 1];
            EXPECT_EQ(last.red, 10);
            EXPECT_EQ(last.green, 20);
            EXPECT_EQ(last.blue, 30);
        } else {
            EXPECT_EQ(image.GetPalette(), nullptr);
        }
        std::vector<uint8_t> expected(pic.bytes.begin() + long(pic.headerSize), pic.bytes.end());
        EXPECT_EQ(PixelsOf(image), expected) << c.bits;
    }
}

TEST(DibPacked, WindowsStyleNamesAndShortColourTables)
{
    testpic::TempFolder folder("packed-names");
    std::filesystem::create_directories(folder.Path() / "Menu");
    // Eight colours only: the palette still has 256 entries, the rest black.
    testpic::Picture pic = testpic::Make(4, 2, 8, nullptr, 8);
    pic.SetColour(7, 1, 2, 3);
    pic.Set(3, 1, 200); // an index past the table
    testpic::WriteFile(folder.File("Menu/Cursor.BMP"), testpic::AsFile(pic.bytes));
    const std::string windowsName = folder.Path().string() + "\\menu\\cursor.bmp";
    CDibPacked image;
    ASSERT_EQ(image.Load(PictureSource::File(windowsName)), DIB_OK);
    ASSERT_EQ(image.GetPalette()->GetCount(), 256);
    EXPECT_EQ(image.GetPalette()->Entries()[7].blue, 3);
    EXPECT_EQ(image.GetPalette()->Entries()[8].red, 0);
    EXPECT_EQ(image.GetPixel(3, 1), 200u);
}

TEST(DibPacked, BarePicturesResourcesAndBlocks)
{
    testpic::Picture pic = Sprite8();
    CDibPacked bare;
    EXPECT_EQ(testpic::AttachBytes(bare, pic.bytes), DIB_OK);
    EXPECT_EQ(bare.GetInfoHeader(), bare.GetBlock()->Lock());
    bare.GetBlock()->Unlock();

    const ResourceEntry entries[] = {{"SPRITE", "BMP", pic.bytes.data(), pic.bytes.size()}};
    const ResourceTable table{entries, 1};
    CDibPacked resource;
    EXPECT_EQ(resource.Load(PictureSource::Resource(table, "sprite", "bmp")), DIB_OK);
    EXPECT_EQ(resource.GetPixel(5, 3), pic.Get(5, 3));
    EXPECT_EQ(resource.Load(PictureSource::Resource(table, "missing", "bmp")), DIB_FAILED);
    EXPECT_EQ(resource.GetPixel(5, 3), pic.Get(5, 3)); // unchanged by the failed load

    CDibPacked fromBlock;
    EXPECT_EQ(fromBlock.Load(PictureSource::Block(std::unique_ptr<CMemoryBlock>(testpic::BlockOf(testpic::AsFile(pic.bytes)))),
                             LOAD_PRIVATE_COPY), DIB_OK);
    EXPECT_FALSE(fromBlock.GetBlock()->IsReadOnly());
    EXPECT_EQ(fromBlock.GetPixel(1, 1), pic.Get(1, 1));
    EXPECT_EQ(fromBlock.Load(PictureSource::File("/nonexistent/file.bmp")), DIB_FAILED);
    EXPECT_EQ(fromBlock.Load(PictureSource::Block(nullptr)), DIB_FAILED);
    EXPECT_EQ(fromBlock.Attach(nullptr), DIB_FAILED);
    EXPECT_TRUE(fromBlock.IsCreated());
}

TEST(DibPacked, ReadOnlyPicturesAreCopiedBeforePixelsAreWritten)
{
    testpic::TempFolder folder("packed-readonly");
    testpic::Picture pic = Sprite8();
    const std::vector<uint8_t> file = testpic::AsFile(pic.bytes);
    const std::string path = folder.File("sprite.bmp");
    testpic::WriteFile(path, file);

    CDibPacked image;
    ASSERT_EQ(image.Load(PictureSource::File(path)), DIB_OK);
    EXPECT_TRUE(image.GetBlock()->IsReadOnly());
    // A new palette cannot go into the mapped file; it waits in the image.
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    PaletteEntry red{255, 0, 0, 0};
    palette->SetEntries(&red, 1, 1);
    EXPECT_EQ(image.SetPalette(palette), DIB_OK);
    palette->Release();
    image.SetPixel(0, 0, 77);
    EXPECT_EQ(image.GetPixel(0, 0), 77u);
    EXPECT_FALSE(image.GetBlock()->IsReadOnly());
    EXPECT_EQ(testpic::ReadFile(path), file);
    // Once private, the colour table follows the palette.
    EXPECT_EQ(image.GetInfoHeader()[40 + 4 + 2], 255);
}

TEST(DibPacked, CreateBuildsTheHeaderOfEachFormat)
{
    struct Case {
        PixelFormat format;
        size_t header;
        uint16_t bits;
        uint32_t compression;
    } cases[] = {{PF_INDEX1, 48, 1, 0},   {PF_INDEX2, 56, 2, 0},   {PF_INDEX4, 104, 4, 0}, {PF_INDEX8, 1064, 8, 0},
                 {PF_RGB555, 52, 16, 3},  {PF_BGR555, 52, 16, 3},  {PF_RGB565, 52, 16, 3}, {PF_BGR565, 52, 16, 3},
                 {PF_RGB24, 40, 24, 0},   {PF_RGB32, 40, 32, 0}};
    for (const Case& c : cases) {
        CDibPacked image;
        ASSERT_EQ(image.Create(5, 3, c.format), DIB_OK) << std::hex << c.format;
        EXPECT_EQ(image.GetFormat(), c.format);
        const uint8_t* info = image.GetInfoHeader();
        EXPECT_EQ(PictureHeaderSize(info), c.header);
        EXPECT_EQ(InfoBitCount(info), c.bits);
        EXPECT_EQ(InfoCompression(info), c.compression);
        EXPECT_EQ(ReadLE16(info + BIH_PLANES), 1);
        EXPECT_EQ(image.GetPictureSize(), c.header + testpic::Stride(5, c.bits) * 3);
        image.SetPixel(4, 2, 0x21);
        EXPECT_EQ(image.GetPixel(4, 2), c.bits >= 8 ? 0x21u : 0u);
    }
    CDibPacked image;
    EXPECT_EQ(image.Create(5, 3, PF_BGR24), DIB_FAILED);
    EXPECT_EQ(image.Create(5, 3, PF_BGR32), DIB_FAILED);
    EXPECT_EQ(image.Create(0, 3, PF_INDEX8), DIB_FAILED);
    EXPECT_FALSE(image.IsCreated());
    EXPECT_EQ(image.Lock(nullptr, nullptr), DIB_NOT_CREATED);
    EXPECT_EQ(image.Compress(TAG_TRLE), DIB_NOT_CREATED);
    EXPECT_EQ(image.Decompress(), DIB_NOT_CREATED);
}

TEST(DibPacked, LockCountsUsesAndCachesThePointer)
{
    CDibPacked image;
    ASSERT_EQ(image.Create(70000 / 5, 2, PF_RGB32), DIB_OK); // a pitch above 16 bits
    uint8_t *a, *b;
    int pa, pb;
    ASSERT_EQ(image.Lock(&a, &pa), DIB_OK);
    ASSERT_EQ(image.Lock(&b, &pb), DIB_OK);
    EXPECT_EQ(a, b);
    EXPECT_EQ(pa, 56000);
    EXPECT_EQ(image.GetUseCount(), 2);
    EXPECT_EQ(image.Compress(TAG_TRLE), DIB_LOCKED);
    image.Unlock();
    image.Unlock();
    EXPECT_EQ(image.GetUseCount(), 0);
}

TEST(DibPacked, TrleFilesLoadEncodedAndDecodeOnRequest)
{
    testpic::TempFolder folder("packed-trle");
    testpic::Picture pic = Sprite8();
    CDibPacked source;
    ASSERT_EQ(testpic::AttachBytes(source, pic.bytes), DIB_OK);
    ASSERT_EQ(source.Compress(TAG_TRLE), DIB_OK);
    EXPECT_EQ(source.IsCompressed(), 1);
    const std::vector<uint8_t> encoded = testpic::Copy(source.GetInfoHeader(), source.GetPictureSize());
    const std::string path = folder.File("sprite.bmp");
    testpic::WriteFile(path, testpic::AsFile(encoded));

    for (bool bare : {false, true}) {
        CDibPacked image;
        if (bare)
            ASSERT_EQ(testpic::AttachBytes(image, encoded), DIB_OK);
        else
            ASSERT_EQ(image.Load(PictureSource::File(path)), DIB_OK);
        EXPECT_EQ(image.IsCompressed(), 1);
        EXPECT_EQ(image.GetFormat(), PF_INDEX8);
        EXPECT_EQ(image.Lock(nullptr, nullptr), DIB_COMPRESSED);
        EXPECT_EQ(image.ConvertFormat(PF_RGB565, nullptr, 0), DIB_COMPRESSED);
        EXPECT_EQ(image.Compress(TAG_TRLE), DIB_ALREADY_COMPRESSED);
        image.SetFrameCount(7);
        ASSERT_EQ(image.Decompress(), DIB_OK);
        EXPECT_EQ(image.Decompress(), DIB_NOT_COMPRESSED);
        EXPECT_EQ(image.GetFrameCount(), 7);
        EXPECT_EQ(InfoCompression(image.GetInfoHeader()), BI_RGB);
        EXPECT_EQ(InfoImageSize(image.GetInfoHeader()), 0u);
        EXPECT_EQ(testpic::Copy(image.GetInfoHeader(), image.GetPictureSize()), pic.bytes);
    }

    CDibPacked decompressed;
    ASSERT_EQ(decompressed.Load(PictureSource::File(path), LOAD_DECOMPRESS), DIB_OK);
    EXPECT_EQ(decompressed.IsCompressed(), 0);
    EXPECT_EQ(decompressed.GetPixel(3, 2), pic.Get(3, 2));
}

TEST(DibPacked, CompressAndDecompressReportTheirRefusals)
{
    CDibPacked deep;
    ASSERT_EQ(deep.Create(4, 4, PF_RGB24), DIB_OK);
    deep.SetPixel(1, 1, 0x123456);
    EXPECT_EQ(deep.Compress(FourCC("ABCD")), DIB_UNKNOWN_CODEC);
    // The 8-bit encoder refuses 24-bit pixels; the picture stays as it was.
    EXPECT_EQ(deep.Compress(TAG_TRLE), DIB_CODEC_REFUSED);
    EXPECT_EQ(deep.IsCompressed(), 0);
    EXPECT_EQ(deep.GetPixel(1, 1), 0x123456u);
    EXPECT_EQ(deep.Decompress(), DIB_NOT_COMPRESSED);

    // A picture tagged with a codec nobody knows attaches (it is a picture)
    // but cannot be decoded.
    testpic::Picture pic = Sprite8();
    WriteLE32(pic.bytes.data() + BIH_COMPRESSION, FourCC("ZZZZ"));
    WriteLE32(pic.bytes.data() + BIH_IMAGE_SIZE, 10);
    CDibPacked odd;
    ASSERT_EQ(testpic::AttachBytes(odd, pic.bytes), DIB_OK);
    EXPECT_EQ(odd.IsCompressed(), 1);
    EXPECT_EQ(odd.Decompress(), DIB_UNKNOWN_CODEC);

    // A damaged "TRLE" data area is refused by the decoder.
    WriteLE32(pic.bytes.data() + BIH_COMPRESSION, TAG_TRLE);
    ASSERT_EQ(testpic::AttachBytes(odd, pic.bytes), DIB_OK);
    EXPECT_EQ(odd.Decompress(), DIB_CODEC_REFUSED);
    EXPECT_EQ(odd.IsCompressed(), 1);
}

TEST(DibPacked, CopyFromDuplicatesPackedPicturesAndKeepsSectionsUpright)
{
    testpic::Picture pic = Sprite8();
    CDibPacked source;
    ASSERT_EQ(testpic::AttachBytes(source, testpic::AsFile(pic.bytes)), DIB_OK);
    source.SetFrameCount(3);
    CDibPacked copy;
    ASSERT_EQ(copy.CopyFrom(&source), DIB_OK);
    EXPECT_NE(copy.GetBlock(), source.GetBlock());
    EXPECT_EQ(testpic::Copy(copy.GetInfoHeader(), copy.GetPictureSize()), pic.bytes);
    EXPECT_EQ(copy.GetFrameCount(), 3);
    EXPECT_NE(copy.GetPalette(), source.GetPalette());

    // Packed (bottom-up) into a section (top-down) and back: same picture.
    CDibSection section;
    ASSERT_EQ(section.CopyFrom(&source), DIB_OK);
    EXPECT_EQ(section.GetPixel(4, 0), pic.Get(4, 0));
    EXPECT_EQ(section.Bits()[4], pic.Get(4, 0)); // row 0 of the section is the top row
    CDibPacked back;
    ASSERT_EQ(back.CopyFrom(&section), DIB_OK);
    EXPECT_EQ(PixelsOf(back), PixelsOf(source));

    CDibPacked empty;
    EXPECT_EQ(copy.CopyFrom(&empty), DIB_NOT_CREATED);
    EXPECT_EQ(copy.CopyFrom(nullptr), DIB_FAILED);
}

TEST(DibPacked, SectionsLoadThroughAPackedPicture)
{
    testpic::TempFolder folder("packed-section");
    testpic::Picture pic = Sprite8();
    CDibPacked encoded;
    ASSERT_EQ(testpic::AttachBytes(encoded, pic.bytes), DIB_OK);
    ASSERT_EQ(encoded.Compress(TAG_TRLE), DIB_OK);
    const std::string path = folder.File("trle.bmp");
    testpic::WriteFile(path, testpic::AsFile(testpic::Copy(encoded.GetInfoHeader(), encoded.GetPictureSize())));

    CDibSection section;
    ASSERT_EQ(LoadPicture(section, PictureSource::File(path)), DIB_OK);
    EXPECT_EQ(section.GetFormat(), PF_INDEX8);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            ASSERT_EQ(section.GetPixel(x, y), pic.Get(x, y));
    EXPECT_EQ(section.GetPalette()->Entries()[3].green, 3 ^ 0x55);
    EXPECT_EQ(LoadPicture(section, PictureSource::File(folder.File("missing.bmp"))), DIB_FAILED);
}

TEST(DibPacked, MatchReferenceConvertsToTheReferenceFormat)
{
    testpic::TempFolder folder("packed-match");
    testpic::Picture pic = testpic::Make(3, 2, 8);
    pic.SetColour(1, 0x12, 0x34, 0x56);
    pic.Set(2, 1, 1);
    const std::string path = folder.File("menu.bmp");
    testpic::WriteFile(path, testpic::AsFile(pic.bytes));

    CDibSection backBuffer;
    ASSERT_EQ(backBuffer.Create(640, 480, PF_RGB565), DIB_OK);
    CDibPacked image;
    ASSERT_EQ(image.Load(PictureSource::File(path), LOAD_MATCH_REFERENCE, &backBuffer), DIB_OK);
    EXPECT_EQ(image.GetFormat(), PF_RGB565);
    EXPECT_EQ(image.GetPixel(2, 1), 0x11AAu);
    EXPECT_EQ(image.GetPixel(0, 0), 0u);

    // An empty reference, or none, leaves the picture's own format.
    CDibSection empty;
    ASSERT_EQ(image.Load(PictureSource::File(path), LOAD_MATCH_REFERENCE, &empty), DIB_OK);
    EXPECT_EQ(image.GetFormat(), PF_INDEX8);
}

TEST(DibPacked, BadHeadersAreRefusedWithoutReadingOutside)
{
    testpic::Picture pic = Sprite8(9, 5);
    const std::vector<uint8_t> good = pic.bytes;
    auto patched = [&](size_t offset, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        WriteLE32(bytes.data() + offset, value);
        return bytes;
    };
    CDibPacked image;
    ASSERT_EQ(testpic::AttachBytes(image, good), DIB_OK);
    std::vector<uint8_t> tagged = patched(BIH_COMPRESSION, TAG_TRLE);
    WriteLE32(tagged.data() + BIH_IMAGE_SIZE, uint32_t(good.size()));
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> bad = {
        {"header size", patched(BIH_SIZE, 12)},
        {"width 0", patched(BIH_WIDTH, 0)},
        {"width past 16 bits", patched(BIH_WIDTH, 65536)},
        {"overflowing size", patched(BIH_HEIGHT, 65535)},
        {"bit count 3", patched(BIH_PLANES, 1 | 3u << 16)},
        {"colours used 300", patched(BIH_COLOURS_USED, 300)},
        {"tagged image size past the end", tagged},
        {"not a picture", std::vector<uint8_t>(100, 'x')},
        {"empty", {}},
    };
    for (const auto& [what, bytes] : bad) {
        EXPECT_EQ(testpic::AttachBytes(image, bytes.empty() ? std::vector<uint8_t>(1, 0) : bytes), DIB_NOT_A_PICTURE) << what;
        // The image keeps the good picture.
        EXPECT_EQ(image.GetWidth(), 9) << what;
    }
    // Every truncation of the file, with and without the file header.
    const std::vector<uint8_t> file = testpic::AsFile(good);
    for (size_t cut = 1; cut < good.size(); ++cut) {
        EXPECT_NE(testpic::AttachBytes(image, std::vector<uint8_t>(good.begin(), good.begin() + long(cut))), DIB_OK) << cut;
        EXPECT_NE(testpic::AttachBytes(image, std::vector<uint8_t>(file.begin(), file.begin() + long(cut + 14))), DIB_OK)
            << cut;
    }
    // A 16-bit masked picture cut before its masks.
    testpic::Picture masked = testpic::Make(1, 1, 16, kMasks565);
    EXPECT_NE(testpic::AttachBytes(image, std::vector<uint8_t>(masked.bytes.begin(), masked.bytes.begin() + 44)), DIB_OK);
    EXPECT_EQ(testpic::AttachBytes(image, masked.bytes), DIB_OK);
    EXPECT_EQ(image.GetFormat(), PF_RGB565);
}

TEST(DibPacked, TheCodecTableKnowsTrle)
{
    const SpriteCodec* trle = FindSpriteEncoder(TAG_TRLE);
    ASSERT_NE(trle, nullptr);
    EXPECT_EQ(FindSpriteDecoder(TAG_TRLE), trle);
    EXPECT_EQ(FindSpriteEncoder(FourCC("NONE")), nullptr);
    size_t count = 0;
    ASSERT_NE(SpriteCodecTable(&count), nullptr);
    EXPECT_GE(count, 1u);
}

TEST(DibPacked, EveryCodecInTheTableRoundTripsThroughCompress)
{
    // Whatever codecs the table holds, Compress and Decompress carry the
    // picture through them unchanged, and PKCC picks its stored tag by depth.
    testpic::Picture eight = Sprite8();
    testpic::Picture deep = testpic::Make(7, 3, 24);
    testpic::Picture masked = testpic::Make(7, 3, 16, kMasks565);
    uint32_t state = 9;
    for (testpic::Picture* pic : {&deep, &masked})
        for (size_t i = pic->headerSize; i < pic->bytes.size(); ++i)
            pic->bytes[i] = uint8_t(testpic::Noise(state));
    size_t count = 0;
    const SpriteCodec* table = SpriteCodecTable(&count);
    for (size_t c = 0; c < count; ++c) {
        if (!table[c].encoder)
            continue;
        for (testpic::Picture* pic : {&eight, &deep, &masked}) {
            CDibPacked image;
            ASSERT_EQ(testpic::AttachBytes(image, pic->bytes), DIB_OK);
            const std::vector<uint8_t> before = PixelsOf(image);
            const DibResult code = image.Compress(table[c].tag);
            if (code == DIB_CODEC_REFUSED)
                continue; // an 8-bit codec and deeper pixels
            ASSERT_EQ(code, DIB_OK);
            const uint32_t stored = InfoCompression(image.GetInfoHeader());
            if (table[c].tag == TAG_PKCC && pic == &deep) {
                EXPECT_EQ(stored, TAG_PKC1);
                EXPECT_EQ(PictureHeaderSize(image.GetInfoHeader()), 40u);
            } else if (table[c].tag == TAG_PKCC && pic == &masked) {
                EXPECT_EQ(stored, TAG_PKC2);
                EXPECT_EQ(PictureHeaderSize(image.GetInfoHeader()), 52u);
            }
            ASSERT_EQ(image.Decompress(), DIB_OK);
            EXPECT_EQ(image.GetFormat(), pic == &masked ? PF_RGB565 : pic == &deep ? PF_RGB24 : PF_INDEX8);
            EXPECT_EQ(PixelsOf(image), before);
        }
    }
}

TEST(DibPacked, ASourceOpensOnceAndAFailedLoadLeavesAnyKindAsItWas)
{
    testpic::Picture pic = Sprite8();
    PictureSource block = PictureSource::Block(std::unique_ptr<CMemoryBlock>(testpic::BlockOf(pic.bytes)));
    EXPECT_EQ(block.GetKind(), PictureSource::Kind::Block);
    EXPECT_NE(block.Open(), nullptr);
    EXPECT_EQ(block.Open(), nullptr); // the block went with the first

    CDibSection section;
    ASSERT_EQ(LoadPicture(section, PictureSource::Block(std::unique_ptr<CMemoryBlock>(testpic::BlockOf(pic.bytes)))),
              DIB_OK);
    EXPECT_EQ(LoadPicture(section, PictureSource::File("/nonexistent/file.bmp")), DIB_FAILED);
    EXPECT_EQ(LoadPicture(section, PictureSource::Block(nullptr)), DIB_FAILED);
    ASSERT_TRUE(section.IsCreated());
    EXPECT_EQ(section.GetPixel(5, 3), pic.Get(5, 3));
}
