#include "palette/WrittenPicture.h"

#include "palette/CPictureMapper.h"
#include "palette/HighColour.h"
#include "palette/ScreenTime.h"

#include "imaging/CColourKMeansQuantizer.h"

WrittenPicture InOwnColours(const RecordedPicture& picture)
{
    WrittenPicture out;
    out.source = &picture;
    std::vector<uint8_t> opaque;
    opaque.reserve(picture.image.pixels.size() * 3);
    for (uint32_t p : picture.image.pixels)
        if (p >> 24) {
            opaque.push_back(uint8_t(p));
            opaque.push_back(uint8_t(p >> 8));
            opaque.push_back(uint8_t(p >> 16));
        }
    int colours = 0;
    if (!opaque.empty()) {
        CColourKMeansQuantizer quantizer(255);
        const int count = int(opaque.size() / 3);
        quantizer.AddPixels(opaque.data(), count, 1, count * 3, nullptr, nullptr, 0);
        colours = quantizer.BuildPalette(out.palette.data() + 1);
    }
    // Colours the high-colour display shows as they are; opaque black would
    // be the key colour, so it becomes the darkest grey.
    std::vector<bool> usable(256, false);
    for (int i = 1; i <= colours; ++i) {
        PaletteEntry& e = out.palette[size_t(i)];
        uint32_t c = NearestHighColour(uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue);
        if (c == 0)
            c = NearestHighColour(0x080808);
        e = {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 0};
        usable[size_t(i)] = true;
    }
    out.indices = CPictureMapper(out.palette.data(), usable).Map(picture.image, Dithering::None);
    return out;
}

uint32_t Hazed(uint32_t rgb, int level)
{
    const double f = level * kHazeStrength / 32;
    auto channel = [&](int shift) {
        const int c = int(rgb >> shift & 0xFF);
        return uint32_t(c + int((kHazeGrey - c) * f)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}
