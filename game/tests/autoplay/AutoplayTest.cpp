// Whole hunts played by the bot on the generated game data, headless: every
// quarry bagged with the rifle on the plains (the bagged picture and exactly
// one new trophy of that kind), and the three bad endings (jail, killed,
// lost) with the trophies untouched. Each within 20000 passes.

#include "game/CAutoPlayer.h"
#include "../GameRunSupport.h"
#include "game/TrophyFile.h"
#include "gamedata/HuntTables.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Hunt {
    const char* name;
    int quarry;       // 0..6
    AutoplayMode mode;
    uint32_t seed;
    ScreenId ending;
};

// The seeds are the bot's; any other seed plays another hunt.
const Hunt kHunts[] = {
    {"Elephant", 0, AutoplayMode::Hunt, 1, ScreenId::EndElephant},
    {"Giraffe", 1, AutoplayMode::Hunt, 1, ScreenId::EndGiraffe},
    {"Hippo", 2, AutoplayMode::Hunt, 1, ScreenId::EndHippo},
    {"Lion", 3, AutoplayMode::Hunt, 1, ScreenId::EndLion},
    {"Lioness", 4, AutoplayMode::Hunt, 2, ScreenId::EndLioness},
    {"Rhino", 5, AutoplayMode::Hunt, 1, ScreenId::EndRhino},
    {"Zebra", 6, AutoplayMode::Hunt, 3, ScreenId::EndZebra},
    {"PoachingEndsInJail", 6, AutoplayMode::Poach, 1, ScreenId::EndJail},
    {"StrayingGetsTheHunterKilled", 6, AutoplayMode::Stray, 1, ScreenId::EndKilled},
    {"WanderingOffTheMapGetsHimLost", 6, AutoplayMode::Wander, 1, ScreenId::EndLost},
};

constexpr long kMaxPasses = 20000;

void PrintTo(const Hunt& hunt, std::ostream* out)
{
    *out << hunt.name;
}

} // namespace

class Autoplay : public ::testing::TestWithParam<Hunt> {};

TEST_P(Autoplay, EndsAsItShould)
{
    const Hunt& hunt = GetParam();
    if (!HaveGeneratedData())
        GTEST_SKIP() << "no generated data in " << VELDRA_GENERATED_DATA_DIR;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const fs::path folder = MakeGameFolder(std::string("autoplay-") + hunt.name);
    // One trophy from an earlier hunt, which must stay as it is.
    const int32_t earlier[2] = {1, ANIMAL_RHINO};
    std::ofstream(folder / "trophy.bin", std::ios::binary).write(reinterpret_cast<const char*>(earlier), 8);

    GameOptions options;
    options.dataFolder = folder.string();
    options.fullScreen = 0;
    options.seedGiven = true;
    options.seed = hunt.seed;
    options.fixedFrameTime = 0.05;
    options.maxPasses = kMaxPasses;
    options.autoplay = true;
    options.autoplayMode = int(hunt.mode);
    options.huntQuarry = hunt.quarry;
    options.huntWeapon = 4; // the rifle
    options.huntScenario = 2; // the plains
    options.screenLog = (folder / "screens.txt").string();
    EXPECT_EQ(RunGameIn(options), 0);

    // The last screen change is the ending, well before the pass limit.
    std::ifstream log(folder / "screens.txt");
    long pass = 0, lastPass = 0;
    int screen = -1, lastScreen = -1;
    while (log >> pass >> screen) {
        lastPass = pass;
        lastScreen = screen;
    }
    EXPECT_EQ(lastScreen, int(hunt.ending)) << "the hunt ended on screen " << lastScreen << " at pass " << lastPass;
    EXPECT_LT(lastPass, kMaxPasses);

    const std::vector<int32_t> trophies = ReadTrophies((folder / "trophy.bin").string());
    if (hunt.mode == AutoplayMode::Hunt) {
        ASSERT_EQ(trophies.size(), 2u);
        EXPECT_EQ(trophies[1], hunt.quarry + 1);
    } else {
        EXPECT_EQ(trophies.size(), 1u);
    }
    EXPECT_EQ(trophies.empty() ? 0 : trophies[0], ANIMAL_RHINO);
}

INSTANTIATE_TEST_SUITE_P(Hunts, Autoplay, ::testing::ValuesIn(kHunts),
                         [](const auto& info) { return std::string(info.param.name); });
