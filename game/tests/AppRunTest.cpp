#include "MiniGameData.h"
#include "game/CGameApp.h"
#include "gamedata/CConfigFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(GameApp, RunsScriptedPassesHeadlessAndDumpsFrames)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const std::string folder = MakeMiniGameData("apprun");
    char* cwd = ::getcwd(nullptr, 0);
    const std::string previous = cwd;
    std::free(cwd);
    {
        std::ofstream script(folder + "/walk.txt");
        script << "2 mouse 50 150\n3 click\n6 mouse 5 440\n7 click\n";
    }
    GameOptions options;
    options.dataFolder = folder;
    options.fullScreen = 0;
    options.playVideo = false;
    options.seedGiven = true;
    options.seed = 5;
    options.fixedFrameTime = 0.02;
    options.scriptPath = folder + "/walk.txt";
    options.maxPasses = 12;
    options.dumpPattern = folder + "/pass%d.png";
    options.dumpAt = {1, 5, 12};
    CGameApp app;
    EXPECT_EQ(app.Run(options), 0);
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    EXPECT_TRUE(fs::exists(folder + "/pass1.png"));
    EXPECT_TRUE(fs::exists(folder + "/pass5.png"));
    EXPECT_TRUE(fs::exists(folder + "/pass12.png"));
    EXPECT_FALSE(fs::exists(folder + "/pass2.png"));
    RemoveMiniGameData(folder);
}

TEST(GameApp, RefusesABadScriptBeforeOpeningAWindow)
{
    const std::string path = fs::temp_directory_path() / ("bad-script-" + std::to_string(::getpid()));
    std::ofstream(path) << "1 dance\n";
    GameOptions options;
    options.scriptPath = path;
    CGameApp app;
    EXPECT_EQ(app.Run(options), 2);
    fs::remove(path);
}

TEST(GameApp, StartedWithoutItsDataItSaysWhereItLookedAndFails)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const fs::path empty = fs::temp_directory_path() / ("no-data-" + std::to_string(::getpid()));
    fs::create_directories(empty);
    char* cwd = ::getcwd(nullptr, 0);
    const std::string previous = cwd;
    std::free(cwd);
    GameOptions options;
    options.dataFolder = empty.string();
    options.fullScreen = 0;
    options.playVideo = false;
    options.maxPasses = 5;
    CGameApp app;
    testing::internal::CaptureStderr();
    EXPECT_EQ(app.Run(options), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    EXPECT_NE(said.find(empty.string()), std::string::npos) << said;
    EXPECT_NE(said.find("--data"), std::string::npos) << said;
    fs::remove_all(empty);
}

// Without a sound output the game plays on in silence and says so once, in a
// line of its own (not the sound system's dozen).
TEST(GameApp, WithoutASoundDeviceItSaysSoOnceAndPlaysOn)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const std::string folder = MakeMiniGameData("nosound");
    char* cwd = ::getcwd(nullptr, 0);
    const std::string previous = cwd;
    std::free(cwd);
    const char* drivers = std::getenv("ALSOFT_DRIVERS");
    const std::string keptDrivers = drivers ? drivers : "";
    setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
    GameOptions options;
    options.dataFolder = folder;
    options.fullScreen = 0;
    options.playVideo = false;
    options.fixedFrameTime = 0.02;
    options.maxPasses = 8;
    CGameApp app;
    testing::internal::CaptureStderr();
    const int status = app.Run(options);
    const std::string said = testing::internal::GetCapturedStderr();
    if (drivers)
        setenv("ALSOFT_DRIVERS", keptDrivers.c_str(), 1);
    else
        unsetenv("ALSOFT_DRIVERS");
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    EXPECT_EQ(status, 0);
    const std::string line = "Veldra: no sound device could be opened; the game plays on without sound\n";
    const size_t at = said.find(line);
    EXPECT_NE(at, std::string::npos) << said;
    EXPECT_EQ(said.find(line, at + 1), std::string::npos) << said;
    EXPECT_EQ(said.find("AL lib"), std::string::npos) << said;
    EXPECT_EQ(said.find("ALSA lib"), std::string::npos) << said;
    RemoveMiniGameData(folder);
}

TEST(GameApp, TheWindowStartsAsItWasLeftAndIsKeptAgainAtTheEnd)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const std::string folder = MakeMiniGameData("window");
    char* cwd = ::getcwd(nullptr, 0);
    const std::string previous = cwd;
    std::free(cwd);
    const auto play = [&](int fullScreen) {
        GameOptions options;
        options.dataFolder = folder;
        options.fullScreen = fullScreen;
        options.playVideo = false;
        options.maxPasses = 3;
        CGameApp app;
        EXPECT_EQ(app.Run(options), 0);
        EXPECT_EQ(::chdir(previous.c_str()), 0);
        return CConfigFile(folder + "/config.dat").Read().window;
    };
    // Kept as a window of 800 x 600, smooth: without options it opens so, and
    // leaves it so (nothing changed, nothing written).
    {
        std::ofstream config(folder + "/config.dat");
        config << "[configuration]\nkeyup=17\nfullscreen=0\nwindowwidth=800\nwindowheight=600\nsmoothscaling=1\n";
    }
    WindowState left = play(-1);
    EXPECT_EQ(left.fullScreen, 0);
    EXPECT_EQ(left.width, 800);
    EXPECT_EQ(left.height, 600);
    EXPECT_TRUE(left.smoothScaling);
    // Asked for full screen: kept so, the window's size remembered for later.
    left = play(1);
    EXPECT_EQ(left.fullScreen, 1);
    EXPECT_EQ(left.width, 800);
    EXPECT_TRUE(left.smoothScaling);
    EXPECT_EQ(CConfigFile(folder + "/config.dat").Read().Key(GameControl::Up), 17); // the rest untouched
    // And the next start without options is full screen again; --windowed
    // gives back the 800 x 600 window.
    EXPECT_EQ(play(-1).fullScreen, 1);
    left = play(0);
    EXPECT_EQ(left.fullScreen, 0);
    EXPECT_EQ(left.width, 800);
    EXPECT_EQ(left.height, 600);
    RemoveMiniGameData(folder);
}
