// The desktop icons: the same bytes on every run, a drawing with smooth
// edges on a transparent ground at every size, and the theme folder layout
// the desktop looks them up in.

#include "generators/Icons.h"

#include "common/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

uint8_t AlphaAt(const std::vector<uint8_t>& rgba, int size, int x, int y)
{
    return rgba[(size_t(y) * size_t(size) + size_t(x)) * 4 + 3];
}

uint32_t BigEndian32(const std::string& bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
           uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
}

TEST(Icons, EveryIconIsADrawingOnATransparentGround)
{
    std::set<std::vector<uint8_t>> distinct;
    for (int i = 0; i < kIconCount; ++i)
        for (int size : {16, 48}) {
            const std::vector<uint8_t> rgba = RenderIcon(i, size);
            ASSERT_EQ(rgba.size(), size_t(size) * size_t(size) * 4) << kIcons[i].name;
            EXPECT_EQ(rgba, RenderIcon(i, size)) << kIcons[i].name << " differs between runs";
            EXPECT_EQ(AlphaAt(rgba, size, 0, 0), 0) << kIcons[i].name;
            EXPECT_EQ(AlphaAt(rgba, size, size - 1, 0), 0) << kIcons[i].name;
            EXPECT_EQ(AlphaAt(rgba, size, size / 2, size / 2), 255) << kIcons[i].name;
            // Edges are blended, not cut.
            int partial = 0;
            for (int p = 0; p < size * size; ++p)
                partial += rgba[size_t(p) * 4 + 3] != 0 && rgba[size_t(p) * 4 + 3] != 255;
            EXPECT_GT(partial, size / 2) << kIcons[i].name;
            distinct.insert(rgba);
        }
    EXPECT_EQ(distinct.size(), size_t(kIconCount) * 2);
}

TEST(Icons, TheThemeFolderHoldsEveryIconInEverySizeTheSameEveryRun)
{
    const fs::path folder = fs::temp_directory_path() / ("veldra_icons_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    ASSERT_TRUE(GenerateIcons(folder.string()));
    std::map<std::string, std::string> first;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            std::string bytes;
            ASSERT_TRUE(ReadWholeFile(entry.path().string(), bytes));
            first[fs::relative(entry.path(), folder).string()] = bytes;
        }
    ASSERT_EQ(first.size(), size_t(kIconCount) * size_t(kIconSizeCount));
    for (int s = 0; s < kIconSizeCount; ++s)
        for (int i = 0; i < kIconCount; ++i) {
            const int size = kIconSizes[s];
            const std::string name = "hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/" +
                                     kIcons[i].context + "/" + kIcons[i].name + ".png";
            ASSERT_TRUE(first.count(name)) << name;
            const std::string& png = first[name];
            ASSERT_GT(png.size(), 33u);
            EXPECT_EQ(png.substr(1, 3), "PNG");
            EXPECT_EQ(BigEndian32(png, 16), uint32_t(size)) << name;
            EXPECT_EQ(BigEndian32(png, 20), uint32_t(size)) << name;
            EXPECT_EQ(png[24], 8) << name;  // bits per channel
            EXPECT_EQ(png[25], 6) << name;  // RGBA
        }
    ASSERT_TRUE(GenerateIcons(folder.string()));
    for (const auto& [name, bytes] : first) {
        std::string again;
        ASSERT_TRUE(ReadWholeFile((folder / name).string(), again));
        EXPECT_EQ(again, bytes) << name;
    }
    fs::remove_all(folder);
}

} // namespace
