#include "common/AtomicFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesWholeFileAndLeavesNoTemporary)
{
    fs::path dir = fs::temp_directory_path() / ("atomic-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string path = (dir / "trophy.bin").string();
    ASSERT_TRUE(WriteFileAtomically(path, "old", 3));
    ASSERT_TRUE(WriteFileAtomically(path, "newer", 5));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "newer");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_FALSE(ReadWholeFile(path, bytes, 2)); // larger than allowed
    fs::remove_all(dir);
}

TEST(AtomicFile, FailedWriteKeepsOldFile)
{
    EXPECT_FALSE(WriteFileAtomically("/nonexistent-folder/x.bin", "a", 1));
}
