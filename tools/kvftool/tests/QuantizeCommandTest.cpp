// kvftool quantize on small generated sprite files.

#include "KvfPictureIO.h"
#include "QuantizeCommand.h"
#include "SpriteTestPictures.h"

#include "imaging/CDibPalette.h"
#include "sprites/CDibPacked.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

int Quantize(std::vector<std::string> words)
{
    words.insert(words.begin(), "quantize");
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    return RunQuantizeCommand(int(argv.size()), argv.data());
}

// A 24-bit picture whose pixel (x, y) is colours[(x + y) % size].
std::vector<uint8_t> ColourFile(int width, int height, const std::vector<uint32_t>& colours)
{
    testpic::Picture pic = testpic::Make(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pic.Set(x, y, colours[size_t(x + y) % colours.size()]);
    return testpic::AsFile(pic.bytes);
}

// The colour at (x, y) of an 8-bit sprite file, as 0xRRGGBB.
uint32_t ColourAt(CDibPacked& image, int x, int y)
{
    const PaletteEntry& e = image.GetPalette()->Entries()[image.GetPixel(x, y)];
    return uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue;
}

class QuantizeCommand : public ::testing::Test {
protected:
    testpic::TempFolder folder{"kvfquantize"};
    std::string a = folder.File("a.bmp"), b = folder.File("b.bmp"), out = folder.File("out");
    std::vector<uint32_t> aColours = {0xFF0000, 0x00FF00, 0x102030}, bColours = {0x0000FF, 0x102030};
    void SetUp() override
    {
        testpic::WriteFile(a, ColourFile(7, 5, aColours));
        testpic::WriteFile(b, ColourFile(4, 6, bColours));
    }
    void Load(const std::string& name, CDibPacked& image)
    {
        std::string error;
        ASSERT_TRUE(LoadDecodedSpriteFile(out + "/" + name, image, error)) << error;
        ASSERT_EQ(image.GetFormat(), PF_INDEX8);
    }
};

} // namespace

TEST_F(QuantizeCommand, FramesShareOnePaletteWithTheirExactColours)
{
    for (const char* method : {"octree", "kmeans"}) {
        ASSERT_EQ(Quantize({"--method", method, "--out-dir", out, a, b}), KVF_EXIT_OK) << method;
        CDibPacked ra, rb;
        Load("a.bmp", ra);
        Load("b.bmp", rb);
        for (int i = 0; i < 256; ++i) {
            const PaletteEntry &ea = ra.GetPalette()->Entries()[i], &eb = rb.GetPalette()->Entries()[i];
            EXPECT_TRUE(ea.red == eb.red && ea.green == eb.green && ea.blue == eb.blue) << method << " entry " << i;
        }
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(ColourAt(ra, x, y), aColours[size_t(x + y) % 3]) << method;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(ColourAt(rb, x, y), bColours[size_t(x + y) % 2]) << method;
    }
}

TEST_F(QuantizeCommand, OptionsReachTheReduction)
{
    ASSERT_EQ(Quantize({"--colors", "2", "--method", "box5", "--dither", "--system-colors", "--out-dir", out, a}),
              KVF_EXIT_OK);
    CDibPacked result;
    Load("a.bmp", result);
    const PaletteEntry* e = result.GetPalette()->Entries();
    EXPECT_EQ(e[9].red, 166); // the last of the first ten static colours
    EXPECT_EQ(e[255].red, 255);
    EXPECT_EQ(e[12].red, 0); // only two quantized colours: the rest of 10-245 is black
    ASSERT_EQ(Quantize({"--sample", "--out-dir", out, a}), KVF_EXIT_OK);
}

TEST_F(QuantizeCommand, BadCommandLinesAndInputsWriteNothing)
{
    const std::string sameName = folder.File("sub");
    std::filesystem::create_directories(sameName);
    testpic::WriteFile(sameName + "/a.bmp", ColourFile(2, 2, {0}));
    const std::string broken = folder.File("broken.bmp");
    testpic::WriteFile(broken, {'B', 'M', 1, 2, 3});

    EXPECT_EQ(Quantize({"--out-dir", out}), KVF_EXIT_USAGE);
    EXPECT_EQ(Quantize({a}), KVF_EXIT_USAGE);
    EXPECT_EQ(Quantize({"--colors", "0", "--out-dir", out, a}), KVF_EXIT_USAGE);
    EXPECT_EQ(Quantize({"--colors", "257", "--out-dir", out, a}), KVF_EXIT_USAGE);
    EXPECT_EQ(Quantize({"--colors", "12x", "--out-dir", out, a}), KVF_EXIT_USAGE);
    EXPECT_EQ(Quantize({"--method", "median", "--out-dir", out, a}), KVF_EXIT_USAGE);
    EXPECT_EQ(Quantize({"--method", "box6", "--sample", "--out-dir", out, a}), KVF_EXIT_USAGE);
    EXPECT_EQ(Quantize({"--palette", "x", "--out-dir", out, a}), KVF_EXIT_USAGE);
    EXPECT_EQ(Quantize({"--out-dir", out, a, sameName + "/a.bmp"}), KVF_EXIT_USAGE);
    EXPECT_EQ(Quantize({"--out-dir", out, a, broken}), KVF_EXIT_FAILED);
    EXPECT_EQ(Quantize({"--out-dir", out, a, folder.File("missing.bmp")}), KVF_EXIT_FAILED);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(Quantize({"--help"}), KVF_EXIT_OK);
}
