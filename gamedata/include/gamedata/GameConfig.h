#pragma once
// What "config.dat" says to the game: the display depth, the keys of the
// eight controls, the hunt's aids and the game's own sound and window
// settings, as CConfigFile reads them.

#include "gamedata/GameControls.h"

#include <cstddef>
#include <string>

// The master volume in whole steps from silent (0) to full (the default).
constexpr int kVolumeSteps = 10;

// The gain a volume step plays at: the square of its share, so that every
// step sounds about as much quieter as the one before (full: 1, half: 1/4).
constexpr float VolumeGain(int step)
{
    const float share = step <= 0 ? 0.0f : step >= kVolumeSteps ? 1.0f : float(step) / kVolumeSteps;
    return share * share;
}

// The game's window as the player left it.
struct WindowState {
    int fullScreen = -1; // 1 full screen, 0 a window, -1 not kept
    // The window's size when it was last a window; 0 x 0 when not kept.
    int width = 0, height = 0;
    // The picture enlarged smoothly to fill the window rather than by whole
    // numbers with black borders.
    bool smoothScaling = false;
    bool operator==(const WindowState&) const = default;
};

// Comforts the original game did not have. Each is off unless the player
// turns it on (in the setup tool); all off, the hunt looks as it always did.
struct HuntAids {
    // The radar shows the animals of the quarry's kind in a colour of their own.
    bool quarryOnRadar = false;
    // A small reticle marks where a shot goes while the weapon is raised.
    bool aimReticle = false;
    bool operator==(const HuntAids&) const = default;
};

struct GameConfig {
    // The 16-bit high-colour display; else 8-bit palettised.
    bool highColour = false;
    ControlKeys keys{};
    // The game writes these itself, beside the setup tool's keys.
    int volume = kVolumeSteps; // 0..kVolumeSteps
    bool muted = false;
    std::string audioDevice; // the output's name; "" the system's default
    WindowState window;
    HuntAids aids;

    int Key(GameControl control) const { return keys[size_t(control)]; }
    bool operator==(const GameConfig&) const = default;
};
