#include "common/AtomicFile.h"
#include "common/ByteOrder.h"
#include "common/CAtomicOutputFile.h"
#include "game/CGameRandom.h"
#include "game/TrophyFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/wait.h>
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

TEST_F(GameFilesTest, LyingCountsKeepEveryWholeEntryAndADamagedCopy)
{
    const auto damaged = [&](const char* suffix) {
        std::string bytes;
        return ReadWholeFile(trophies + ".damaged" + suffix, bytes) ? bytes : std::string("(none)");
    };
    // A count far beyond the file: the two entries present are kept.
    std::vector<uint8_t> bytes(12);
    WriteLE32(bytes.data(), 0x7FFFFFFF);
    WriteLE32(bytes.data() + 4, 3);
    WriteLE32(bytes.data() + 8, 5);
    WriteBytes(trophies, bytes);
    EXPECT_EQ(ReadTrophies(trophies), (std::vector<int32_t>{3, 5}));
    EXPECT_FALSE(ReadTrophyRecord(trophies).clean);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(AppendTrophy(1, trophies));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(trophies + ".damaged"), std::string::npos);
    EXPECT_EQ(ReadTrophies(trophies), (std::vector<int32_t>{3, 5, 1}));
    EXPECT_TRUE(ReadTrophyRecord(trophies).clean);
    EXPECT_EQ(damaged(""), std::string(bytes.begin(), bytes.end()));

    // One bit away from 50: a negative count over 50 entries keeps all 50,
    // and the first damaged copy is not overwritten by the second.
    std::vector<uint8_t> fifty(4 + 4 * 50);
    WriteLE32(fifty.data(), 0x80000032);
    for (int i = 0; i < 50; ++i)
        WriteLE32(fifty.data() + 4 + 4 * i, uint32_t(1 + i % 7));
    WriteBytes(trophies, fifty);
    EXPECT_EQ(ReadTrophies(trophies).size(), 50u);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(AppendTrophy(6, trophies));
    testing::internal::GetCapturedStderr();
    const std::vector<int32_t> kept = ReadTrophies(trophies);
    ASSERT_EQ(kept.size(), 51u);
    EXPECT_EQ(kept[49], 1 + 49 % 7);
    EXPECT_EQ(kept[50], 6);
    EXPECT_EQ(damaged(""), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(damaged(".1"), std::string(fifty.begin(), fifty.end()));

    // A torn count and a torn entry read what is whole; so do extra bytes
    // beyond the counted entries, which are kept in the copy as well.
    WriteBytes(trophies, {1, 2});
    EXPECT_TRUE(ReadTrophies(trophies).empty());
    EXPECT_FALSE(ReadTrophyRecord(trophies).clean);
    WriteBytes(trophies, {1, 0, 0, 0, 4, 0, 0, 0, 9});
    EXPECT_EQ(ReadTrophies(trophies), (std::vector<int32_t>{4}));
    EXPECT_FALSE(ReadTrophyRecord(trophies).clean);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(AppendTrophy(2, trophies));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadTrophies(trophies), (std::vector<int32_t>{4, 2}));
    EXPECT_EQ(damaged(".2").size(), 9u);

    // Clean records and an empty file make no copy.
    WriteBytes(trophies, {});
    EXPECT_TRUE(ReadTrophyRecord(trophies).clean);
    ASSERT_TRUE(AppendTrophy(7, trophies));
    EXPECT_EQ(damaged(".3"), "(none)");
}

TEST_F(GameFilesTest, TheNextBagClearsWhatAKilledWriteLeft)
{
    ASSERT_TRUE(AppendTrophy(3, trophies));
    // The game killed while writing its record.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CAtomicOutputFile file;
        if (file.Create(trophies) && file.Write("\x02\0\0\0", 4))
            ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const auto leftovers = [&] {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(dir))
            count += entry.path().filename().string().rfind("trophy.bin.tmp", 0) == 0;
        return count;
    };
    ASSERT_EQ(leftovers(), 1);
    ASSERT_TRUE(AppendTrophy(5, trophies));
    EXPECT_EQ(leftovers(), 0);
    EXPECT_EQ(ReadTrophies(trophies), (std::vector<int32_t>{3, 5}));
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
