// A scripted hunt on the generated game data, headless: on foot, a full
// turn, the binoculars, then driving. The back buffers of chosen passes must
// hash the same run after run (recorded hashes), in both depths, and the
// same with the portable kernels forced. Reaching the hunt through the
// menus gives the same picture as starting it from the command line.
// The dumps stay in the build folder for people to look at.

#include "game/CGameApp.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <png.h>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::set<long> kDumps = {1, 40, 120, 200, 228, 238, 260, 320, 380};

uint64_t HashPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return 0;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return 0;
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t b : pixels)
        hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

std::string Hex(uint64_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", (unsigned long long)value);
    return text;
}

std::string PrepareFolder(const std::string& name, bool highColour)
{
    fs::path folder = fs::path(VELDRA_TEST_OUTPUT_DIR) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* sub : {"menu", "animals", "env", "sounds", "video"})
        if (fs::exists(fs::path(VELDRA_GENERATED_DATA_DIR) / sub))
            fs::create_directory_symlink(fs::path(VELDRA_GENERATED_DATA_DIR) / sub, folder / sub);
    std::ofstream(folder / "config.dat") << "[configuration]\nhighcolour=" << (highColour ? 1 : 0)
                                         << "\nkeyleft=203\nkeyright=205\nkeyup=200\nkeydown=208\n"
                                            "keybut0=57\nkeybut1=30\nkeybut2=48\nkeybut3=32\n";
    return folder.string();
}

// Runs the game in `folder`; the hashes of the dumped passes by pass.
std::map<long, uint64_t> RunGame(const std::string& folder, const std::string& script, bool hunt,
                             const std::set<long>& dumps, long passes)
{
    char* cwd = ::getcwd(nullptr, 0);
    const std::string previous = cwd;
    std::free(cwd);
    GameOptions options;
    options.dataFolder = folder;
    options.fullScreen = 0;
    options.playVideo = false;
    options.seedGiven = true;
    options.seed = 3;
    options.fixedFrameTime = 0.05;
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
    CGameApp app;
    EXPECT_EQ(app.Run(options), 0);
    EXPECT_EQ(::chdir(previous.c_str()), 0);
    std::map<long, uint64_t> hashes;
    for (long pass : dumps)
        hashes[pass] = HashPng(folder + "/pass" + std::to_string(pass) + ".png");
    return hashes;
}

bool HaveData()
{
    return fs::exists(fs::path(VELDRA_GENERATED_DATA_DIR) / "env" / "back20.bmp");
}

} // namespace

class HuntWalk : public ::testing::TestWithParam<bool> {};

TEST_P(HuntWalk, EveryDumpedPassLooksAsRecordedWithEitherKernel)
{
    if (!HaveData())
        GTEST_SKIP() << "no generated data";
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const bool highColour = GetParam();
    const std::string depth = highColour ? "16" : "8";
    const auto fast = RunGame(PrepareFolder("hunt_walk" + depth, highColour), "hunt_walk.script", true, kDumps, 380);
    setenv("VELDRA_PORTABLE", "1", 1);
    const auto portable =
        RunGame(PrepareFolder("hunt_walk" + depth + "_portable", highColour), "hunt_walk.script", true, kDumps, 380);
    unsetenv("VELDRA_PORTABLE");

    const std::string goldenPath = std::string(VELDRA_TEST_SOURCE_DIR) + "/golden/hunt_walk.txt";
    std::map<std::string, std::string> goldens;
    {
        std::ifstream in(goldenPath);
        std::string key, value;
        while (in >> key >> value)
            goldens[key] = value;
    }
    std::ostringstream actual;
    for (long pass : kDumps) {
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

INSTANTIATE_TEST_SUITE_P(Depths, HuntWalk, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "HighColour" : "EightBit"; });

TEST(HuntWalk, TheMenusLeadToTheSameHuntAsTheCommandLine)
{
    if (!HaveData())
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
