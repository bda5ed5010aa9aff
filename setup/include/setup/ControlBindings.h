#pragma once
// The game's controls as the setup tool binds them: nine key codes in a fixed
// order. The first eight are stored in "config.dat"; the ninth, a fifth fire
// button, belongs to a joystick binding the tool does not offer, so it is
// never stored and stays 0. It still takes part in the "already in use" check.

#include <array>
#include <cstddef>

enum class Control { Up, Down, Left, Right, Fire, Weapon, Binoculars, Jeep, Button5 };

constexpr size_t kControlCount = 9;
// The controls written to and read from "config.dat", in the order they are written.
constexpr size_t kStoredControls = 8;

struct ControlBindings {
    // Key codes (keyboard scan codes, 0 = unbound), indexed by Control.
    std::array<int, kControlCount> codes{};

    int& operator[](Control control) { return codes[size_t(control)]; }
    int operator[](Control control) const { return codes[size_t(control)]; }
    // Whether any of the nine controls has this code.
    bool Uses(int code) const;
    bool operator==(const ControlBindings&) const = default;
};

// UP, DOWN, LEFT, RIGHT, Spacebar, Enter, R Shift, R Control; the fifth button 0.
ControlBindings DefaultBindings();
// The "config.dat" key of a stored control (the eight stored controls, in
// writing order, are the first eight values of Control) ("keyup", ... "keybut3"); null for Button5.
const char* ProfileKeyOf(Control control);
