// A second run of every generator writes the data folder the build made, byte
// for byte: nothing depends on the clock, the threads' order or the machine.
// The one test here that generates the whole folder; the others read the
// build's.

#include "generators/Generators.h"
#include "sink/CAssetSink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Every regular file under `folder` by its path relative to it.
std::map<std::string, std::vector<char>> FileBytesUnder(const fs::path& folder)
{
    std::map<std::string, std::vector<char>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), folder).generic_string()] =
            std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

} // namespace

TEST(Reproducible, ASecondRunWritesTheBuildsDataFolderByteForByte)
{
    const fs::path again = fs::temp_directory_path() / ("assetgen-again-" + std::to_string(::getpid()));
    fs::remove_all(again);
    {
        CAssetSink sink(again.string(), "");
        for (int i = 0; i < kGeneratorCount; ++i)
            kGenerators[i].run(sink);
        EXPECT_EQ(sink.Failures(), 0);
    }
    auto built = FileBytesUnder(VELDRA_GENERATED_DATA_DIR);
    const auto second = FileBytesUnder(again);
    fs::remove_all(again);
    // The game writes its own files beside the data (the trophy record, a
    // configuration); they are not the generator's.
    for (const char* own : {"trophy.bin", "config.dat"})
        built.erase(own);
    EXPECT_GE(built.size(), 150u);
    ASSERT_EQ(built.size(), second.size());
    for (const auto& [name, bytes] : built) {
        const auto other = second.find(name);
        ASSERT_NE(other, second.end()) << name << " is not written by a second run";
        EXPECT_TRUE(bytes == other->second) << name << " differs between runs";
    }
}
