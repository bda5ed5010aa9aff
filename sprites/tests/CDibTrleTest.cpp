#include "SpriteTestPictures.h"

#include "imaging/CDibPalette.h"
#include "imaging/CDibSection.h"
#include "sprites/CDibTrle.h"
#include "sprites/PictureFormat.h"
#include "sprites/TrleCodec.h"

#include <gtest/gtest.h>

namespace {

// An encoded 8-bit sprite: a diamond of index 1 (red) and 2 (green).
std::vector<uint8_t> EncodedSprite(testpic::Picture* original = nullptr)
{
    testpic::Picture pic = testpic::Make(8, 8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (std::abs(x - 4) + std::abs(y - 4) < 4)
                pic.Set(x, y, x < 4 ? 1 : 2);
    pic.SetColour(1, 255, 0, 0);
    pic.SetColour(2, 0, 255, 0);
    if (original)
        *original = pic;
    uint8_t* encoded = TrleEncode8(pic.bytes.data(), pic.bytes.size());
    std::vector<uint8_t> bytes = testpic::Copy(encoded, PictureSize(encoded));
    FreePicture(encoded);
    return bytes;
}

PaletteEntry Grey(int level)
{
    return PaletteEntry{uint8_t(level), uint8_t(level), uint8_t(level), 0};
}

} // namespace

TEST(DibTrle, AttachesOnlyTrlePicturesAndKeepsThemEncoded)
{
    testpic::Picture original;
    const std::vector<uint8_t> encoded = EncodedSprite(&original);
    CDibTrle sprite;
    EXPECT_EQ(sprite.Attach(testpic::BlockOf(original.bytes)), DIB_NOT_A_PICTURE);
    EXPECT_FALSE(sprite.IsCreated());
    ASSERT_EQ(sprite.Attach(testpic::BlockOf(testpic::AsFile(encoded))), DIB_OK);
    EXPECT_EQ(sprite.GetKind(), DIB_KIND_TRLE);
    EXPECT_EQ(sprite.IsCompressed(), 0);
    EXPECT_EQ(sprite.GetFormat(), PF_INDEX8);
    EXPECT_EQ(sprite.GetPalette()->Entries()[1].red, 255);
    EXPECT_EQ(sprite.Lock(nullptr, nullptr), DIB_COMPRESSED);
    EXPECT_EQ(sprite.Compress(TAG_TRLE), DIB_ALREADY_COMPRESSED);
    EXPECT_EQ(sprite.Decompress(), DIB_NOT_COMPRESSED);
    const TrleSpriteView& view = sprite.View();
    EXPECT_EQ(view.width, 8);
    EXPECT_EQ(view.height, 8);
    EXPECT_EQ(view.palette, sprite.GetPalette());
    EXPECT_EQ(view.dataArea, sprite.GetInfoHeader() + 1064);
    EXPECT_TRUE(ValidateTrleView(view));

    // A CDibPacked copy of a "TRLE" image is an encoded packed picture.
    CDibPacked packed;
    ASSERT_EQ(packed.CopyFrom(&sprite), DIB_OK);
    EXPECT_EQ(packed.IsCompressed(), 1);
    ASSERT_EQ(packed.Decompress(), DIB_OK);
    EXPECT_EQ(testpic::Copy(packed.GetInfoHeader(), packed.GetPictureSize()), original.bytes);
    // And a "TRLE" image cannot take the decoded one.
    EXPECT_EQ(sprite.CopyFrom(&packed), DIB_NOT_A_PICTURE);
    EXPECT_TRUE(sprite.IsCreated());
}

TEST(DibTrle, BadRowTablesAreRefusedAtAttach)
{
    const std::vector<uint8_t> good = EncodedSprite();
    CDibTrle sprite;
    for (size_t field : {size_t(0), size_t(4), size_t(6)}) {
        std::vector<uint8_t> bad = good;
        // Row 3 gets an offset past the data, a skip past the width, a count past the width.
        WriteLE32(bad.data() + 1064 + 16 + 3 * 8 + field, field == 0 ? 0xFFFFu : 9u);
        if (field != 0)
            WriteLE16(bad.data() + 1064 + 16 + 3 * 8 + field, 9);
        EXPECT_EQ(sprite.Attach(testpic::BlockOf(bad)), DIB_NOT_A_PICTURE) << field;
    }
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_NE(sprite.Attach(testpic::BlockOf(std::vector<uint8_t>(good.begin(), good.begin() + long(cut)))), DIB_OK);
    EXPECT_FALSE(sprite.IsCreated());
}

TEST(DibTrle, ConvertFormatKeepsTheSpriteEncoded)
{
    CDibTrle sprite;
    ASSERT_EQ(sprite.Attach(testpic::BlockOf(EncodedSprite())), DIB_OK);
    sprite.SetFrameCount(2);
    EXPECT_EQ(sprite.SetSourceKey(5), DIB_OK);
    EXPECT_EQ(sprite.ConvertFormat(PF_INDEX8 == sprite.GetFormat() ? PF_RGB565 : PF_INDEX8, nullptr, 0), DIB_OK);
    EXPECT_EQ(sprite.GetFormat(), PF_RGB565);
    EXPECT_EQ(sprite.GetFrameCount(), 2);
    EXPECT_EQ(sprite.SourceKey(), 5u);
    EXPECT_EQ(sprite.GetPalette(), nullptr);
    EXPECT_EQ(sprite.View().format, PF_RGB565);
    EXPECT_TRUE(ValidateTrleView(sprite.View()));
    // Row 4 (the widest) holds red then green in 5-6-5.
    const TrleSpriteView& view = sprite.View();
    const uint8_t* entry = view.RowEntry(4);
    EXPECT_EQ(ReadLE16(entry + 4), 1);
    EXPECT_EQ(ReadLE16(view.dataArea + ReadLE32(entry)), 0xF800);
    EXPECT_EQ(ReadLE16(view.dataArea + ReadLE32(entry) + 2 * 6), 0x07E0);

    EXPECT_EQ(sprite.ConvertFormat(PF_RGB565, nullptr, 0), DIB_OK); // nothing to do
    EXPECT_EQ(sprite.ConvertFormat(PF_BGR24, nullptr, 0), DIB_TRLE_CONVERT_FAILED);
    EXPECT_EQ(sprite.ConvertFormat(PF_INDEX8, nullptr, 0), DIB_TRLE_CONVERT_FAILED); // no palette to map to
    EXPECT_EQ(sprite.GetFormat(), PF_RGB565);

    // Into a grey palette, both ways: nearest colour and the inverse map.
    CDibPalette* greys = new CDibPalette;
    greys->Create(256);
    for (int i = 0; i < 256; ++i) {
        PaletteEntry e = Grey(i);
        greys->SetEntries(&e, i, 1);
    }
    CDibTrle fast;
    ASSERT_EQ(fast.Attach(testpic::BlockOf(EncodedSprite())), DIB_OK);
    ASSERT_EQ(sprite.ConvertFormat(PF_INDEX8, greys, 0), DIB_OK);
    ASSERT_EQ(fast.ConvertFormat(PF_INDEX8, greys, 1), DIB_OK);
    for (CDibTrle* image : {&sprite, &fast}) {
        EXPECT_EQ(image->GetFormat(), PF_INDEX8);
        EXPECT_EQ(image->GetPalette(), greys);
        EXPECT_EQ(image->View().palette, greys);
    }
    // Red went through 5-6-5 first: (248, 0, 0), or 5-5-5 index 31 << 10.
    const uint8_t* slowRow = sprite.View().dataArea + ReadLE32(sprite.View().RowEntry(4));
    const uint8_t* fastRow = fast.View().dataArea + ReadLE32(fast.View().RowEntry(4));
    EXPECT_EQ(slowRow[0], greys->NearestIndex(248, 0, 0));
    EXPECT_EQ(fastRow[0], greys->GetInverseMap()[31 << 10]);
    greys->Release();
}

TEST(DibTrle, BlitChecksItsArgumentsAndDrawsWithinTheTarget)
{
    CDibTrle sprite;
    CDibSection target;
    ASSERT_EQ(target.Create(6, 5, PF_RGB555), DIB_OK);
    EXPECT_EQ(sprite.Blit(&target, 0, 0, 8, 8, 0, 0, 8, 8, BLIT_SRCKEY, 0), DIB_NOT_CREATED);
    ASSERT_EQ(sprite.Attach(testpic::BlockOf(EncodedSprite())), DIB_OK);
    EXPECT_EQ(sprite.Blit(nullptr, 0, 0, 8, 8, 0, 0, 8, 8, BLIT_SRCKEY, 0), DIB_FAILED);
    // Partly outside, mirrored, scaled: whatever is drawn stays in the target
    // (the sanitizers watch the memory).
    EXPECT_EQ(target.Draw(-3, -2, 8, 8, &sprite, 0, 0, 8, 8, BLIT_SRCKEY, 0), DIB_OK);
    EXPECT_EQ(target.Draw(2, 1, 8, 8, &sprite, 0, 0, 8, 8, BLIT_SRCKEY | BLIT_MIRROR_X, 0), DIB_OK);
    EXPECT_EQ(target.Draw(0, 0, 6, 5, &sprite, 0, 0, 8, 8, BLIT_SRCKEY, 0), DIB_OK);
    EXPECT_EQ(target.Draw(0, 0, 100, 100, &sprite, 0, 0, 8, 8, BLIT_SRCKEY | BLIT_MIRROR_Y, 0), DIB_OK);
}

TEST(DibTrle, LoadWithMatchReferenceConvertsTheSprite)
{
    testpic::TempFolder folder("trle-match");
    const std::string path = folder.File("sprite.bmp");
    testpic::WriteFile(path, testpic::AsFile(EncodedSprite()));
    CDibSection backBuffer;
    ASSERT_EQ(backBuffer.Create(4, 4, PF_RGB555), DIB_OK);
    CDibTrle sprite;
    ASSERT_EQ(sprite.Load(PictureSource::File(path), LOAD_MATCH_REFERENCE, &backBuffer), DIB_OK);
    EXPECT_EQ(sprite.GetFormat(), PF_RGB555);
    EXPECT_EQ(sprite.IsCompressed(), 0);
    // LOAD_DECOMPRESS has nothing to do: the sprite is not marked compressed.
    ASSERT_EQ(sprite.Load(PictureSource::File(path), LOAD_DECOMPRESS), DIB_OK);
    EXPECT_EQ(InfoCompression(sprite.GetInfoHeader()), TAG_TRLE);
}

TEST(DibTrle, AlphaBlitTakesItsOpacityAsAnImage)
{
    // The sprite in the frame buffer's format, and its opacity: an 8-bit
    // sprite with the same outline, 255 (opaque) on every stored pixel.
    CDibTrle sprite;
    ASSERT_EQ(sprite.Attach(testpic::BlockOf(EncodedSprite())), DIB_OK);
    ASSERT_EQ(sprite.ConvertFormat(PF_RGB555, nullptr, 0), DIB_OK);
    testpic::Picture shape;
    EncodedSprite(&shape);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (shape.Get(x, y) != 0)
                shape.Set(x, y, 255);
    uint8_t* encoded = TrleEncode8(shape.bytes.data(), shape.bytes.size());
    CDibTrle opacity;
    ASSERT_EQ(opacity.Attach(testpic::BlockOf(testpic::Copy(encoded, PictureSize(encoded)))), DIB_OK);
    FreePicture(encoded);

    const uint16_t background = 0x1234 & 0x7FFF;
    auto freshTarget = [&](CDibSection& target) {
        ASSERT_EQ(target.Create(8, 8, PF_RGB555), DIB_OK);
        target.FillRect(0, 0, 8, 8, background);
    };
    CDibSection target;
    freshTarget(target);
    ASSERT_EQ(target.Draw(0, 0, 8, 8, &sprite, 0, 0, 8, 8, BLIT_ALPHA,
                          reinterpret_cast<BlitExtra>(static_cast<CDib*>(&opacity))),
              DIB_OK);
    EXPECT_EQ(target.GetPixel(0, 0), background);  // outside the outline
    EXPECT_EQ(target.GetPixel(2, 4), 0x7C00u);     // red, copied whole
    EXPECT_EQ(target.GetPixel(6, 4), 0x03E0u);     // green
    EXPECT_EQ(target.GetPixel(0, 4), background);

    // Anything but a "TRLE" image of the sprite's size draws nothing: another
    // kind of image, a sprite of another size, or none at all.
    CDibSection section;
    ASSERT_EQ(section.Create(8, 8, PF_INDEX8), DIB_OK);
    testpic::Picture small = testpic::Make(4, 4, 8);
    small.Set(1, 1, 255);
    uint8_t* smallEncoded = TrleEncode8(small.bytes.data(), small.bytes.size());
    CDibTrle wrongSize;
    ASSERT_EQ(wrongSize.Attach(testpic::BlockOf(testpic::Copy(smallEncoded, PictureSize(smallEncoded)))), DIB_OK);
    FreePicture(smallEncoded);
    for (CDib* wrong : {static_cast<CDib*>(&section), static_cast<CDib*>(&wrongSize), static_cast<CDib*>(nullptr)}) {
        CDibSection untouched;
        freshTarget(untouched);
        EXPECT_EQ(untouched.Draw(0, 0, 8, 8, &sprite, 0, 0, 8, 8, BLIT_ALPHA, reinterpret_cast<BlitExtra>(wrong)),
                  DIB_OK);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(untouched.GetPixel(x, y), background);
    }
}
