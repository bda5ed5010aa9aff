// A scripted hunt on the generated game data, headless: on foot, a full
// turn, the binoculars, then driving. The back buffers of chosen passes must
// hash the same run after run (recorded hashes), in both depths, and the
// same with the portable kernels forced; at twice as many passes a second
// every other pass shows the same picture at the same game time, since the
// game runs by its own ticks and each pass draws the latest. Reaching the
// hunt through the menus gives the same picture as starting it from the
// command line. The dumps stay in the build folder for people to look at.

#include "GameRunSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::set<long> kHuntDumps = {1, 40, 120, 200, 228, 238, 260, 320, 380};

std::string PrepareFolder(const std::string& name, bool highColour)
{
    return MakeGameFolder(name, ScriptConfig(highColour));
}

// Runs the game in `folder`; the hashes of the dumped passes by pass.
std::map<long, uint64_t> RunGame(const std::string& folder, const std::string& script, bool hunt,
                             const std::set<long>& dumps, long passes, double passSeconds = 0.05)
{
    GameOptions options;
    options.dataFolder = folder;
    options.fullScreen = 0;
    options.playVideo = false;
    options.seedGiven = true;
    options.seed = 3;
    options.fixedFrameTime = passSeconds;
    if (!script.empty())
        options.scriptPath = std::string(VELDRA_TEST_SOURCE_DIR) + "/" + script;
    options.maxPasses = passes;
    options.dumpPattern = folder + "/pass%d.png";
    options.dumpAt = dumps;
    if (hunt) {
        options.huntQuarry = 6;
        options.huntWeapon = 4;
        options.huntScenario = 2;
    }
    EXPECT_EQ(RunGameIn(options), 0);
    std::map<long, uint64_t> hashes;
    for (long pass : dumps)
        hashes[pass] = HashPng(folder + "/pass" + std::to_string(pass) + ".png");
    return hashes;
}


} // namespace

class HuntWalk : public ::testing::TestWithParam<bool> {};

TEST_P(HuntWalk, EveryDumpedPassLooksAsRecordedWithEitherKernel)
{
    if (!HaveGeneratedData())
        GTEST_SKIP() << "no generated data";
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const bool highColour = GetParam();
    const std::string depth = highColour ? "16" : "8";
    const auto fast = RunGame(PrepareFolder("hunt_walk" + depth, highColour), "hunt_walk.script", true, kHuntDumps, 380);
    setenv("VELDRA_PORTABLE", "1", 1);
    const auto portable =
        RunGame(PrepareFolder("hunt_walk" + depth + "_portable", highColour), "hunt_walk.script", true, kHuntDumps, 380);
    unsetenv("VELDRA_PORTABLE");

    const auto goldens = ReadGoldens(std::string(VELDRA_TEST_SOURCE_DIR) + "/golden/hunt_walk.txt");
    std::ostringstream actual;
    for (long pass : kHuntDumps) {
        const std::string key = depth + ":" + std::to_string(pass);
        EXPECT_NE(fast.at(pass), 0u) << "pass " << pass << " was not dumped";
        EXPECT_EQ(fast.at(pass), portable.at(pass)) << "the portable kernels draw pass " << pass << " differently";
        actual << key << " " << Hex(fast.at(pass)) << "\n";
        auto found = goldens.find(key);
        EXPECT_TRUE(found != goldens.end() && found->second == Hex(fast.at(pass)))
            << "pass " << pass << " looks different from the recorded picture";
    }
    if (::testing::Test::HasFailure())
        std::printf("hashes of this run (for game/tests/golden/hunt_walk.txt):\n%s", actual.str().c_str());
}

TEST(HuntWalk, AtFortyPassesASecondEveryOtherPassShowsTheSamePicture)
{
    if (!HaveGeneratedData())
        GTEST_SKIP() << "no generated data";
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    // Pass k at 20 a second and pass 2k at 40 a second both end at k x 50 ms
    // of game time, after the same k ticks; the pass between (2k - 1) has
    // not run tick k yet and still shows tick k - 1.
    std::set<long> once, twice;
    for (long pass : kHuntDumps) {
        once.insert(pass);
        twice.insert(2 * pass);
        if (pass > 1) {
            once.insert(pass - 1);
            twice.insert(2 * pass - 1);
        }
    }
    const auto at20 = RunGame(PrepareFolder("hunt_walk20", false), "hunt_walk.script", true, once, 380);
    const auto at40 = RunGame(PrepareFolder("hunt_walk40", false), "hunt_walk.script", true, twice, 760, 0.025);
    for (long pass : kHuntDumps) {
        EXPECT_NE(at40.at(2 * pass), 0u);
        EXPECT_EQ(at40.at(2 * pass), at20.at(pass)) << "game time " << pass * 0.05 << " s";
        if (pass > 1) {
            EXPECT_EQ(at40.at(2 * pass - 1), at20.at(pass - 1)) << "half a tick before " << pass * 0.05 << " s";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, HuntWalk, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "HighColour" : "EightBit"; });

TEST(HuntWalk, TheMenusLeadToTheSameHuntAsTheCommandLine)
{
    if (!HaveGeneratedData())
        GTEST_SKIP() << "no generated data";
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    // Hunt pass k is pass k of a hunt from the command line, and pass 23 + k
    // through the menus (the click on HUNT comes at pass 24).
    const auto direct = RunGame(PrepareFolder("hunt_direct", false), "", true, {3, 5}, 5);
    const auto menus = RunGame(PrepareFolder("hunt_menus", false), "hunt_from_menu.script", false, {26, 28}, 28);
    EXPECT_NE(direct.at(3), 0u);
    EXPECT_EQ(direct.at(3), menus.at(26));
    EXPECT_EQ(direct.at(5), menus.at(28));
}
