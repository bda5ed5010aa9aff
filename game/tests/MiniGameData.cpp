#include "MiniGameData.h"

#include "common/DataPath.h"
#include "game/ScreenTables.h"
#include "imaging/CDibPalette.h"
#include "sprites/CDibPacked.h"
#include "sprites/PictureFormat.h"
#include "sprites/SpriteFiles.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void WritePicture(const std::string& path, int width, int frameHeight, int frames, uint8_t colour, bool trle)
{
    CDibPacked picture;
    picture.Create(width, frameHeight * frames, PF_INDEX8);
    CDibPalette* palette = new CDibPalette;
    palette->Create(256);
    PaletteEntry entries[256];
    for (int i = 0; i < 256; ++i)
        entries[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
    entries[0] = {0, 0, 0, 0};
    palette->SetEntries(entries, 0, 256);
    picture.SetPalette(palette);
    palette->Release();
    for (int f = 0; f < frames; ++f)
        picture.FillRect(0, f * frameHeight, width, frameHeight, uint32_t(colour + f));
    picture.SetPixel(0, 0, 0); // a transparent corner: the key of surface pictures
    if (trle)
        picture.Compress(TAG_TRLE);
    WriteSpriteFile(path, picture.GetInfoHeader(), picture.GetPictureSize());
}

} // namespace

std::string MakeMiniGameData(const std::string& name)
{
    fs::path root = fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
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
    WritePicture((root / "menu" / "cursor.bmp").string(), 16, 16, 1, 200, false);
    for (const char* palette : {"palMain", "pal10", "pal20", "pal30"})
        WritePicture((root / "menu" / (std::string(palette) + ".bmp")).string(), 4, 4, 1, 1, false);
    return root.string();
}

void RemoveMiniGameData(const std::string& folder)
{
    fs::remove_all(folder);
}
