#include "palette/CPaletteCheck.h"

#include "palette/HighColour.h"
#include "palette/PaletteColours.h"
#include "palette/ScreenTime.h"

#include "gamedata/DataFiles.h"
#include "imaging/CDibPalette.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kLensX = CContextPalettes::kLensX, kLensY = CContextPalettes::kLensY;

// Squared error and largest difference between two colours, summed up.
struct Tally {
    double squared = 0, weight = 0;
    int worst = 0;

    void Add(uint32_t a, uint32_t b, double w = 1.0)
    {
        for (int shift : {16, 8, 0}) {
            const int d = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
            squared += w * d * d;
            worst = std::max(worst, std::abs(d));
        }
        weight += 3 * w;
    }
    double Psnr() const { return PsnrOf(weight > 0 ? squared / weight : 0); }
};


std::string Describe(const char* what, double value, double limit)
{
    char text[160];
    std::snprintf(text, sizeof text, "%s %.1f dB, below %.1f dB", what, value, limit);
    return text;
}

} // namespace

double PsnrOf(double meanSquaredError)
{
    return meanSquaredError > 0 ? 10 * std::log10(255.0 * 255.0 / meanSquaredError) : 99.0;
}

CPaletteCheck::CPaletteCheck(const CContextPalettes& palettes)
{
    for (int c = 0; c < CContextPalettes::kContexts; ++c)
        m_context[c] = NewPalette(palettes.Palette(c).data());
}

CPaletteCheck::~CPaletteCheck()
{
    for (CDibPalette* palette : m_context)
        palette->Release();
}

std::vector<CPaletteCheck::Result> CPaletteCheck::Check(const WrittenPicture& picture)
{
    std::vector<Result> results;
    for (int c = 0; c < CContextPalettes::kContexts; ++c)
        if (picture.source->groups & CContextPalettes::Group(c))
            results.push_back(picture.source->use == PaletteUse::Ground ? GroundInContext(picture, c)
                                                                         : InContext(picture, c));
    results.push_back(AgainstArt(picture));
    return results;
}

CPaletteCheck::Result CPaletteCheck::InContext(const WrittenPicture& picture, int context)
{
    const RecordedPicture& source = *picture.source;
    Result result;
    result.name = source.name;
    result.context = context;
    // The conversion table the game draws sprites with; loading a surface
    // against the back buffer makes the same octree search.
    CDibPalette* own = NewPalette(picture.palette.data());
    const uint8_t* table = static_cast<const uint8_t*>(own->GetConversionTable(PF_INDEX8, m_context[context]));
    if (!table) {
        own->Release();
        result.problem = "no conversion table to the context palette";
        return result;
    }
    const PaletteEntry* shown = m_context[context]->Entries();
    const int w = source.image.width;
    // A surface with transparent pixels is keyed by one of them (index 0).
    const bool keyed = source.storage == PictureStorage::Plain8 &&
                       std::find(picture.indices.begin(), picture.indices.end(), 0) != picture.indices.end();
    const int lens = source.name == kBinocularPicture && source.image.Inside(kLensX, kLensY)
                         ? table[picture.indices[size_t(kLensY) * w + kLensX]]
                         : -1;
    const uint32_t lensColour = lens >= 0 ? ColourOf(picture.palette[picture.indices[size_t(kLensY) * w + kLensX]]) : 0;
    Tally tally;
    for (size_t i = 0; i < picture.indices.size(); ++i) {
        const uint8_t index = picture.indices[i];
        if (!index)
            continue;
        const uint8_t mapped = table[index];
        tally.Add(ColourOf(shown[mapped]), HighColourOf(ColourOf(picture.palette[index])));
        if (keyed && mapped == table[0])
            ++result.keyHits;
        if (lens >= 0 && mapped == lens && ColourOf(picture.palette[index]) != lensColour)
            ++result.lensHits;
    }
    own->Release();
    result.psnr = tally.Psnr();
    result.worst = tally.worst;
    if (result.keyHits)
        result.problem = std::to_string(result.keyHits) + " visible pixels turn into the colour key";
    else if (result.lensHits)
        result.problem = std::to_string(result.lensHits) + " pixels turn into the lens colour";
    else if (source.use == PaletteUse::Context && tally.worst > 0)
        result.problem = "not shown exactly in its own palette (a difference of " + std::to_string(tally.worst) + ")";
    else if (source.use == PaletteUse::Own && result.psnr < kSpriteMinPsnr)
        result.problem = Describe("8-bit against high colour", result.psnr, kSpriteMinPsnr);
    return result;
}

CPaletteCheck::Result CPaletteCheck::GroundInContext(const WrittenPicture& picture, int context)
{
    Result result;
    result.name = picture.source->name;
    result.context = context;
    std::vector<double> texels(256, 0.0);
    for (uint8_t index : picture.indices)
        texels[index] += 1.0;
    const std::vector<double> levelPixels = GroundPixelsByHazeLevel();
    const PaletteEntry* shown = m_context[context]->Entries();
    Tally tally;
    for (int level = 0; level < kHazeLevels; ++level)
        for (int e = 0; e < 256; ++e) {
            if (texels[size_t(e)] <= 0)
                continue;
            const uint32_t hazed = Hazed(ColourOf(picture.palette[size_t(e)]), level);
            const int mapped =
                m_context[context]->NearestIndex(uint8_t(hazed >> 16), uint8_t(hazed >> 8), uint8_t(hazed));
            if (mapped < 0) {
                result.problem = "no colour in the context palette";
                return result;
            }
            tally.Add(ColourOf(shown[mapped]), HighColourOf(hazed), texels[size_t(e)] * levelPixels[size_t(level)]);
        }
    result.psnr = tally.Psnr();
    result.worst = tally.worst;
    if (result.psnr < kGroundMinPsnr)
        result.problem = Describe("hazed ground, 8-bit against high colour", result.psnr, kGroundMinPsnr);
    return result;
}

CPaletteCheck::Result CPaletteCheck::AgainstArt(const WrittenPicture& picture)
{
    const RgbaImage& image = picture.source->image;
    Result result;
    result.name = picture.source->name;
    // The binoculars' lens is never seen: the magnified view replaces it.
    const uint32_t unseen =
        picture.source->name == kBinocularPicture ? image.Get(kLensX, kLensY) : 0;
    const int w = image.width, h = image.height;
    auto seen = [&](int x, int y) {
        const uint32_t p = image.pixels[size_t(y) * w + x];
        return (p >> 24) != 0 && p != unseen;
    };
    auto shown = [&](int x, int y) { return HighColourOf(ColourOf(picture.palette[picture.indices[size_t(y) * w + x]])); };
    Tally tally, blurred;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!seen(x, y))
                continue;
            tally.Add(image.pixels[size_t(y) * w + x] & 0xFFFFFF, shown(x, y));
            // Both pictures averaged over the seen pixels of the 3 × 3 block.
            int art[3] = {0, 0, 0}, out[3] = {0, 0, 0}, count = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!image.Inside(x + dx, y + dy) || !seen(x + dx, y + dy))
                        continue;
                    const uint32_t a = image.pixels[size_t(y + dy) * w + x + dx], b = shown(x + dx, y + dy);
                    for (int c = 0; c < 3; ++c) {
                        art[c] += int(a >> (16 - 8 * c) & 0xFF);
                        out[c] += int(b >> (16 - 8 * c) & 0xFF);
                    }
                    ++count;
                }
            auto mean = [count](const int* v) {
                return uint32_t((v[0] + count / 2) / count) << 16 | uint32_t((v[1] + count / 2) / count) << 8 |
                       uint32_t((v[2] + count / 2) / count);
            };
            blurred.Add(mean(art), mean(out));
        }
    result.psnr = tally.Psnr();
    result.seenPsnr = blurred.Psnr();
    result.worst = tally.worst;
    if (result.psnr < kTrueColourMinPsnr)
        result.problem = Describe("high colour against the art", result.psnr, kTrueColourMinPsnr);
    else if (result.seenPsnr < kTrueColourMinSeenPsnr)
        result.problem = Describe("high colour against the art over 3 x 3 averages", result.seenPsnr,
                                  kTrueColourMinSeenPsnr);
    return result;
}
