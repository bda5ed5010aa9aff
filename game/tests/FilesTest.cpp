#include "common/AtomicFile.h"
#include "common/ByteOrder.h"
#include "game/CGameRandom.h"
#include "game/GameConfig.h"
#include "game/TrophyFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

class GameFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("gamefiles-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        trophies = (dir / "trophy.bin").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
    {
        ASSERT_TRUE(WriteFileAtomically(path, bytes.data(), bytes.size()));
    }
    fs::path dir;
    std::string trophies;
};

TEST_F(GameFilesTest, ConfigReadsZeroForMissingKeysAndDefaultsWhenNothingMoves)
{
    // No file: 8-bit, and the setup tool's default keys, so the game can be played.
    GameConfig none = ReadGameConfig(dir.string());
    EXPECT_EQ(none.highColour, 0);
    EXPECT_EQ(none.keyUp, 200);
    EXPECT_EQ(none.keyDown, 208);
    EXPECT_EQ(none.keyButton0, 57);
    EXPECT_EQ(none.keyButton3, 157);
    const std::string text = "[configuration]\nhighcolour=1\nkeyup=200\nkeybut0=junk\n";
    WriteBytes((dir / "config.dat").string(), std::vector<uint8_t>(text.begin(), text.end()));
    GameConfig some = ReadGameConfig(dir.string());
    EXPECT_EQ(some.highColour, 1);
    EXPECT_EQ(some.keyUp, 200);
    EXPECT_EQ(some.keyButton0, 0);
    EXPECT_EQ(some.keyDown, 0);
}

TEST_F(GameFilesTest, FirstTrophyMakesAnEightByteFileAndAppendsKeepOrder)
{
    EXPECT_TRUE(ReadTrophies(trophies).empty());
    ASSERT_TRUE(AppendTrophy(7, trophies));
    EXPECT_EQ(fs::file_size(trophies), 8u);
    ASSERT_TRUE(AppendTrophy(2, trophies));
    ASSERT_TRUE(AppendTrophy(4, trophies));
    EXPECT_EQ(ReadTrophies(trophies), (std::vector<int32_t>{7, 2, 4}));
    std::string bytes;
    ReadWholeFile(trophies, bytes);
    EXPECT_EQ(ReadLE32(bytes.data()), 3u);
}

TEST_F(GameFilesTest, LyingCountsKeepOnlyTheEntriesPresent)
{
    // A count far beyond the file: the two entries present are kept.
    std::vector<uint8_t> bytes(12);
    WriteLE32(bytes.data(), 0x7FFFFFFF);
    WriteLE32(bytes.data() + 4, 3);
    WriteLE32(bytes.data() + 8, 5);
    WriteBytes(trophies, bytes);
    EXPECT_EQ(ReadTrophies(trophies), (std::vector<int32_t>{3, 5}));
    ASSERT_TRUE(AppendTrophy(1, trophies));
    EXPECT_EQ(ReadTrophies(trophies), (std::vector<int32_t>{3, 5, 1}));

    WriteLE32(bytes.data(), uint32_t(-4));
    WriteBytes(trophies, bytes);
    EXPECT_TRUE(ReadTrophies(trophies).empty());
    WriteBytes(trophies, {1, 2}); // shorter than the count
    EXPECT_TRUE(ReadTrophies(trophies).empty());
    ASSERT_TRUE(AppendTrophy(6, trophies));
    EXPECT_EQ(ReadTrophies(trophies), (std::vector<int32_t>{6}));
}

TEST(GameRandom, ClassicLinearCongruentialSequence)
{
    CGameRandom random;
    random.Seed(1);
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    random.Seed(0);
    EXPECT_EQ(random.Next(), 38);
}
