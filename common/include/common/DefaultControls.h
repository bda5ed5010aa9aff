#pragma once
// The keys a player has until he binds his own: the arrows to walk and turn,
// Space to fire, Enter to raise the gun, right Shift for the binoculars and
// right Control for the jeep. The setup tool offers them as its defaults, and
// the game plays with them while "config.dat" binds neither up nor down, so
// that what the setup tool shows is what the game does.

#include "common/KeyCodes.h"

namespace default_keys {
constexpr uint8_t UP = dik::UP, DOWN = dik::DOWN, LEFT = dik::LEFT, RIGHT = dik::RIGHT;
constexpr uint8_t FIRE = dik::SPACE, GUN = dik::RETURN, BINOCULARS = dik::RSHIFT, JEEP = dik::RCONTROL;
} // namespace default_keys
