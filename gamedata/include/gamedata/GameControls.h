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

// Keys the game keeps for itself, which the setup tool binds to no control:
// Escape and Pause pause a hunt, F10 mutes, F11 and the keypad's minus turn
// the volume down, F12 and the keypad's plus turn it up.
struct ReservedKeys {
    static constexpr uint8_t kMute = dik::F10;
    static constexpr std::array<uint8_t, 2> kQuieter{dik::F11, dik::SUBTRACT};
    static constexpr std::array<uint8_t, 2> kLouder{dik::F12, dik::ADD};
    static constexpr std::array<uint8_t, 2> kPause{dik::ESCAPE, dik::PAUSE};
};

constexpr bool IsReservedKey(int code)
{
    for (const auto* keys : {&ReservedKeys::kQuieter, &ReservedKeys::kLouder, &ReservedKeys::kPause})
        for (uint8_t key : *keys)
            if (code == key)
                return true;
    return code == ReservedKeys::kMute;
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

static_assert([] {
    for (const GameControlEntry& entry : kGameControls)
        if (IsReservedKey(entry.defaultKey))
            return false;
    return true;
}(), "a control's default key is one the game keeps for itself");
