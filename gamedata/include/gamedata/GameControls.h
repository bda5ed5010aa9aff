#pragma once
// The game's eight controls as "config.dat" binds them: each control's key
// name in the file, in the order the setup tool writes them, and the key a
// player has until he binds his own (the arrows to walk and turn, Space to
// fire, Enter to raise the gun, right Shift for the binoculars and right
// Control for the jeep).

#include "common/KeyCodes.h"

#include <array>
#include <cstddef>
#include <cstdint>

enum class GameControl { Up, Down, Left, Right, Fire, Weapon, Binoculars, Jeep };

constexpr size_t kGameControlCount = 8;

struct GameControlEntry {
    GameControl control;
    const char* configKey; // the key of its value in "config.dat"
    uint8_t defaultKey;    // keyboard scan code (KeyCodes.h)
};

// Indexed by GameControl, which is also the order of writing.
inline constexpr std::array<GameControlEntry, kGameControlCount> kGameControls{{
    {GameControl::Up, "keyup", dik::UP},
    {GameControl::Down, "keydown", dik::DOWN},
    {GameControl::Left, "keyleft", dik::LEFT},
    {GameControl::Right, "keyright", dik::RIGHT},
    {GameControl::Fire, "keybut0", dik::SPACE},
    {GameControl::Weapon, "keybut1", dik::RETURN},
    {GameControl::Binoculars, "keybut2", dik::RSHIFT},
    {GameControl::Jeep, "keybut3", dik::RCONTROL},
}};

constexpr const GameControlEntry& GameControlOf(GameControl control)
{
    return kGameControls[size_t(control)];
}

// Key codes of the eight controls, indexed by GameControl; 0 is no key.
using ControlKeys = std::array<int, kGameControlCount>;

constexpr ControlKeys DefaultControlKeys()
{
    ControlKeys keys{};
    for (const GameControlEntry& entry : kGameControls)
        keys[size_t(entry.control)] = entry.defaultKey;
    return keys;
}
