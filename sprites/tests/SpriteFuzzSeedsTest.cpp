// Builds the seed corpus of the sprite fuzz target (fuzz/corpus/sprite_fuzz):
// small sprite files of every depth and encoding, plus a few damaged ones.
// Run with VELDRA_WRITE_FUZZ_SEEDS=<folder> to write them; without it the
// test only checks that the seeds still come out as intended.

#include "SpriteTestPictures.h"

#include "sprites/CDibPacked.h"
#include "sprites/CDibTrle.h"
#include "sprites/PictureFormat.h"
#include "sprites/TrleCodec.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>

namespace {

std::vector<uint8_t> Taken(uint8_t* picture)
{
    std::vector<uint8_t> bytes = testpic::Copy(picture, PictureSize(picture));
    FreePicture(picture);
    return bytes;
}

testpic::Picture Small(uint32_t bits, const uint32_t* masks = nullptr)
{
    const int colours = bits <= 8 ? (bits == 1 ? 2 : 4) : 0;
    testpic::Picture pic = testpic::Make(6, 5, bits, masks, colours);
    uint32_t state = bits * 11;
    for (int y = 0; y < 5; ++y)
        for (int x = 1; x < 5 - y % 2; ++x) {
            if (bits >= 8)
                pic.Set(x, y, (testpic::Noise(state) & 0xFFFFFF & ((1u << (bits < 32 ? bits : 31)) - 1)) | 1);
        }
    if (bits < 8)
        for (size_t i = pic.headerSize; i < pic.bytes.size(); ++i)
            pic.bytes[i] = uint8_t(testpic::Noise(state));
    for (int i = 0; i < colours; ++i)
        pic.SetColour(i, uint8_t(60 * i), uint8_t(255 - 60 * i), uint8_t(i * 20));
    if (bits == 8)
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                pic.Set(x, y, pic.Get(x, y) & 3);
    return pic;
}

// Name, bytes, whether a CDibPacked takes it, whether a CDibTrle takes it.
struct Seed {
    std::string name;
    std::vector<uint8_t> bytes;
    bool packed;
    bool trle;
};

std::vector<Seed> MakeSeeds()
{
    const uint32_t masks565[3] = {0xF800, 0x7E0, 0x1F};
    testpic::Picture eight = Small(8);
    std::vector<uint8_t> trle8 = Taken(TrleEncode8(eight.bytes.data(), eight.bytes.size()));
    std::vector<Seed> seeds;
    seeds.push_back({"plain8.bmp", testpic::AsFile(eight.bytes), true, false});
    seeds.push_back({"trle8.bmp", testpic::AsFile(trle8), true, true});
    seeds.push_back({"trle8-bare.bin", trle8, true, true});
    for (uint32_t bits : {1u, 4u, 24u, 32u})
        seeds.push_back({"plain" + std::to_string(bits) + ".bmp", testpic::AsFile(Small(bits).bytes), true, false});
    testpic::Picture sixteen = Small(16, masks565);
    seeds.push_back({"plain565.bmp", testpic::AsFile(sixteen.bytes), true, false});
    testpic::Picture deep[] = {sixteen, Small(24), Small(32)};
    for (testpic::Picture& pic : deep) {
        std::vector<uint8_t> encoded = Taken(
            TrleEncodeWithReference(pic.bytes.data(), pic.bytes.size(), trle8.data(), trle8.size()));
        seeds.push_back({"trle" + std::to_string(pic.bitCount) + ".bmp", testpic::AsFile(encoded), true, true});
    }
    // Damaged: a row past the data, skip + count past the width, a cut file.
    std::vector<uint8_t> badOffset = trle8;
    WriteLE32(badOffset.data() + PictureHeaderSize(trle8.data()) + 16 + 8, 0x7FFF);
    seeds.push_back({"bad-offset.bin", badOffset, true, false});
    std::vector<uint8_t> badSpan = trle8;
    WriteLE16(badSpan.data() + PictureHeaderSize(trle8.data()) + 16 + 4, 5);
    seeds.push_back({"bad-span.bin", badSpan, true, false});
    std::vector<uint8_t> cut = testpic::AsFile(eight.bytes);
    cut.resize(cut.size() - 3);
    seeds.push_back({"cut.bmp", cut, false, false});
    return seeds;
}

} // namespace

TEST(SpriteFuzzSeeds, SeedsAreWhatTheyClaim)
{
    const std::vector<Seed> seeds = MakeSeeds();
    for (const Seed& seed : seeds) {
        CDibPacked packed;
        CDibTrle trle;
        EXPECT_EQ(packed.Attach(testpic::BlockOf(seed.bytes)) == DIB_OK, seed.packed) << seed.name;
        EXPECT_EQ(trle.Attach(testpic::BlockOf(seed.bytes)) == DIB_OK, seed.trle) << seed.name;
        EXPECT_LT(seed.bytes.size(), 400u) << seed.name;
    }
    if (const char* folder = std::getenv("VELDRA_WRITE_FUZZ_SEEDS")) {
        std::filesystem::create_directories(folder);
        for (const Seed& seed : seeds)
            testpic::WriteFile((std::filesystem::path(folder) / seed.name).string(), seed.bytes);
    }
}
