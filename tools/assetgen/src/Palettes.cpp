#include "CAssetSink.h"
#include "Generators.h"

#include "common/AtomicFile.h"
#include "imaging/PngWriter.h"
#include "palette/CContextPalettes.h"
#include "palette/CHuntPreview.h"
#include "palette/CPaletteCheck.h"
#include "palette/CPictureMapper.h"
#include "palette/WrittenPicture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
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

// Hunt frames of every scenario, 8-bit on the left and high colour on the
// right, with the PSNR of each pair.
void WriteHuntPreview(CAssetSink& sink, const std::vector<WrittenPicture>& written, const CContextPalettes& palettes)
{
    std::error_code ignored;
    std::filesystem::create_directories(sink.PreviewFolder(), ignored);
    for (int c = 1; c < CContextPalettes::kContexts; ++c) {
        CHuntPreview preview(written, palettes, c);
        for (const CHuntPreview::Frame& frame : preview.Frames()) {
            std::vector<uint32_t> pair(size_t(1280) * 480);
            double squared = 0;
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x) {
                    const uint32_t a = frame.eightBit[size_t(y) * 640 + x], b = frame.highColour[size_t(y) * 640 + x];
                    pair[size_t(y) * 1280 + x] = a;
                    pair[size_t(y) * 1280 + 640 + x] = b;
                    for (int shift : {16, 8, 0}) {
                        const double d = double(a >> shift & 0xFF) - double(b >> shift & 0xFF);
                        squared += d * d;
                    }
                }
            std::string file = std::string(kContextNames[c]) + "-" + frame.name + ".png";
            for (char& ch : file)
                if (ch == ' ')
                    ch = '-';
            WriteRgbPng(pair.data(), 1280, 480, (std::filesystem::path(sink.PreviewFolder()) / file).string());
            char line[160];
            std::snprintf(line, sizeof line, "hunt preview: %s, %s: %.2f dB", kContextNames[c], frame.name.c_str(),
                          PsnrOf(squared / (640.0 * 480 * 3)));
            sink.Progress(line);
        }
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

    for (size_t i = 0; i < pictures.size(); ++i) {
        const RecordedPicture& picture = pictures[i];
        if (picture.use == PaletteUse::Context) {
            WrittenPicture& out = written[i];
            out.source = &picture;
            std::vector<bool> usable;
            if (!palettes.PaletteFor(picture.groups, out.palette, usable)) {
                sink.Fail(picture.name + " is shown nowhere");
                continue;
            }
            const int lens = picture.name == CContextPalettes::kBinoculars ? palettes.LensIndex() : -1;
            if (lens > 0)
                usable[size_t(lens)] = false;
            out.indices = CPictureMapper(out.palette.data(), usable).Map(picture.image, Dithering::Smooth);
            if (lens > 0) {
                // The lens, wherever the art has its colour, takes the entry
                // kept for it.
                const uint32_t lensArt = picture.image.Get(CContextPalettes::kLensX, CContextPalettes::kLensY);
                for (size_t p = 0; p < out.indices.size(); ++p)
                    if (picture.image.pixels[p] == lensArt)
                        out.indices[p] = uint8_t(lens);
            }
        }
        sink.WriteIndexed(picture.name, picture.image.width, picture.image.height, written[i].indices,
                          written[i].palette.data(), picture.storage);
    }

    // The check, with the worst figures per context for the progress report.
    CPaletteCheck check(palettes);
    double worst[CContextPalettes::kContexts + 1];
    std::fill(std::begin(worst), std::end(worst), 99.0);
    std::string worstName[CContextPalettes::kContexts + 1];
    std::string report = "# picture, where it shows (8-bit palette, or high colour against the art), PSNR dB, "
                         "largest channel difference\n";
    for (const WrittenPicture& picture : written) {
        if (!picture.source)
            continue;
        for (const CPaletteCheck::Result& result : check.Check(picture)) {
            char row[200];
            std::snprintf(row, sizeof row, "%-22s %-11s %6.2f %4d\n", result.name.c_str(),
                          result.context >= 0 ? kContextNames[result.context] : "high colour", result.psnr,
                          result.worst);
            report += row;
            if (!result.problem.empty())
                sink.Fail(result.name + (result.context >= 0 ? std::string(" in the ") + kContextNames[result.context] +
                                                                  " palette"
                                                            : std::string(" in high colour")) +
                          ": " + result.problem);
            const int slot = result.context + 1;
            if (result.psnr < worst[slot]) {
                worst[slot] = result.psnr;
                worstName[slot] = result.name;
            }
        }
    }
    if (!sink.PreviewFolder().empty())
        WriteHuntPreview(sink, written, palettes);
    if (!sink.CheckReport().empty() && !WriteFileAtomically(sink.CheckReport(), report.data(), report.size()))
        sink.Fail("cannot write " + sink.CheckReport());
    char line[200];
    std::snprintf(line, sizeof line, "palettes: high colour against the art at least %.1f dB (%s)", worst[0],
                  worstName[0].c_str());
    sink.Progress(line);
    for (int c = 0; c < CContextPalettes::kContexts; ++c) {
        std::snprintf(line, sizeof line, "palettes: %s in 8 bits against high colour at least %.1f dB (%s)",
                      kContextNames[c], worst[c + 1], worstName[c + 1].c_str());
        sink.Progress(line);
    }
}
