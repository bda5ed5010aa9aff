#pragma once
// "config.dat": the display depth and the eight control keys, read once at
// start-up from the section "configuration". Absent values read as 0; while
// neither up nor down is bound, all eight controls take the default keys
// (common/DefaultControls.h), as the setup tool shows them.

#include <string>

struct GameConfig {
    int highColour = 0;
    int keyLeft = 0, keyRight = 0, keyUp = 0, keyDown = 0;
    int keyButton0 = 0, keyButton1 = 0, keyButton2 = 0, keyButton3 = 0;
};

// `folder` is the game folder ("" for the current one).
GameConfig ReadGameConfig(const std::string& folder = {});
