// Walks the menus of the generated game data with the game's own scripted
// input, in both display depths, and checks every step twice: by the screen
// the state machine reached and by a hash of the back buffer. The dumped
// frames stay in the build folder for people to look at.

#include "game/CGameApp.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <png.h>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const long kDumps[] = {4, 7, 10, 13, 16, 19, 22, 29, 32, 35, 38, 43};

// FNV-1a over the RGB pixels of a PNG file; 0 when it cannot be read.
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

std::map<std::string, std::string> ReadGoldens(const std::string& path)
{
    std::map<std::string, std::string> goldens;
    std::ifstream in(path);
    std::string key, value;
    while (in >> key >> value)
        goldens[key] = value;
    return goldens;
}

// A game folder of its own: links to the generated data and a prepared
// trophy record of four entries.
std::string PrepareFolder(const std::string& data, bool highColour)
{
    fs::path folder = fs::path(VELDRA_TEST_OUTPUT_DIR) / (highColour ? "menu_walk16" : "menu_walk8");
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* sub : {"menu", "animals", "env", "sounds", "video"})
        if (fs::exists(fs::path(data) / sub))
            fs::create_directory_symlink(fs::path(data) / sub, folder / sub);
    const int32_t trophies[5] = {4, 7, 2, 1, 6};
    std::ofstream(folder / "trophy.bin", std::ios::binary).write(reinterpret_cast<const char*>(trophies), 20);
    std::ofstream(folder / "config.dat") << "[configuration]\nhighcolour=" << (highColour ? 1 : 0) << "\n";
    return folder.string();
}

} // namespace

class MenuWalk : public ::testing::TestWithParam<bool> {};

TEST_P(MenuWalk, EveryStepReachesItsScreenAndPicture)
{
    const std::string data = VELDRA_GENERATED_DATA_DIR;
    if (!fs::exists(fs::path(data) / "menu" / "mback.bmp"))
        GTEST_SKIP() << "no generated data in " << data;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const bool highColour = GetParam();
    const std::string folder = PrepareFolder(data, highColour);
    char* cwd = ::getcwd(nullptr, 0);
    const std::string previous = cwd;
    std::free(cwd);

    GameOptions options;
    options.dataFolder = folder;
    options.fullScreen = 0;
    options.playVideo = false;
    options.seedGiven = true;
    options.seed = 1;
    options.fixedFrameTime = 0.02;
    options.scriptPath = std::string(VELDRA_TEST_SOURCE_DIR) + "/menu_walk.script";
    options.maxPasses = 60;
    options.dumpPattern = folder + "/pass%d.png";
    options.dumpAt = std::set<long>(std::begin(kDumps), std::end(kDumps));
    options.screenLog = folder + "/screens.txt";
    CGameApp app;
    ASSERT_EQ(app.Run(options), 0);
    ASSERT_EQ(::chdir(previous.c_str()), 0);

    // The state machine: every screen change at the pass the script caused it.
    std::ifstream log(folder + "/screens.txt");
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str(), "1 0\n5 1\n12 4\n18 5\n24 4\n26 1\n28 0\n31 13\n40 0\n42 14\n45 0\n");

    // The pictures, against the recorded hashes of this data.
    const auto goldens = ReadGoldens(std::string(VELDRA_TEST_SOURCE_DIR) + "/golden/menu_walk.txt");
    std::ostringstream actual;
    for (long pass : kDumps) {
        const std::string key = std::string(highColour ? "16:" : "8:") + std::to_string(pass);
        char hash[32];
        std::snprintf(hash, sizeof hash, "%016llx", (unsigned long long)HashPng(folder + "/pass" + std::to_string(pass) + ".png"));
        actual << key << " " << hash << "\n";
        auto found = goldens.find(key);
        EXPECT_TRUE(found != goldens.end() && found->second == hash) << "pass " << pass << " looks different";
    }
    if (::testing::Test::HasFailure())
        std::printf("hashes of this run (for game/tests/golden/menu_walk.txt):\n%s", actual.str().c_str());
}

INSTANTIATE_TEST_SUITE_P(Depths, MenuWalk, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "HighColour" : "EightBit"; });
