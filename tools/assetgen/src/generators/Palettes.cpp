#include "generators/Generators.h"
#include "sink/CAssetSink.h"

#include "common/AtomicFile.h"
#include "gamedata/DataFiles.h"
#include "imaging/CDibPalette.h"
#include "palette/CContextPalettes.h"
#include "palette/CPaletteCheck.h"
#include "palette/CPictureMapper.h"
#include "palette/PaletteColours.h"
#include "palette/WrittenPicture.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace {

// Pictures in their own colours, reduced by two workers taking turns.
std::vector<WrittenPicture> OwnColours(const std::vector<RecordedPicture>& pictures)
{
    std::vector<WrittenPicture> own(pictures.size());
    auto work = [&](size_t first) {
        for (size_t i = first; i < pictures.size(); i += 2)
            if (pictures[i].use != PaletteUse::Context)
                own[i] = InOwnColours(pictures[i]);
    };
    std::thread helper(work, 1);
    work(0);
    helper.join();
    return own;
}

// The palette picture: 16 × 16 pixels, pixel i in entry i.
void WritePalettePicture(CAssetSink& sink, int context, const CContextPalettes& palettes)
{
    std::vector<uint8_t> indices(256);
    for (int i = 0; i < 256; ++i)
        indices[size_t(i)] = uint8_t(i);
    sink.WriteIndexed(CContextPalettes::FileName(context), 16, 16, indices, palettes.Palette(context).data(),
                      PictureStorage::Plain8);
}

const char* const kContextNames[CContextPalettes::kContexts] = {"menus", "desert", "plains", "grass land"};

// Sprites in their own colours meet the game's search halfway, in every
// palette they are shown with.
void SuitEverySprite(const std::vector<RecordedPicture>& pictures, std::vector<WrittenPicture>& written,
                     const CContextPalettes& palettes)
{
    std::vector<CDibPalette*> contexts;
    for (int c = 0; c < CContextPalettes::kContexts; ++c)
        contexts.push_back(NewPalette(palettes.Palette(c).data()));
    for (size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].use == PaletteUse::Own) {
            std::vector<CDibPalette*> shownWith;
            for (int c = 0; c < CContextPalettes::kContexts; ++c)
                if (pictures[i].groups & CContextPalettes::Group(c))
                    shownWith.push_back(contexts[size_t(c)]);
            SuitGameSearch(written[i], shownWith);
        }
    for (CDibPalette* context : contexts)
        context->Release();
}

// A picture written in the palette of where it is shown. The binoculars'
// lens takes the entry kept for it wherever the art has the lens colour.
bool InContextPalette(const RecordedPicture& picture, const CContextPalettes& palettes, WrittenPicture& out)
{
    out.source = &picture;
    std::vector<bool> usable;
    if (!palettes.PaletteFor(picture.groups, out.palette, usable))
        return false;
    const int lens = picture.name == kBinocularPicture ? palettes.LensIndex() : -1;
    if (lens > 0)
        usable[size_t(lens)] = false;
    out.indices = CPictureMapper(out.palette.data(), usable).Map(picture.image, Dithering::Smooth);
    if (lens > 0) {
        const uint32_t lensArt = picture.image.Get(CContextPalettes::kLensX, CContextPalettes::kLensY);
        for (size_t p = 0; p < out.indices.size(); ++p)
            if (picture.image.pixels[p] == lensArt)
                out.indices[p] = uint8_t(lens);
    }
    return true;
}

std::string Where(const CPaletteCheck::Result& result)
{
    return result.context >= 0 ? std::string("in the ") + kContextNames[result.context] + " palette"
                               : std::string("in high colour");
}

// Checks every written picture; failures go to the sink, the figures to the
// report and the worst of them to the progress lines.
void CheckEveryPicture(CAssetSink& sink, const std::vector<WrittenPicture>& written, const CContextPalettes& palettes)
{
    CPaletteCheck check(palettes);
    const int slots = CContextPalettes::kContexts + 1; // high colour, then each palette
    std::vector<double> worst(slots, 99.0), worstSeen(1, 99.0);
    std::vector<std::string> worstName(slots);
    std::string report = "# picture, where it shows (8-bit palette, or high colour against the art), PSNR dB, "
                         "largest channel difference; for high colour also the PSNR over 3 x 3 averages\n";
    for (const WrittenPicture& picture : written) {
        if (!picture.source)
            continue;
        for (const CPaletteCheck::Result& result : check.Check(picture)) {
            char row[200];
            const bool art = result.context < 0;
            std::snprintf(row, sizeof row, art ? "%-22s %-11s %6.2f %4d %6.2f\n" : "%-22s %-11s %6.2f %4d\n",
                          result.name.c_str(), art ? "high colour" : kContextNames[result.context], result.psnr,
                          result.worst, result.seenPsnr);
            report += row;
            if (!result.problem.empty())
                sink.Fail(result.name + " " + Where(result) + ": " + result.problem);
            const size_t slot = size_t(result.context + 1);
            if (result.psnr < worst[slot]) {
                worst[slot] = result.psnr;
                worstName[slot] = result.name;
            }
            if (art)
                worstSeen[0] = std::min(worstSeen[0], result.seenPsnr);
        }
    }
    if (!sink.CheckReport().empty() && !WriteFileAtomically(sink.CheckReport(), report.data(), report.size()))
        sink.Fail("cannot write " + sink.CheckReport());
    char line[200];
    std::snprintf(line, sizeof line, "palettes: high colour against the art at least %.1f dB (%s), %.1f dB over 3 x 3",
                  worst[0], worstName[0].c_str(), worstSeen[0]);
    sink.Progress(line);
    for (int c = 0; c < CContextPalettes::kContexts; ++c) {
        if (worst[size_t(c + 1)] >= 99.0)
            std::snprintf(line, sizeof line, "palettes: %s in 8 bits exactly as in high colour", kContextNames[c]);
        else
            std::snprintf(line, sizeof line, "palettes: %s in 8 bits against high colour at least %.1f dB (%s)",
                          kContextNames[c], worst[size_t(c + 1)], worstName[size_t(c + 1)].c_str());
        sink.Progress(line);
    }
}

} // namespace

// Every 8-bit palette is made from what is shown with it, weighted by what
// the player sees, and then every picture is written: in its context's
// palette (so 8-bit display shows it as high colour does), or in its own
// colours where the game maps them itself. Each written picture is then
// checked through the game's own colour mapping.
void GeneratePalettes(CAssetSink& sink)
{
    const std::vector<RecordedPicture>& pictures = sink.Pictures();
    std::vector<WrittenPicture> written = OwnColours(pictures);
    CContextPalettes palettes;
    palettes.Build(pictures, written);
    for (int c = 0; c < CContextPalettes::kContexts; ++c)
        WritePalettePicture(sink, c, palettes);
    SuitEverySprite(pictures, written, palettes);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const RecordedPicture& picture = pictures[i];
        if (picture.use == PaletteUse::Context && !InContextPalette(picture, palettes, written[i])) {
            sink.Fail(picture.name + " is shown nowhere");
            continue;
        }
        sink.WriteIndexed(picture.name, picture.image.width, picture.image.height, written[i].indices,
                          written[i].palette.data(), picture.storage);
    }
    CheckEveryPicture(sink, written, palettes);
}
