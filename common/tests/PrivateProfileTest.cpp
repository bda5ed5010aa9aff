#include "common/AtomicFile.h"
#include "common/KeyCodes.h"
#include "common/PrivateProfile.h"

#include <SDL_scancode.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("profile-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        path = (dir / "config.dat").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const std::string& text) { ASSERT_TRUE(WriteFileAtomically(path, text.data(), text.size())); }
    fs::path dir;
    std::string path;
};

TEST_F(ProfileTest, AbsentFilesSectionsAndKeysGiveTheDefault)
{
    EXPECT_EQ(GetPrivateProfileInt("configuration", "keyup", 0, path), 0);
    Write("[other]\nkeyup=5\n");
    EXPECT_EQ(GetPrivateProfileInt("configuration", "keyup", 7, path), 7);
}

TEST_F(ProfileTest, ReadsIntegersAsTheProfileReaderDoes)
{
    Write("; comment\r\n[Configuration]\r\nHighColour=1\r\n keyup = 200 \r\nkeydown=12abc\r\nkeyleft=abc\r\n"
          "keyright=-3\r\nkeybut0=99999999999\r\n");
    EXPECT_EQ(GetPrivateProfileInt("configuration", "highcolour", 0, path), 1);
    EXPECT_EQ(GetPrivateProfileInt("configuration", "keyup", 0, path), 200);
    EXPECT_EQ(GetPrivateProfileInt("configuration", "keydown", 0, path), 12);
    EXPECT_EQ(GetPrivateProfileInt("configuration", "keyleft", 5, path), 0);
    EXPECT_EQ(GetPrivateProfileInt("configuration", "keyright", 0, path), -3);
    EXPECT_EQ(GetPrivateProfileInt("configuration", "keybut0", 0, path), 2147483647);
}

TEST_F(ProfileTest, WritesKeepOtherLinesAndReplaceValues)
{
    Write("; made by hand\n[configuration]\nkeyup=1\n\n[other]\nx=y\n");
    ASSERT_TRUE(WritePrivateProfileString("configuration", "keyup", "200", path));
    ASSERT_TRUE(WritePrivateProfileString("Configuration", "keydown", "208", path));
    ASSERT_TRUE(WritePrivateProfileString("new", "a", "1", path));
    EXPECT_EQ(GetPrivateProfileInt("configuration", "keyup", 0, path), 200);
    EXPECT_EQ(GetPrivateProfileInt("configuration", "keydown", 0, path), 208);
    EXPECT_EQ(GetPrivateProfileString("other", "x", "", path), "y");
    EXPECT_EQ(GetPrivateProfileInt("new", "a", 0, path), 1);
    std::string bytes;
    ReadWholeFile(path, bytes);
    EXPECT_NE(bytes.find("; made by hand"), std::string::npos);
}

TEST_F(ProfileTest, SeveralKeysGoInOneWriteAndWhatCannotBeReadIsLeftAlone)
{
    Write("[configuration]\nkeyup=1\n");
    ASSERT_TRUE(WritePrivateProfileStrings("configuration", {{"keyup", "200"}, {"keydown", "208"}, {"KEYUP", "7"}},
                                           path));
    std::string bytes;
    ReadWholeFile(path, bytes);
    EXPECT_EQ(bytes, "[configuration]\r\nkeyup=7\r\nkeydown=208\r\n");

    // A folder of that name reads as nothing; writing would replace it.
    const std::string folder = path + ".d";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    EXPECT_FALSE(WritePrivateProfileString("configuration", "keyup", "1", folder));
    EXPECT_EQ(::rmdir(folder.c_str()), 0);
    EXPECT_FALSE(WritePrivateProfileString("configuration", "keyup", "1", ""));
}

TEST(KeyCodes, OneTableForSdlEvdevAndNames)
{
    EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_UP), 200);
    EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_SPACE), 57);
    EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_RCTRL), 157);
    EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(DikFromEvdev(103), 200); // KEY_UP
    EXPECT_EQ(DikFromEvdev(28), 28);   // KEY_ENTER
    EXPECT_EQ(SdlScancodeFromDik(203), SDL_SCANCODE_LEFT);
    EXPECT_STREQ(DikName(205), "RIGHT");
    EXPECT_EQ(DikFromName("rshift"), 54);
    EXPECT_EQ(DikFromName("nonsense"), 0);
}
