#include "palette/WrittenPicture.h"

#include "palette/CPictureMapper.h"
#include "palette/HighColour.h"
#include "palette/PaletteColours.h"
#include "palette/ScreenTime.h"

#include "imaging/CColourKMeansQuantizer.h"
#include "imaging/CDibPalette.h"

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
        uint32_t c = NearestHighColour(ColourOf(e));
        if (c == 0)
            c = NearestHighColour(0x080808);
        e = EntryOf(c);
        usable[size_t(i)] = true;
    }
    out.indices = CPictureMapper(out.palette.data(), usable).Map(picture.image, Dithering::None);
    return out;
}

void SuitGameSearch(WrittenPicture& picture, const std::vector<CDibPalette*>& contexts)
{
    if (contexts.empty())
        return;
    std::vector<bool> used(256, false);
    for (uint8_t index : picture.indices)
        used[index] = true;
    auto squared = [](int r0, int g0, int b0, int r1, int g1, int b1) {
        return (r0 - r1) * (r0 - r1) + (g0 - g1) * (g0 - g1) + (b0 - b1) * (b0 - b1);
    };
    for (int i = 1; i < 256; ++i) {
        if (!used[size_t(i)])
            continue;
        PaletteEntry& entry = picture.palette[size_t(i)];
        const int r = entry.red, g = entry.green, b = entry.blue;
        // The cost of a colour: its distance from the entry's colour (what
        // high colour then shows instead) plus, per context, the distance
        // from it to what the game's search finds for it.
        long best = -1;
        PaletteEntry chosen = entry;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dg = -1; dg <= 1; ++dg)
                for (int db = -1; db <= 1; ++db) {
                    const int cr = NearestHighColourChannel(r + 8 * dr), cg = NearestHighColourChannel(g + 8 * dg),
                              cb = NearestHighColourChannel(b + 8 * db);
                    if ((cr | cg | cb) == 0)
                        continue;
                    long cost = long(contexts.size()) * 3 * squared(cr, cg, cb, r, g, b);
                    for (CDibPalette* context : contexts) {
                        const int found = context->NearestIndex(uint8_t(cr), uint8_t(cg), uint8_t(cb));
                        const PaletteEntry& e = context->Entries()[found < 0 ? 0 : found];
                        cost += squared(e.red, e.green, e.blue, cr, cg, cb);
                    }
                    if (best < 0 || cost < best) {
                        best = cost;
                        chosen = {uint8_t(cr), uint8_t(cg), uint8_t(cb), 0};
                    }
                }
        entry = chosen;
    }
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
