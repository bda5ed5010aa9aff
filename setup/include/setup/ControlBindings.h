#pragma once
// The game's controls as the setup tool binds them: the eight controls of
// "config.dat" (gamedata/GameControls.h), and a fifth fire button that
// belongs to a joystick binding the tool does not offer, so it is never
// stored and stays 0. It still takes part in the "already in use" check.

#include "gamedata/GameControls.h"

#include <cstddef>

struct ControlBindings {
    // Key codes (keyboard scan codes, 0 = unbound), indexed by GameControl.
    ControlKeys keys{};
    int button5 = 0;

    int& operator[](GameControl control) { return keys[size_t(control)]; }
    int operator[](GameControl control) const { return keys[size_t(control)]; }
    // Whether any of the eight controls or the fifth button has this code.
    bool Uses(int code) const;
    bool operator==(const ControlBindings&) const = default;
};

// The default keys of the eight controls; the fifth button 0.
ControlBindings DefaultBindings();
