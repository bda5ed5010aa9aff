#include "common/DataPath.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

class DataPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("datapath-" + std::to_string(::getpid()));
        fs::create_directories(root / "Menu");
        std::ofstream(root / "Menu" / "Cursor.BMP") << "x";
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(DataPathTest, ConvertsSeparatorsAndFindsNamesIgnoringCase)
{
    EXPECT_EQ(ToNativeSeparators("menu\\cursor.bmp"), "menu/cursor.bmp");
    EXPECT_EQ(MapDataPath("menu\\cursor.bmp", root.string()), (root / "Menu" / "Cursor.BMP").string());
    EXPECT_EQ(MapDataPath("Menu\\Cursor.BMP", root.string()), (root / "Menu" / "Cursor.BMP").string());
}

TEST_F(DataPathTest, MissingNamesComeBackConvertedSoOpenFailsNormally)
{
    EXPECT_EQ(MapDataPath("menu\\nothere.bmp", root.string()), root.string() + "/menu/nothere.bmp");
}
