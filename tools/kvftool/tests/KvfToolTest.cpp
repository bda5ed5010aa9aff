// Runs the built kvftool on small generated sprite files.

#include "KvfPictureIO.h"
#include "KvftoolRun.h"
#include "SpriteTestPictures.h"

#include "imaging/CDibPalette.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteCodecs.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

// A 10 × 12 8-bit strip of three frames; frame k is filled with index k + 1
// except for a transparent left column.
testpic::Picture Strip()
{
    testpic::Picture pic = testpic::Make(10, 12, 8);
    for (int y = 0; y < 12; ++y)
        for (int x = 1; x < 10; ++x)
            pic.Set(x, y, uint32_t(y / 4 + 1));
    pic.SetColour(1, 0x12, 0x34, 0x56);
    pic.SetColour(2, 200, 0, 0);
    pic.SetColour(3, 0, 0, 200);
    return pic;
}

class KvfTool : public ::testing::Test {
protected:
    testpic::TempFolder folder{"kvftool"};
    std::string strip = folder.File("strip.bmp");
    void SetUp() override { testpic::WriteFile(strip, testpic::AsFile(Strip().bytes)); }
};

} // namespace

TEST_F(KvfTool, InfoPrintsOneKeyPerLine)
{
    ToolRun run = Kvftool("info " + strip);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("width: 10\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("height: 12\n"), std::string::npos);
    EXPECT_NE(run.output.find("bit count: 8\n"), std::string::npos);
    EXPECT_NE(run.output.find("compression: none\n"), std::string::npos);
    EXPECT_NE(run.output.find("image size: 0\n"), std::string::npos);
    EXPECT_NE(run.output.find("colours used: 0\n"), std::string::npos);
}

TEST_F(KvfTool, EncodeAndDecodeRoundTrip)
{
    const std::string encoded = folder.File("strip-trle.bmp"), decoded = folder.File("strip-back.bmp");
    ASSERT_EQ(Kvftool("encode --codec TRLE " + strip + " " + encoded).status, 0);
    EXPECT_NE(Kvftool("info " + encoded).output.find("compression: TRLE\n"), std::string::npos);
    ASSERT_EQ(Kvftool("decode " + encoded + " " + decoded).status, 0);
    EXPECT_EQ(testpic::ReadFile(decoded), testpic::ReadFile(strip));

    // Codecs that are not in the table, or do not fit, fail with one line.
    for (const char* codec : {"ARLE", "PRLE", "PKCC"}) {
        ToolRun run = Kvftool(std::string("encode --codec ") + codec + " " + strip + " " + folder.File("x.bmp"));
        uint32_t tag = 0;
        ASSERT_TRUE(ParseTag(codec, tag));
        if (!FindSpriteEncoder(tag)) {
            EXPECT_EQ(run.status, 1) << codec;
            EXPECT_NE(run.output.find("not available"), std::string::npos) << run.output;
        } else {
            EXPECT_EQ(run.status, 0) << codec << run.output;
        }
    }
    const std::string deep = folder.File("deep.bmp");
    ASSERT_EQ(Kvftool("convert --format RGB24 " + strip + " " + deep).status, 0);
    ToolRun refused = Kvftool("encode --codec TRLE " + deep + " " + folder.File("y.bmp"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("cannot encode"), std::string::npos);
    EXPECT_EQ(std::count(refused.output.begin(), refused.output.end(), '\n'), 1);
    // With an 8-bit reference it works, and the trims match.
    ASSERT_EQ(Kvftool("encode --codec TRLE --reference " + encoded + " " + deep + " " + folder.File("y.bmp")).status,
              0);
    EXPECT_EQ(Kvftool("encode --codec XYZW " + strip + " " + folder.File("z.bmp")).status, 2);
}

TEST_F(KvfTool, ConvertGivesTheExpectedPixels)
{
    const std::string out = folder.File("565.bmp");
    ASSERT_EQ(Kvftool("convert --format RGB565 " + strip + " " + out).status, 0);
    CDibPacked image;
    std::string error;
    ASSERT_TRUE(LoadDecodedSpriteFile(out, image, error)) << error;
    EXPECT_EQ(image.GetFormat(), PF_RGB565);
    EXPECT_EQ(image.GetPixel(5, 0), 0x11AAu);

    // TRLE pictures convert without decoding.
    const std::string encoded = folder.File("trle.bmp"), trle555 = folder.File("trle555.bmp");
    ASSERT_EQ(Kvftool("encode --codec TRLE " + strip + " " + encoded).status, 0);
    ASSERT_EQ(Kvftool("convert --format RGB555 " + encoded + " " + trle555).status, 0);
    EXPECT_NE(Kvftool("info " + trle555).output.find("compression: TRLE\nimage size"), std::string::npos);

    // To INDEX8 through a palette file, with and without dithering.
    const std::string back = folder.File("back8.bmp");
    ASSERT_EQ(Kvftool("convert --format INDEX8 --palette " + strip + " " + out + " " + back).status, 0);
    CDibPacked indexed;
    ASSERT_TRUE(LoadDecodedSpriteFile(back, indexed, error));
    EXPECT_EQ(indexed.GetPixel(5, 0), 1u);
    EXPECT_EQ(Kvftool("convert --format INDEX8 --dither --palette " + strip + " " + out + " " + back).status, 0);
    EXPECT_EQ(Kvftool("convert --format INDEX8 " + out + " " + back).status, 2);
    EXPECT_EQ(Kvftool("convert --format BGR24 " + strip + " " + back).status, 2);
}

TEST_F(KvfTool, PalettesComeFromTheListedColoursOnly)
{
    // A 4-bit file lists two colours: black and red. Its pixels cannot be
    // converted, but its palette maps the strip's dark blue to black.
    testpic::Picture nibbles = testpic::Make(2, 1, 4, nullptr, 2);
    nibbles.SetColour(1, 255, 0, 0);
    const std::string paletteFile = folder.File("two.bmp"), out = folder.File("two8.bmp");
    testpic::WriteFile(paletteFile, testpic::AsFile(nibbles.bytes));
    EXPECT_EQ(Kvftool("convert --format RGB24 " + paletteFile + " " + out).status, 1);
    ASSERT_EQ(Kvftool("convert --format INDEX8 --palette " + paletteFile + " " + strip + " " + out).status, 0);
    CDibPacked image;
    std::string error;
    ASSERT_TRUE(LoadDecodedSpriteFile(out, image, error));
    EXPECT_EQ(image.GetPixel(5, 0), 0u);  // (0x12, 0x34, 0x56) is nearer black
    EXPECT_EQ(image.GetPixel(5, 4), 1u);  // (200, 0, 0) is nearer red
    EXPECT_EQ(image.GetPixel(5, 8), 0u);
}

TEST_F(KvfTool, SplitAndJoinAreInverse)
{
    const std::string pattern = folder.File("walk.bmp");
    ASSERT_EQ(Kvftool("split --frames 3 " + strip + " " + pattern).status, 0);
    CDibPacked frame;
    std::string error;
    ASSERT_TRUE(LoadDecodedSpriteFile(folder.File("walk0002.bmp"), frame, error)) << error;
    EXPECT_EQ(frame.GetHeight(), 4);
    EXPECT_EQ(frame.GetPixel(3, 3), 3u); // frame 2 is the bottom band
    const std::string joined = folder.File("joined.bmp");
    ASSERT_EQ(Kvftool("join --out " + joined + " " + folder.File("walk0000.bmp") + " " + folder.File("walk0001.bmp") +
                      " " + folder.File("walk0002.bmp"))
                  .status,
              0);
    EXPECT_EQ(testpic::ReadFile(joined), testpic::ReadFile(strip));

    // An encoded strip gives encoded frames.
    const std::string encoded = folder.File("strip-trle.bmp");
    ASSERT_EQ(Kvftool("encode --codec TRLE " + strip + " " + encoded).status, 0);
    ASSERT_EQ(Kvftool("split --frames 3 " + encoded + " " + folder.File("run.bmp")).status, 0);
    EXPECT_NE(Kvftool("info " + folder.File("run0001.bmp")).output.find("TRLE"), std::string::npos);

    EXPECT_EQ(Kvftool("split --frames 13 " + strip + " " + pattern).status, 1);
    EXPECT_EQ(Kvftool("split --frames x " + strip + " " + pattern).status, 2);
    EXPECT_EQ(Kvftool("join --out " + joined + " " + strip + " " + folder.File("walk0000.bmp")).status, 1);
}

TEST_F(KvfTool, FailuresPrintOneLine)
{
    for (const std::string& args : {std::string(""), std::string("frobnicate"), std::string("info"),
                                    "info " + folder.File("missing.bmp"), "decode " + strip}) {
        ToolRun run = Kvftool(args);
        EXPECT_NE(run.status, 0) << args;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << args << ": " << run.output;
        EXPECT_EQ(run.output.rfind("kvftool: ", 0), 0u) << run.output;
    }
    const std::string junk = folder.File("junk.bmp");
    testpic::WriteFile(junk, std::vector<uint8_t>(200, 'B'));
    EXPECT_EQ(Kvftool("info " + junk).status, 1);
    ToolRun help = Kvftool("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("usage: kvftool"), std::string::npos);
    EXPECT_NE(Kvftool("quantize").status, 0);
}
