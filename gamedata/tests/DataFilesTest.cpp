// The data layout against itself and against the generated data folder:
// every file the game names is there, the generator makes nothing the game
// never loads, and no two names could be taken for one another by the
// case-insensitive lookup the game falls back on.

#include "common/DataPath.h"
#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "gamedata/ScreenTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The generated folder, or empty when this build has none.
fs::path GeneratedData()
{
    const fs::path data = VELDRA_GENERATED_DATA_DIR;
    std::error_code ignored;
    return fs::is_directory(data / "menu", ignored) ? data : fs::path();
}

} // namespace

TEST(DataLayout, NamesAreDistinctIgnoringCaseAndLieInTheDataFolders)
{
    const std::vector<std::string> names = GameDataFiles();
    ASSERT_FALSE(names.empty());
    std::map<std::string, std::string> seen;
    const std::set<std::string> folders = {"menu", "env", "animals", "sounds", "video"};
    for (const std::string& name : names) {
        const auto [it, fresh] = seen.emplace(Lower(name), name);
        EXPECT_TRUE(fresh) << name << " and " << it->second << " differ only in case";
        EXPECT_EQ(name.find('/'), std::string::npos) << name << ": data names use backslashes";
        const size_t slash = name.find('\\');
        if (slash != std::string::npos) {
            EXPECT_TRUE(folders.count(name.substr(0, slash))) << name;
        }
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

TEST(DataLayout, TheListHoldsEveryTableAndSingleFile)
{
    const std::vector<std::string> names = GameDataFiles();
    auto listed = [&](const char* name) { return std::binary_search(names.begin(), names.end(), std::string(name)); };
    for (int screen = 0; screen < SCREEN_COUNT; ++screen) {
        const ScreenTable table = ScreenTableFor(ScreenId(screen));
        ASSERT_GT(table.count, 0) << "screen " << screen;
        for (int i = 0; i < table.count; ++i)
            EXPECT_TRUE(listed(table.items[i].picture)) << table.items[i].picture;
    }
    for (const AnimalKindDesc& kind : kAnimalKinds)
        for (const char* strip : kind.strips)
            EXPECT_TRUE(listed(strip)) << strip;
    for (const char* single : {kCursorPicture, kBinocularPicture, kRadarMarkPicture, kRadarDotPicture, kIntroVideo,
                               kIntroPalette, kHelpPage, kScenarios[SCENARIO_NONE].palette})
        EXPECT_TRUE(listed(single)) << single;
    // The game writes these itself; no generator may make them.
    EXPECT_FALSE(listed(kConfigFile));
    EXPECT_FALSE(listed(kTrophyFile));
}

TEST(DataLayout, BaggedScreensShowTheirKindAndNothingElse)
{
    std::set<ScreenId> screens;
    for (int kind = ANIMAL_ELEPHANT; kind <= ANIMAL_ZEBRA; ++kind) {
        const ScreenId screen = BaggedScreen(kind);
        ASSERT_TRUE(IsScreen(screen)) << kind;
        EXPECT_TRUE(screens.insert(screen).second) << "two kinds share an end screen";
        EXPECT_EQ(ScreenTableFor(screen).kind, PICTURE_SURFACE);
    }
    EXPECT_EQ(BaggedScreen(ANIMAL_NONE), ScreenId::None);
    EXPECT_EQ(BaggedScreen(ANIMAL_KIND_COUNT + 1), ScreenId::None);
    EXPECT_EQ(BaggedScreen(-1), ScreenId::None);
    EXPECT_EQ(ScreenTableFor(ScreenId::None).count, 0);
    EXPECT_EQ(ScreenTableFor(ScreenId(SCREEN_COUNT)).count, 0);
}

TEST(DataLayout, NameLookupsFindEveryTableEntry)
{
    for (int i = 0; i < ANIMAL_KIND_COUNT; ++i)
        EXPECT_EQ(QuarryIndexByName(kAnimalKinds[i].name), i);
    for (int i = 0; i < WEAPON_COUNT; ++i)
        EXPECT_EQ(WeaponIndexByName(kWeapons[i].name), i);
    for (int i = SCENARIO_DESERT; i <= SCENARIO_GRASSLAND; ++i)
        EXPECT_EQ(ScenarioByName(kScenarios[i].name), i);
    // The "no hunt" entry has an empty name, which is no scenario.
    EXPECT_EQ(ScenarioByName(""), -1);
    EXPECT_EQ(QuarryIndexByName("Zebra"), -1);
    EXPECT_EQ(WeaponIndexByName(""), -1);
}

TEST(GeneratedData, HoldsEveryFileTheGameNames)
{
    const fs::path data = GeneratedData();
    if (data.empty())
        GTEST_SKIP() << "no generated data in " << VELDRA_GENERATED_DATA_DIR;
    for (const std::string& name : GameDataFiles()) {
        const fs::path path = data / ToNativeSeparators(name);
        std::error_code error;
        EXPECT_TRUE(fs::is_regular_file(path, error)) << name << " is not generated";
        EXPECT_GT(fs::file_size(path, error), 0u) << name;
    }
}

TEST(GeneratedData, HoldsNothingTheGameNeverLoads)
{
    const fs::path data = GeneratedData();
    if (data.empty())
        GTEST_SKIP() << "no generated data in " << VELDRA_GENERATED_DATA_DIR;
    const std::vector<std::string> names = GameDataFiles();
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(data)) {
        if (!entry.is_regular_file())
            continue;
        std::string name = fs::relative(entry.path(), data).generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        // A game or setup tool run on this folder leaves its own files.
        if (name == kConfigFile || name == kTrophyFile)
            continue;
        ++files;
        EXPECT_TRUE(std::binary_search(names.begin(), names.end(), name)) << name << " is generated but never loaded";
    }
    EXPECT_EQ(files, names.size());
}
