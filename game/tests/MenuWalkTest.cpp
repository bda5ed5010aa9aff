// Walks the menus of the generated game data with the game's own scripted
// input, in both display depths, and checks every step twice: by the screen
// the state machine reached and by a hash of the back buffer. The dumped
// frames stay in the build folder for people to look at.

#include "GameRunSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const long kMenuDumps[] = {4, 7, 10, 13, 16, 19, 22, 29, 32, 35, 38, 43};

// A game folder of its own with a prepared trophy record of five entries.
std::string PrepareFolder(bool highColour)
{
    const std::string folder = MakeGameFolder(highColour ? "menu_walk16" : "menu_walk8",
                                              std::string("[configuration]\nhighcolour=") + (highColour ? "1" : "0") + "\n");
    const int32_t trophies[5] = {4, 7, 2, 1, 6};
    std::ofstream(folder + "/trophy.bin", std::ios::binary).write(reinterpret_cast<const char*>(trophies), 20);
    return folder;
}

} // namespace

class MenuWalk : public ::testing::TestWithParam<bool> {};

TEST_P(MenuWalk, EveryStepReachesItsScreenAndPicture)
{
    if (!HaveGeneratedData())
        GTEST_SKIP() << "no generated data in " << VELDRA_GENERATED_DATA_DIR;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const bool highColour = GetParam();
    const std::string folder = PrepareFolder(highColour);

    GameOptions options;
    options.dataFolder = folder;
    options.fullScreen = 0;
    options.playVideo = false;
    options.seedGiven = true;
    options.seed = 1;
    // One pass a tick, so that each click is acted on in the pass it comes in.
    options.fixedFrameTime = 0.05;
    options.scriptPath = std::string(VELDRA_TEST_SOURCE_DIR) + "/menu_walk.script";
    options.maxPasses = 60;
    options.dumpPattern = folder + "/pass%d.png";
    options.dumpAt = std::set<long>(std::begin(kMenuDumps), std::end(kMenuDumps));
    options.screenLog = folder + "/screens.txt";
    ASSERT_EQ(RunGameIn(options), 0);

    // The state machine: every screen change at the pass the script caused it.
    std::ifstream log(folder + "/screens.txt");
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str(), "1 0\n5 1\n12 4\n18 5\n24 4\n26 1\n28 0\n31 13\n40 0\n42 14\n45 0\n");

    // The pictures, against the recorded hashes of this data.
    const auto goldens = ReadGoldens(std::string(VELDRA_TEST_SOURCE_DIR) + "/golden/menu_walk.txt");
    std::ostringstream actual;
    for (long pass : kMenuDumps) {
        const std::string key = std::string(highColour ? "16:" : "8:") + std::to_string(pass);
        const std::string hash = Hex(HashPng(folder + "/pass" + std::to_string(pass) + ".png"));
        actual << key << " " << hash << "\n";
        auto found = goldens.find(key);
        EXPECT_TRUE(found != goldens.end() && found->second == hash) << "pass " << pass << " looks different";
    }
    if (::testing::Test::HasFailure())
        std::printf("hashes of this run (for game/tests/golden/menu_walk.txt):\n%s", actual.str().c_str());
}

INSTANTIATE_TEST_SUITE_P(Depths, MenuWalk, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "HighColour" : "EightBit"; });
