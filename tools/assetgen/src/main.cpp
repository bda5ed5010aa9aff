// assetgen: writes the game's whole data folder (pictures, sounds, the intro
// video and the help page), byte-identical on every run; or, apart from it,
// the desktop icons.
//
//   assetgen [--out DIR] [--only GLOB] [--contact-sheet FILE.png] [--check-report FILE]
//   assetgen --icons DIR
//   assetgen --window-icons FILE

#include "common/VersionText.h"
#include "generators/Generators.h"
#include "generators/Icons.h"
#include "sink/CAssetSink.h"
#include "sink/ContactSheet.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string out = "data", only, sheet, report, icons, windowIcons;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--out" && hasValue)
            out = argv[++i];
        else if (arg == "--only" && hasValue)
            only = argv[++i];
        else if (arg == "--contact-sheet" && hasValue)
            sheet = argv[++i];
        else if (arg == "--check-report" && hasValue)
            report = argv[++i];
        else if (arg == "--icons" && hasValue)
            icons = argv[++i];
        else if (arg == "--window-icons" && hasValue)
            windowIcons = argv[++i];
        else if (AsksForVersion(argv[i])) {
            std::fputs(VersionText("assetgen").c_str(), stdout);
            return 0;
        } else {
            const bool help = arg == "--help" || arg == "-h";
            std::fprintf(help ? stdout : stderr,
                         "Usage: assetgen [--out DIR] [--only GLOB] [--contact-sheet FILE.png] [--check-report FILE]\n"
                         "       assetgen --icons DIR\n"
                         "       assetgen --window-icons FILE\n"
                         "Writes the game's data folder (default: ./data). --only limits the files written to\n"
                         "the names matching GLOB (Windows-style names, e.g. 'menu\\\\m*.bmp' or 'menu/m*.bmp');\n"
                         "--contact-sheet puts every picture on one PNG sheet; --check-report lists how every\n"
                         "picture shows in each 8-bit palette and in high colour (PSNR in dB, largest difference).\n"
                         "Every file is made the same whatever --only says, since the palettes need every picture.\n"
                         "--icons writes only the desktop icons, as DIR/hicolor/<n>x<n>/{apps,mimetypes}/*.png.\n"
                         "--window-icons writes the programs' window icons as C++ source, to be built in.\n"
                         "--version prints the version and the licence.\n");
            return help ? 0 : 2;
        }
    }
    if (!icons.empty())
        return GenerateIcons(icons) ? 0 : 1;
    if (!windowIcons.empty())
        return WriteWindowIconSource(windowIcons) ? 0 : 1;
    CAssetSink sink(out, only);
    sink.SetCheckReport(report);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kGeneratorCount; ++i) {
        const auto begin = std::chrono::steady_clock::now();
        kGenerators[i].run(sink);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        char line[160];
        std::snprintf(line, sizeof line, "[%d/%d] %s (%.1f s)", i + 1, kGeneratorCount, kGenerators[i].name, seconds);
        sink.Progress(line);
    }
    if (!sheet.empty() && !WriteContactSheet(sink.Pictures(), sheet)) {
        std::fprintf(stderr, "assetgen: cannot write the contact sheet %s\n", sheet.c_str());
        return 1;
    }
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char line[160];
    std::snprintf(line, sizeof line, "done: %zu pictures in %.1f s, %d failures", sink.Pictures().size(), total,
                  sink.Failures());
    sink.Progress(line);
    return sink.Failures() == 0 ? 0 : 1;
}
