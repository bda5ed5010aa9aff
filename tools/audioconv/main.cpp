// audioconv: prints what an audio file holds and converts between the audio
// file types the game reads.

#include "AudioConvCommands.h"
#include "common/VersionText.h"

#include <cstdio>
#include <cstring>

namespace {
const char kUsage[] =
    "usage: audioconv info FILE\n"
    "       audioconv convert [--rate R] [--bits 8|16] [--channels 1|2] [--type wav|aiff|au|raw]\n"
    "                         [--encoding linear|mulaw|alaw] [--code 1-6] [--raw-in RATE,CODE,CHANNELS] IN OUT\n"
    "       audioconv tone [--rate R] [--bits 8|16] [--channels 1|2] [--hz F] [--seconds S] OUT\n"
    "\n"
    "info     type, wave format, sample frames and INFO texts of a WAV, AIFF, AU,\n"
    "         MPEG audio or (with --raw-in) headerless PCM file.\n"
    "convert  writes IN as OUT, changing rate, sample size and channels as asked. The\n"
    "         type comes from --type or OUT's extension (.wav, .aif/.aiff, .au/.snd,\n"
    "         .raw/.pcm). --encoding chooses the AU encoding; --code the sample code of\n"
    "         headerless PCM (1 s8, 2 u8, 3 s16le, 4 s16be, 5 u16le, 6 u16be).\n"
    "         --raw-in reads IN as headerless PCM with that rate, code and channels.\n"
    "tone     writes a sine tone as a WAV file.\n"
    "\n"
    "--version  the version and the licence.\n"
    "\n"
    "Environment:\n"
    "  VELDRA_TRACE  a file for the audio readers' trace (default: standard error), or off\n";
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (AsksForVersion(argv[1])) {
        std::fputs(VersionText("audioconv").c_str(), stdout);
        return 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    const std::string command = argv[1];
    if (command == "info")
        return RunInfo(args);
    if (command == "convert")
        return RunConvert(args);
    if (command == "tone")
        return RunTone(args);
    std::fprintf(stderr, "audioconv: unknown command '%s' (try --help)\n", command.c_str());
    return 2;
}
