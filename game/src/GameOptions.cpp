#include "game/GameOptions.h"

#include "game/CAutoPlayer.h"
#include "common/VersionText.h"
#include "gamedata/HuntTables.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

// Headings ("Options:", "Keys:", ...) become the manual page's sections.
const char* kUsage =
    "Usage: Veldra [options]\n"
    "A first-person hunt on the savannah. With no options the game runs full screen\n"
    "from the data in the current folder, or else from the data installed with it\n"
    "(../share/veldra from the program's own folder), as configured in \"config.dat\".\n"
    "\n"
    "Options:\n"
    "  --data DIR          the game folder (data, config.dat, trophy.bin)\n"
    "  --windowed          run in a window (Alt+Enter toggles full screen)\n"
    "  --fullscreen        run full screen (desktop resolution, aspect kept)\n"
    "  --scale N           window size as a multiple of 640 x 480 (1..3)\n"
    "                      (without these three, the game starts as it was left: full screen or\n"
    "                      a window of the size it had, kept in config.dat)\n"
    "  --hunt Q,W,S        start straight in a hunt (no intro, no menus), e.g. zebra,rifle,plains;\n"
    "                      Q: elephant giraffe hippo lion lioness rhino zebra\n"
    "                      W: assault-rifle crossbow handgun muzzle-loader rifle shotgun\n"
    "                      S: desert plains grassland\n"
    "  --no-video          skip the intro video\n"
    "  --no-vsync          present without waiting for vertical sync\n"
    "  --audio-device NAME play through the sound output called NAME (one of those\n"
    "                      --list-audio-devices prints; \"audiodevice\" in config.dat does the\n"
    "                      same); an output not found leaves the default one, with a message\n"
    "  --list-audio-devices  print the names of the sound outputs, one a line, and exit\n"
    "  --help              this text\n"
    "  --version           the version and the licence\n"
    "\n"
    "Testing options:\n"
    "  --seed N            seed of the game's random generator (default: the time)\n"
    "  --fixed-dt SECONDS  give the game this much time every pass (deterministic runs); the game\n"
    "                      runs in fixed ticks of 0.05 s, as many as the time given holds\n"
    "  --script FILE       timed key and mouse events by pass number or by game time\n"
    "  --frames N          quit after N passes\n"
    "  --dump-frames PAT   write the back buffer as PNG; %d in PAT becomes the pass number\n"
    "  --dump-at LIST      passes to dump, comma separated (default: every pass)\n"
    "  --screen-log FILE   write '<pass> <screen id>' whenever the screen changes\n"
    "  --state-log FILE    write one line per tick of a hunt: the tick, the game time in seconds,\n"
    "                      the hunter's x, y, view angle and horizon row, driving (0 or 1), the\n"
    "                      jeep's speed, each animal as x,y,state, the kill report and the end\n"
    "                      status (0 running, 1 killed, 2 lost)\n"
    "  --audio-out FILE    record the game's mixed sound into a WAV file (same samples for\n"
    "                      the same --fixed-dt run)\n"
    "  --autoplay [MODE]   a bot plays through the keys: hunt (bag the quarry, the default),\n"
    "                      poach (jail), stray (killed), wander (lost); the game quits a few\n"
    "                      seconds after the end picture and prints its peak memory\n"
    "\n"
    "Script lines: '<pass> key down|up <KEY>', '<pass> mouse <x> <y>', '<pass> button down|up',\n"
    "'<pass> click', '<pass> focus lost|gained', '<pass> quit'; '#' starts a comment. A game time\n"
    "such as '2.5s' in place of the pass applies the event before the first tick at that time.\n"
    "\n"
    "Keys:\n"
    "  Up, Down          walk forward and back; in the jeep, drive and reverse\n"
    "  Left, Right       turn; in the jeep, steer\n"
    "  Space             fire\n"
    "  Enter             raise or lower the gun\n"
    "  Right Shift       raise or lower the binoculars\n"
    "  Right Ctrl        get into the jeep or out of it\n"
    "  Escape            stop the intro video; in a hunt, pause (the options box) and resume\n"
    "  Pause             pause and resume a hunt\n"
    "  F10               sound off and on\n"
    "  F11, keypad -     quieter (ten steps; kept in config.dat)\n"
    "  F12, keypad +     louder\n"
    "  Alt+Enter         switch between full screen and a window\n"
    "\n"
    "The first six are the defaults; veldra-setup binds other keys in \"config.dat\", but none\n"
    "to Escape, Pause, F10, F11, F12 or the keypad's - and +, which the game keeps. The\n"
    "hunt display's buttons do the same with the mouse.\n"
    "\n"
    "Files:\n"
    "  PREFIX/share/veldra  the game's data as installed: pictures (menu, animals, env),\n"
    "                       sounds, the intro video and the player's guide, Veldra.html\n"
    "  config.dat           the display depth, the keys and the hunting aids (the quarry in\n"
    "                       its own colour on the radar, a reticle where the shot goes; both\n"
    "                       off by default), as veldra-setup writes them; the volume, the\n"
    "                       mute and the sound output, as the game keeps them\n"
    "  trophy.bin           the trophies bagged, shown in the trophy room\n"
    "\n"
    "\"config.dat\" and \"trophy.bin\" are kept in the game folder; when that is the\n"
    "installed data or a read-only folder, in $XDG_DATA_HOME/veldra (by default\n"
    "~/.local/share/veldra).\n"
    "\n"
    "Environment:\n"
    "  XDG_DATA_HOME          the folder below which the player's own files are kept\n"
    "  HOME                   the home folder, when XDG_DATA_HOME is not set\n"
    "  VELDRA_TRACE           a file for the developer trace (default: standard error), or off\n"
    "  VELDRA_PORTABLE        1: the portable drawing kernels instead of the SSE2 and AVX2 ones\n"
    "  VELDRA_SIMD            sse2: the SSE2 kernels even where AVX2 would run\n"
    "  VELDRA_OPENAL_LIBRARY  the sound library to load (default: libopenal.so.1)\n"
    "  SDL_VIDEODRIVER        dummy: no window (with SDL_AUDIODRIVER=dummy and\n"
    "                         ALSOFT_DRIVERS=null, a game that runs without display or sound)\n";

bool ParseLong(const char* text, long low, long high, long& value)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= low && value <= high;
}

std::string Choices(const char* (*name)(int), int count)
{
    std::string list;
    for (int i = 0; i < count; ++i)
        list += std::string(i ? ", " : "") + name(i);
    return list;
}

// "QUARRY,WEAPON,SCENARIO" in the menus' lower-case names.
bool ParseHunt(const std::string& text, GameOptions& options, std::string& error)
{
    std::vector<std::string> parts;
    std::stringstream list(text);
    std::string part;
    while (std::getline(list, part, ','))
        parts.push_back(part);
    const std::string quarries = Choices([](int i) { return kAnimalKinds[i].name; }, ANIMAL_KIND_COUNT);
    const std::string weapons = Choices([](int i) { return kWeapons[i].name; }, WEAPON_COUNT);
    const std::string grounds = Choices([](int i) { return kScenarios[i + 1].name; }, SCENARIO_COUNT);
    if (parts.size() != 3) {
        error = "--hunt needs QUARRY,WEAPON,SCENARIO, e.g. zebra,rifle,plains";
        return false;
    }
    options.huntQuarry = QuarryIndexByName(parts[0]);
    options.huntWeapon = WeaponIndexByName(parts[1]);
    options.huntScenario = ScenarioByName(parts[2]);
    if (options.huntQuarry < 0)
        error = "--hunt: no quarry called \"" + parts[0] + "\"; choose one of: " + quarries;
    else if (options.huntWeapon < 0)
        error = "--hunt: no weapon called \"" + parts[1] + "\"; choose one of: " + weapons;
    else if (options.huntScenario < 0)
        error = "--hunt: no hunting ground called \"" + parts[2] + "\"; choose one of: " + grounds;
    return error.empty();
}

} // namespace

int ParseGameOptions(int argc, char** argv, GameOptions& options, std::string& error, std::string& out)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needs = [&](const char* what) {
            error = arg + " needs " + what;
            return 2;
        };
        long number = 0;
        if (arg == "--help" || arg == "-h") {
            out = kUsage;
            return 1;
        } else if (arg == "--version") {
            out = VersionText("Veldra");
            return 1;
        } else if (arg == "--data") {
            if (!value)
                return needs("a folder");
            options.dataFolder = value;
            ++i;
        } else if (arg == "--windowed") {
            options.fullScreen = 0;
        } else if (arg == "--fullscreen") {
            options.fullScreen = 1;
        } else if (arg == "--scale") {
            if (!ParseLong(value, 1, 3, number))
                return needs("1, 2 or 3");
            options.scale = int(number);
            options.scaleGiven = true;
            ++i;
        } else if (arg == "--seed") {
            if (!ParseLong(value, 0, 4294967295L, number))
                return needs("a number");
            options.seed = uint32_t(number);
            options.seedGiven = true;
            ++i;
        } else if (arg == "--fixed-dt") {
            char* end = nullptr;
            options.fixedFrameTime = value ? std::strtod(value, &end) : 0;
            if (!value || *end || options.fixedFrameTime <= 0 || options.fixedFrameTime > 1)
                return needs("seconds between 0 and 1");
            ++i;
        } else if (arg == "--script") {
            if (!value)
                return needs("a file");
            options.scriptPath = value;
            ++i;
        } else if (arg == "--frames") {
            if (!ParseLong(value, 1, 1000000000L, number))
                return needs("a positive number");
            options.maxPasses = number;
            ++i;
        } else if (arg == "--dump-frames") {
            if (!value)
                return needs("a file pattern");
            options.dumpPattern = value;
            ++i;
        } else if (arg == "--dump-at") {
            if (!value)
                return needs("a list of passes");
            std::stringstream list(value);
            std::string item;
            while (std::getline(list, item, ',')) {
                if (!ParseLong(item.c_str(), 1, 1000000000L, number)) {
                    error = "--dump-at: not a pass number: " + item;
                    return 2;
                }
                options.dumpAt.insert(number);
            }
            ++i;
        } else if (arg == "--screen-log") {
            if (!value)
                return needs("a file");
            options.screenLog = value;
            ++i;
        } else if (arg == "--state-log") {
            if (!value)
                return needs("a file");
            options.stateLog = value;
            ++i;
        } else if (arg == "--audio-out") {
            if (!value)
                return needs("a file");
            options.audioOut = value;
            ++i;
        } else if (arg == "--autoplay") {
            options.autoplay = true;
            AutoplayMode mode = AutoplayMode::Hunt;
            if (value && value[0] != '-') {
                if (!ParseAutoplayMode(value, mode)) {
                    error = std::string("--autoplay: no mode called \"") + value + "\"; choose one of: hunt, poach, stray, wander";
                    return 2;
                }
                ++i;
            }
            options.autoplayMode = int(mode);
        } else if (arg == "--hunt") {
            if (!value)
                return needs("QUARRY,WEAPON,SCENARIO");
            if (!ParseHunt(value, options, error))
                return 2;
            ++i;
        } else if (arg == "--no-video") {
            options.playVideo = false;
        } else if (arg == "--audio-device") {
            if (!value || !*value)
                return needs("the name of a sound output");
            options.audioDevice = value;
            ++i;
        } else if (arg == "--list-audio-devices") {
            options.listAudioDevices = true;
        } else if (arg == "--no-vsync") {
            options.vsync = false;
        } else {
            error = "unknown option " + arg + " (see --help)";
            return 2;
        }
    }
    return 0;
}
