#pragma once
// The game's command line: what each option sets, and the parser.

#include <cstdint>
#include <set>
#include <string>

struct GameOptions {
    std::string dataFolder;     // --data: the game folder ("" = current)
    int fullScreen = -1;        // --fullscreen 1, --windowed 0, -1 as the game decides
    int scale = 1;              // --scale: windowed size multiple
    bool scaleGiven = false;    // --scale was given (else the window's size kept in config.dat)
    bool seedGiven = false;     // --seed
    uint32_t seed = 0;
    double fixedFrameTime = 0;  // --fixed-dt: seconds of game time per pass; 0 = measured
    std::string scriptPath;     // --script: events by pass or by game time
    long maxPasses = 0;         // --frames: quit after this many passes
    std::string dumpPattern;    // --dump-frames: PNG name, %d = pass number
    std::set<long> dumpAt;      // --dump-at
    bool playVideo = true;      // --no-video
    bool vsync = true;          // --no-vsync
    std::string screenLog;      // --screen-log: "<pass> <screen id>" at every screen change
    std::string stateLog;       // --state-log: one line per tick of a hunt
    std::string audioOut;       // --audio-out: the mixed sound of the run as a WAV file
    bool autoplay = false;      // --autoplay [MODE]: a bot plays (hunt, poach, stray, wander)
    int autoplayMode = 0;       // AutoplayMode
    int huntQuarry = -1;        // --hunt QUARRY,WEAPON,SCENARIO: quarry 0..6 (-1: no hunt)
    int huntWeapon = -1;        // weapon 0..5
    int huntScenario = 0;       // scenario 1..3
    std::string audioDevice;    // --audio-device: the sound output by name ("" = config.dat's, or the default)
    bool listAudioDevices = false; // --list-audio-devices: print the outputs' names and exit
};

// Parses the command line. Returns 0 to run, 1 after --help (printed to
// `out`), 2 on a usage error (message in `error`).
int ParseGameOptions(int argc, char** argv, GameOptions& options, std::string& error, std::string& out);
