// Thumbnails of sprite files: the first frame, shrunk, with a TRLE sprite's
// transparency; made in-process and by the built kvftool, and refused
// cleanly for pictures that cannot be read.

#include "KvftoolRun.h"
#include "SpriteTestPictures.h"
#include "SpriteThumbnail.h"

#include "gamedata/HuntTables.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteCodecs.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <cstdio>
#include <sys/wait.h>

namespace {

std::string TagName(uint32_t tag)
{
    return std::string{char(tag), char(tag >> 8), char(tag >> 16), char(tag >> 24)};
}

// A 40 × 90 8-bit strip of three 30-row frames on a ground of index 0: frame
// k holds a 20 × 10 block of index k + 1 at (10, 10) of the frame.
testpic::Picture BlockStrip()
{
    testpic::Picture pic = testpic::Make(40, 90, 8);
    for (int k = 0; k < 3; ++k)
        for (int y = 10; y < 20; ++y)
            for (int x = 10; x < 30; ++x)
                pic.Set(x, 30 * k + y, uint32_t(k + 1));
    pic.SetColour(0, 10, 20, 30);
    pic.SetColour(1, 250, 200, 0);
    pic.SetColour(2, 0, 0, 255);
    pic.SetColour(3, 0, 255, 0);
    return pic;
}

// The strip as loaded from a file: plain, or encoded with `tag`.
bool Load(CDibPacked& image, uint32_t tag = 0)
{
    if (image.Attach(testpic::BlockOf(BlockStrip().bytes)) != DIB_OK)
        return false;
    return tag == 0 || image.Compress(tag) == DIB_OK;
}

const uint8_t* At(const SpriteThumbnail& thumbnail, int x, int y)
{
    return thumbnail.rgba.data() + (size_t(y) * size_t(thumbnail.width) + size_t(x)) * 4;
}

// A PNG file as straight RGBA; width 0 when it does not read.
SpriteThumbnail ReadPng(const std::string& path)
{
    SpriteThumbnail read;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return read;
    png.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr))
        return read;
    read.width = int(png.width);
    read.height = int(png.height);
    read.rgba = std::move(pixels);
    return read;
}

} // namespace

TEST(SpriteThumbnail, FirstFrameShrunkToFitWithTrleTransparency)
{
    CDibPacked image;
    ASSERT_TRUE(Load(image, TAG_TRLE));
    SpriteThumbnail thumbnail;
    std::string error;
    ASSERT_TRUE(MakeSpriteThumbnail(image, 3, 20, thumbnail, error)) << error;
    // 40 × 30 fitted to 20: halved, proportions kept.
    ASSERT_EQ(thumbnail.width, 20);
    ASSERT_EQ(thumbnail.height, 15);
    ASSERT_EQ(thumbnail.rgba.size(), 20u * 15u * 4u);
    EXPECT_EQ(At(thumbnail, 0, 0)[3], 0) << "the zero ground is transparent";
    EXPECT_EQ(At(thumbnail, 19, 14)[3], 0);
    const uint8_t* inside = At(thumbnail, 10, 7);
    EXPECT_EQ(inside[3], 255);
    EXPECT_EQ(inside[0], 250);
    EXPECT_EQ(inside[1], 200);
    EXPECT_EQ(inside[2], 0);
    // Nothing of the other frames: no pure blue or green anywhere.
    for (int y = 0; y < thumbnail.height; ++y)
        for (int x = 0; x < thumbnail.width; ++x) {
            const uint8_t* p = At(thumbnail, x, y);
            if (p[3]) {
                EXPECT_TRUE(p[0] == 250 && p[1] == 200 && p[2] == 0) << x << "," << y;
            }
        }
}

TEST(SpriteThumbnail, EveryEncodingGivesTheSamePictureAndOnlyTrleKeysItsZeroPixels)
{
    CDibPacked plain;
    ASSERT_TRUE(Load(plain));
    SpriteThumbnail reference;
    std::string error;
    ASSERT_TRUE(MakeSpriteThumbnail(plain, 3, 64, reference, error)) << error;
    // Never enlarged: the frame is smaller than 64.
    EXPECT_EQ(reference.width, 40);
    EXPECT_EQ(reference.height, 30);
    EXPECT_EQ(At(reference, 0, 0)[3], 255) << "an uncompressed picture has no transparency";
    EXPECT_EQ(At(reference, 0, 0)[0], 10);
    int encodings = 0;
    for (const uint32_t tag : {TAG_ARLE, TAG_PRLE, TAG_PKCC}) {
        const std::string codec = TagName(tag);
        if (!FindSpriteEncoder(tag))
            continue;
        CDibPacked encoded;
        ASSERT_TRUE(Load(encoded, tag)) << codec;
        ASSERT_TRUE(encoded.IsCompressed()) << codec;
        SpriteThumbnail thumbnail;
        ASSERT_TRUE(MakeSpriteThumbnail(encoded, 3, 64, thumbnail, error)) << codec << ": " << error;
        EXPECT_EQ(thumbnail.rgba, reference.rgba) << codec;
        ++encodings;
    }
    EXPECT_GT(encodings, 0);

    CDibPacked trle;
    ASSERT_TRUE(Load(trle, TAG_TRLE));
    SpriteThumbnail keyed;
    ASSERT_TRUE(MakeSpriteThumbnail(trle, 3, 64, keyed, error)) << error;
    ASSERT_EQ(keyed.rgba.size(), reference.rgba.size());
    for (size_t i = 0; i < keyed.rgba.size(); i += 4) {
        const bool ground = reference.rgba[i] == 10;
        EXPECT_EQ(keyed.rgba[i + 3], ground ? 0 : 255) << i / 4;
    }
}

TEST(SpriteThumbnail, UnreadablePicturesAreRefusedWithAReason)
{
    std::string error;
    SpriteThumbnail thumbnail;
    CDibPacked empty;
    EXPECT_FALSE(MakeSpriteThumbnail(empty, 1, 32, thumbnail, error));
    EXPECT_FALSE(error.empty());

    CDibPacked image;
    ASSERT_TRUE(Load(image, TAG_TRLE));
    error.clear();
    EXPECT_FALSE(MakeSpriteThumbnail(image, 91, 32, thumbnail, error)) << "more frames than rows";
    EXPECT_NE(error.find("frames"), std::string::npos) << error;
    EXPECT_FALSE(MakeSpriteThumbnail(image, 0, 32, thumbnail, error));
    EXPECT_FALSE(MakeSpriteThumbnail(image, 1, 0, thumbnail, error));

    // A picture claiming more pixels than a thumbnail is made of is refused
    // before anything is decoded: a TRLE picture 60000 pixels wide whose
    // 1200 rows are all empty takes ten kilobytes.
    const int rows = 1200;
    testpic::Picture huge = testpic::Make(1, 1, 8);
    huge.bytes.resize(huge.headerSize);
    const uint32_t tableStart = 16, pixelsStart = tableStart + 8 * rows;
    WriteLE32(huge.bytes.data() + 4, 60000u);
    WriteLE32(huge.bytes.data() + 8, uint32_t(rows));
    WriteLE32(huge.bytes.data() + 16, TAG_TRLE);
    WriteLE32(huge.bytes.data() + 20, pixelsStart);
    huge.bytes.resize(huge.headerSize + pixelsStart, 0);
    for (int row = 0; row < rows; ++row)
        WriteLE32(huge.bytes.data() + huge.headerSize + tableStart + 8 * size_t(row), pixelsStart);
    CDibPacked big;
    ASSERT_EQ(big.Attach(testpic::BlockOf(huge.bytes)), DIB_OK);
    ASSERT_TRUE(big.IsCompressed());
    error.clear();
    EXPECT_FALSE(MakeSpriteThumbnail(big, 1, 32, thumbnail, error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

TEST(SpriteThumbnail, TheGamesStripsAreKnownByFolderAndName)
{
    const AnimalKindDesc& zebra = AnimalKindOf(ANIMAL_ZEBRA);
    const std::string strip = zebra.strips[6]; // "animals\z_r.bmp" or the like
    const std::string name = strip.substr(strip.find('\\') + 1);
    EXPECT_EQ(GameStripFrames("/usr/share/veldra/animals/" + name), zebra.StripFrames());
    std::string upper = "/data/ANIMALS/" + name;
    for (char& c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(GameStripFrames(upper), zebra.StripFrames());
    EXPECT_EQ(GameStripFrames("animals\\" + name), zebra.StripFrames());
    EXPECT_EQ(GameStripFrames("/elsewhere/" + name), 0) << "another folder's file of the same name";
    EXPECT_EQ(GameStripFrames("/tmp/unknown.bmp"), 0);
    EXPECT_EQ(GameStripFrames(""), 0);
}

TEST(SpriteThumbnail, TheCommandWritesAnRgbaPngAndFailsCleanly)
{
    testpic::TempFolder folder{"thumbnail"};
    const std::string plain = folder.File("strip.bmp"), trle = folder.File("trle.bmp"), out = folder.File("out.png");
    testpic::WriteFile(plain, testpic::AsFile(BlockStrip().bytes));
    CDibPacked encoded;
    ASSERT_TRUE(Load(encoded, TAG_TRLE));
    ASSERT_TRUE(encoded.GetBlock());
    testpic::WriteFile(trle, testpic::AsFile(testpic::Copy(encoded.GetInfoHeader(), encoded.GetPictureSize())));

    ToolRun run = Kvftool("thumbnail --frames 3 " + trle + " " + out + " 20");
    ASSERT_EQ(run.status, 0) << run.output;
    const SpriteThumbnail written = ReadPng(out);
    ASSERT_EQ(written.width, 20);
    ASSERT_EQ(written.height, 15);
    EXPECT_EQ(At(written, 0, 0)[3], 0);
    EXPECT_EQ(At(written, 10, 7)[0], 250);

    // Without --frames, a file the game does not know is one frame.
    ASSERT_EQ(Kvftool("thumbnail " + plain + " " + out + " 45").status, 0);
    const SpriteThumbnail whole = ReadPng(out);
    EXPECT_EQ(whole.width, 20);
    EXPECT_EQ(whole.height, 45);

    // Bad input: a status, one line, no file.
    const std::string cut = folder.File("cut.bmp"), junk = folder.File("junk.bmp"), none = folder.File("none.png");
    std::vector<uint8_t> bytes = testpic::ReadFile(trle);
    bytes.resize(bytes.size() / 2);
    testpic::WriteFile(cut, bytes);
    testpic::WriteFile(junk, std::vector<uint8_t>(300, 0x5a));
    for (const std::string& bad : {cut, junk, folder.File("missing.bmp"), folder.Path().string()}) {
        ToolRun refused = Kvftool("thumbnail " + bad + " " + none + " 64");
        EXPECT_EQ(refused.status, 1) << bad << ": " << refused.output;
        EXPECT_EQ(std::count(refused.output.begin(), refused.output.end(), '\n'), 1) << refused.output;
        EXPECT_FALSE(std::filesystem::exists(none)) << bad;
    }
    EXPECT_EQ(Kvftool("thumbnail " + trle + " " + none + " 0").status, 2);
    EXPECT_EQ(Kvftool("thumbnail " + trle + " " + none).status, 2);
    EXPECT_EQ(Kvftool("thumbnail --frames x " + trle + " " + none + " 64").status, 2);
    EXPECT_EQ(Kvftool("thumbnail --frames 91 " + trle + " " + none + " 64").status, 1);
    EXPECT_FALSE(std::filesystem::exists(none));
}
