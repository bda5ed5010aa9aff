#include "CAssetSink.h"
#include "Generators.h"

#include "imaging/CColourOctreeQuantizer.h"

namespace {

struct PaletteFile {
    const char* name;
    uint32_t group;
};

// The menus' palette and one per scenario (desert, plains, grass land).
constexpr PaletteFile kPalettes[] = {
    {"menu\\palMain.bmp", GROUP_MENU},
    {"menu\\pal10.bmp", GROUP_DESERT},
    {"menu\\pal20.bmp", GROUP_PLAINS},
    {"menu\\pal30.bmp", GROUP_GRASS},
};

} // namespace

// Each 8-bit palette is reduced from every picture shown with it, so the
// 8-bit display mode shows all that art as well as 255 colours allow. The
// palette picture itself is 16 × 16, one pixel per entry; entry 0 is black.
void GeneratePalettes(CAssetSink& sink)
{
    for (const PaletteFile& file : kPalettes) {
        CColourOctreeQuantizer quantizer(255);
        std::vector<uint8_t> pixels;
        for (const RecordedPicture& picture : sink.Pictures()) {
            if (!(picture.groups & file.group))
                continue;
            // Every other pixel of every other row keeps this quick and fair.
            for (int y = 0; y < picture.image.height; y += 2)
                for (int x = 0; x < picture.image.width; x += 2) {
                    const uint32_t p = picture.image.pixels[size_t(y) * picture.image.width + x];
                    if (!(p >> 24))
                        continue;
                    pixels.push_back(uint8_t(p));
                    pixels.push_back(uint8_t(p >> 8));
                    pixels.push_back(uint8_t(p >> 16));
                }
        }
        PaletteEntry entries[256] = {};
        int colours = 0;
        if (!pixels.empty()) {
            quantizer.AddPixels(pixels.data(), int(pixels.size() / 3), 1, int(pixels.size()), nullptr, nullptr, 0);
            colours = quantizer.BuildPalette(entries + 1);
        }
        RgbaImage swatch(16, 16, Rgb(8, 8, 8));
        for (int i = 0; i < 256; ++i) {
            const PaletteEntry& e = entries[i];
            swatch.Set(i % 16, i / 16, i == 0 ? 0u : Rgb(e.red, e.green, e.blue));
        }
        (void)colours;
        // Written through the usual path: the picture's own palette is then
        // exactly these colours (it has no more than 256 of them).
        sink.WritePicture(file.name, swatch, 0, PictureStorage::Plain8);
    }
}
