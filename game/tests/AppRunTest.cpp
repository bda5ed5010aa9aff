#include "MiniGameData.h"
#include "game/CGameApp.h"

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
