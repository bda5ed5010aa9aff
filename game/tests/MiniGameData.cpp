#include "MiniGameData.h"

#include "common/DataPath.h"
#include "gamedata/DataFiles.h"
#include "gamedata/HuntTables.h"
#include "gamedata/ScreenTables.h"
#include "imaging/CDibPalette.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void WritePicture(const std::string& path, int width, int frameHeight, int frames, uint8_t colour, bool trle)
{
    CDibPacked picture;
    EXPECT_EQ(picture.Create(width, frameHeight * frames, PF_INDEX8), DIB_OK);
    CDibPalette* palette = new CDibPalette;
    EXPECT_EQ(palette->Create(256), DIB_OK);
    PaletteEntry entries[256];
    for (int i = 0; i < 256; ++i)
        entries[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
    entries[0] = {0, 0, 0, 0};
    EXPECT_EQ(palette->SetEntries(entries, 0, 256), DIB_OK);
    EXPECT_EQ(picture.SetPalette(palette), DIB_OK);
    palette->Release();
    for (int f = 0; f < frames; ++f)
        picture.FillRect(0, f * frameHeight, width, frameHeight, uint32_t(colour + f));
    picture.SetPixel(0, 0, 0); // a transparent corner: the key of surface pictures
    if (trle) {
        EXPECT_EQ(picture.Compress(TAG_TRLE), DIB_OK);
    }
    EXPECT_TRUE(WriteSpriteFile(path, picture.GetInfoHeader(), picture.GetPictureSize()));
}

void AddMiniHuntData(const fs::path& root);

// The pictures themselves, written on first use.
fs::path WriteMiniGameData()
{
    fs::path root = fs::temp_directory_path() / ("veldra-mini-data-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "menu");
    for (int screen = 0; screen < SCREEN_COUNT; ++screen) {
        const ScreenTable table = ScreenTableFor(ScreenId(screen));
        for (int i = 0; i < table.count; ++i) {
            const ItemDesc& item = table.items[i];
            const bool background = item.x == 0 && item.y == 0 && item.action == ItemAction::None;
            const int width = background ? 640 : 40, height = background ? 480 : 20;
            const std::string path = (root / ToNativeSeparators(item.picture)).string();
            WritePicture(path, width, height, item.frames, uint8_t(10 + screen * 10 + i), table.kind == PICTURE_SPRITE);
        }
    }
    WritePicture((root / ToNativeSeparators(kCursorPicture)).string(), 16, 16, 1, 200, false);
    for (const ScenarioDesc& scenario : kScenarios)
        WritePicture((root / ToNativeSeparators(scenario.palette)).string(), 4, 4, 1, 1, false);
    AddMiniHuntData(root);
    return root;
}

void AddMiniHuntData(const fs::path& root)
{
    fs::create_directories(root / "env");
    fs::create_directories(root / "animals");
    auto path = [&](const char* name) { return (root / ToNativeSeparators(name)).string(); };
    for (int s = 1; s <= SCENARIO_COUNT; ++s) {
        const ScenarioDesc& place = kScenarios[s];
        WritePicture(path(place.background), 256, 120, 1, uint8_t(20 + s), false);
        WritePicture(path(place.ground), 256, 256, 1, uint8_t(30 + s), false);
        for (const char* tree : place.trees)
            WritePicture(path(tree), 16, 32, 1, 40, true);
    }
    for (const AnimalKindDesc& kind : kAnimalKinds) {
        for (const char* strip : kind.strips)
            WritePicture(path(strip), 16, kind.frameHeight, kind.StripFrames(), 60, true);
    }
    for (const char* strip : kJeepStrips)
        WritePicture(path(strip), 8, JEEP_FRAME_HEIGHT, JEEP_FRAMES, 150, true);
    for (const WeaponDesc& weapon : kWeapons) {
        WritePicture(path(weapon.gunPicture), 32, 40, weapon.frames, 170, true);
        if (weapon.smokePicture)
            WritePicture(path(weapon.smokePicture), 16, 16, 1, 190, false);
    }
    WritePicture(path(kBinocularPicture), 640, 440, 1, 200, false);
    WritePicture(path(kRadarMarkPicture), 5, 8, 1, 210, false);
    WritePicture(path(kRadarDotPicture), 4, 4, 1, 220, false);
}

// Removes the written pictures when the test program ends.
struct MiniGameDataOwner {
    fs::path root;
    ~MiniGameDataOwner()
    {
        std::error_code ignored;
        if (!root.empty())
            fs::remove_all(root, ignored);
    }
};

} // namespace

std::string MakeMiniGameData(const std::string& name)
{
    static MiniGameDataOwner written{WriteMiniGameData()};
    static int made = 0;
    fs::path folder = fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
    fs::remove_all(folder);
    for (const auto& entry : fs::recursive_directory_iterator(written.root)) {
        const fs::path target = folder / fs::relative(entry.path(), written.root);
        if (entry.is_directory())
            fs::create_directories(target);
        else
            fs::create_symlink(entry.path(), target);
    }
    return folder.string();
}

void RemoveMiniGameData(const std::string& folder)
{
    fs::remove_all(folder);
}
