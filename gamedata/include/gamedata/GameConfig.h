#pragma once
// What "config.dat" says to the game: the display depth and the keys of the
// eight controls, as CConfigFile reads them.

#include "gamedata/GameControls.h"

#include <cstddef>

struct GameConfig {
    // The 16-bit high-colour display; else 8-bit palettised.
    bool highColour = false;
    ControlKeys keys{};

    int Key(GameControl control) const { return keys[size_t(control)]; }
    bool operator==(const GameConfig&) const = default;
};
