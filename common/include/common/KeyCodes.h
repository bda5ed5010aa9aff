#pragma once
// Keyboard scan codes as the configuration file stores them (0..255, the
// classic PC set-1 numbering with 0x80 added for the extended keys), and the
// one table that maps the platform's key identifiers onto them. The game maps
// SDL scancodes, the setup tool maps evdev key codes (X11 key code - 8).

#include <cstdint>

namespace dik {
constexpr uint8_t ESCAPE = 0x01, RETURN = 0x1C, LCONTROL = 0x1D, LSHIFT = 0x2A, RSHIFT = 0x36, LMENU = 0x38,
                  SPACE = 0x39, F10 = 0x44, SUBTRACT = 0x4A, ADD = 0x4E, F11 = 0x57, F12 = 0x58, NUMPADENTER = 0x9C,
                  RCONTROL = 0x9D, RMENU = 0xB8, PAUSE = 0xC5, HOME = 0xC7, UP = 0xC8, PRIOR = 0xC9, LEFT = 0xCB,
                  RIGHT = 0xCD, END = 0xCF, DOWN = 0xD0, NEXT = 0xD1, INSERT = 0xD2, DELETE_ = 0xD3;
}

// 0 when the key has no code.
uint8_t DikFromSdlScancode(int sdlScancode);
int SdlScancodeFromDik(uint8_t dik);
uint8_t DikFromEvdev(int evdevCode);
// A short English name ("UP", "SPACE", "A"), or null for unnamed codes.
const char* DikName(uint8_t dik);
// The code of a name as DikName gives it (case-insensitive), 0 when unknown.
uint8_t DikFromName(const char* name);
