// "config.dat" as both programs read it and the setup tool writes it: absent
// values, the default keys while nothing walks, one whole write for the
// eight keys, other lines kept, and no write over a file that cannot be read.

#include "common/AtomicFile.h"
#include "gamedata/CConfigFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("configfile-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        path = (dir / "config.dat").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const std::string& text) { ASSERT_TRUE(WriteFileAtomically(path, text.data(), text.size())); }
    std::string Contents()
    {
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes));
        return bytes;
    }
    fs::path dir;
    std::string path;
};

TEST_F(ConfigFileTest, AbsentValuesMeanEightBitAndNothingToWalkWithMeansTheDefaultKeys)
{
    const CConfigFile file(path);
    // No file at all, and no place for one: 8-bit and the default keys.
    for (const CConfigFile& each : {file, CConfigFile("")}) {
        const GameConfig none = each.Read();
        EXPECT_FALSE(none.highColour);
        EXPECT_EQ(none.keys, DefaultControlKeys());
        EXPECT_EQ(none.Key(GameControl::Up), 200);
        EXPECT_EQ(none.Key(GameControl::Fire), 57);
        EXPECT_EQ(none.Key(GameControl::Jeep), 157);
    }

    Write("[configuration]\nhighcolour=1\nkeyup=200\nkeybut0=junk\n");
    GameConfig some = file.Read();
    EXPECT_TRUE(some.highColour);
    EXPECT_EQ(some.Key(GameControl::Up), 200);
    EXPECT_EQ(some.Key(GameControl::Fire), 0);
    EXPECT_EQ(some.Key(GameControl::Down), 0);

    // Any non-zero depth is high colour; up and down both 0 replace all eight.
    Write("[Configuration]\nHighColour=-7\nkeyup=0\nkeydown=0\nkeyleft=84\n");
    some = file.Read();
    EXPECT_TRUE(some.highColour);
    EXPECT_EQ(some.keys, DefaultControlKeys());
}

TEST_F(ConfigFileTest, TheKeysAreWrittenInOneWholeFileKeepingOtherLines)
{
    const CConfigFile file(path);
    EXPECT_EQ(file.CreateIfAbsent(), CConfigFile::Creation::Created);
    EXPECT_EQ(Contents(), "[configuration]");
    EXPECT_EQ(file.CreateIfAbsent(), CConfigFile::Creation::Present);

    Write("; by hand\n[configuration]\nkeydown=1\n\n[other]\nx=y\n");
    const ControlKeys keys{17, 31, 30, 32, 29, 18, 16, 15};
    ASSERT_TRUE(file.WriteControlKeys(keys));
    ASSERT_TRUE(file.WriteHighColour(true));
    EXPECT_EQ(Contents(), "; by hand\r\n[configuration]\r\nkeydown=31\r\nkeyup=17\r\nkeyleft=30\r\nkeyright=32\r\n"
                          "keybut0=29\r\nkeybut1=18\r\nkeybut2=16\r\nkeybut3=15\r\nhighcolour=1\r\n\r\n[other]\r\n"
                          "x=y\r\n");
    const GameConfig read = file.Read();
    EXPECT_TRUE(read.highColour);
    EXPECT_EQ(read.keys, keys);
    ASSERT_TRUE(file.WriteHighColour(false));
    EXPECT_FALSE(file.Read().highColour);
}

TEST_F(ConfigFileTest, TheGamesSoundKeysRoundTripBesideTheSetupToolsAndOutOfRangeIsClamped)
{
    const CConfigFile file(path);
    // Absent: full volume, not muted, the default output.
    GameConfig read = file.Read();
    EXPECT_EQ(read.volume, kVolumeSteps);
    EXPECT_FALSE(read.muted);
    EXPECT_EQ(read.audioDevice, "");

    Write("[configuration]\nhighcolour=1\nkeyup=17\n");
    ASSERT_TRUE(file.WriteSound(3, true));
    ASSERT_TRUE(file.WriteAudioDevice("Card Two (USB)"));
    EXPECT_EQ(Contents(), "[configuration]\r\nhighcolour=1\r\nkeyup=17\r\nvolume=3\r\nmute=1\r\n"
                          "audiodevice=Card Two (USB)\r\n");
    read = file.Read();
    EXPECT_EQ(read.volume, 3);
    EXPECT_TRUE(read.muted);
    EXPECT_EQ(read.audioDevice, "Card Two (USB)");
    EXPECT_TRUE(read.highColour);
    EXPECT_EQ(read.Key(GameControl::Up), 17); // the setup tool's keys untouched
    // The setup tool's own writes keep the game's keys.
    ASSERT_TRUE(file.WriteControlKeys(DefaultControlKeys()));
    EXPECT_EQ(file.Read().volume, 3);

    ASSERT_TRUE(file.WriteSound(kVolumeSteps + 5, false));
    EXPECT_EQ(file.Read().volume, kVolumeSteps);
    Write("[configuration]\nvolume=-4\nmute=junk\n");
    read = file.Read();
    EXPECT_EQ(read.volume, 0);
    EXPECT_FALSE(read.muted);

    // The steps' gains rise from silence to full.
    EXPECT_EQ(VolumeGain(0), 0.0f);
    EXPECT_EQ(VolumeGain(kVolumeSteps), 1.0f);
    EXPECT_EQ(VolumeGain(-1), 0.0f);
    for (int step = 1; step <= kVolumeSteps; ++step)
        EXPECT_GT(VolumeGain(step), VolumeGain(step - 1));
}

TEST_F(ConfigFileTest, TheWindowsStateRoundTripsAndUnbelievableSizesAreNotKept)
{
    const CConfigFile file(path);
    EXPECT_EQ(file.Read().window, WindowState{}); // nothing kept: full screen is the game's choice
    ASSERT_TRUE(file.WriteWindow({0, 1024, 768, true}));
    EXPECT_EQ(file.Read().window, (WindowState{0, 1024, 768, true}));
    ASSERT_TRUE(file.WriteWindow({1, 1024, 768, false}));
    EXPECT_EQ(file.Read().window, (WindowState{1, 1024, 768, false}));
    Write("[configuration]\nfullscreen=7\nwindowwidth=99999\nwindowheight=600\n");
    EXPECT_EQ(file.Read().window, (WindowState{1, 0, 0, false}));
    Write("[configuration]\nfullscreen=-3\nwindowwidth=800\nwindowheight=12\n");
    EXPECT_EQ(file.Read().window, WindowState{});
}

TEST_F(ConfigFileTest, TheAidsAreOffUnlessTurnedOnAndRoundTripBesideTheOtherKeys)
{
    const CConfigFile file(path);
    EXPECT_EQ(file.Read().aids, HuntAids{});
    EXPECT_EQ(CConfigFile("").Read().aids, HuntAids{});
    EXPECT_FALSE(HuntAids{}.quarryOnRadar || HuntAids{}.aimReticle); // the original's look by default

    Write("[configuration]\nhighcolour=1\nkeyup=17\nvolume=4\n");
    ASSERT_TRUE(file.WriteAids({true, false}));
    EXPECT_EQ(Contents(), "[configuration]\r\nhighcolour=1\r\nkeyup=17\r\nvolume=4\r\nquarryradar=1\r\n"
                          "aimreticle=0\r\n");
    GameConfig read = file.Read();
    EXPECT_EQ(read.aids, (HuntAids{true, false}));
    EXPECT_TRUE(read.highColour);
    EXPECT_EQ(read.volume, 4);
    EXPECT_EQ(read.Key(GameControl::Up), 17);
    ASSERT_TRUE(file.WriteAids({false, true}));
    EXPECT_EQ(file.Read().aids, (HuntAids{false, true}));
    // The other writers keep them.
    ASSERT_TRUE(file.WriteControlKeys(DefaultControlKeys()));
    ASSERT_TRUE(file.WriteSound(2, true));
    ASSERT_TRUE(file.WriteHighColour(false));
    EXPECT_EQ(file.Read().aids, (HuntAids{false, true}));

    // Any non-zero value turns one on; junk is 0, off.
    Write("[configuration]\nquarryradar=-2\naimreticle=junk\n");
    EXPECT_EQ(file.Read().aids, (HuntAids{true, false}));
}

TEST_F(ConfigFileTest, NothingIsWrittenOverWhatCannotBeReadNorWithoutAPlace)
{
    // Rewriting from what could be read would start such a file afresh.
    fs::create_directory(path);
    const CConfigFile file(path);
    EXPECT_EQ(file.CreateIfAbsent(), CConfigFile::Creation::Present);
    EXPECT_FALSE(file.WriteControlKeys(DefaultControlKeys()));
    EXPECT_FALSE(file.WriteHighColour(true));
    EXPECT_FALSE(file.WriteSound(5, false));
    EXPECT_FALSE(file.WriteAids({true, true}));
    EXPECT_TRUE(fs::is_directory(path));

    const CConfigFile nowhere("");
    EXPECT_EQ(nowhere.CreateIfAbsent(), CConfigFile::Creation::Failed);
    EXPECT_FALSE(nowhere.WriteHighColour(true));
}

} // namespace
