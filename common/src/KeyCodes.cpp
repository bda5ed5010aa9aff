#include "common/KeyCodes.h"

#include <SDL_scancode.h>
#include <strings.h>

namespace {

struct KeyRow {
    uint8_t dik;
    int sdl;     // SDL_Scancode
    int evdev;   // Linux input event code
    const char* name;
};

// One row per key: scan code, SDL scancode, evdev code, name. The basic
// block's evdev codes equal the set-1 scan codes; the extended keys do not.
constexpr KeyRow kKeys[] = {
    {0x01, SDL_SCANCODE_ESCAPE, 1, "ESCAPE"},     {0x02, SDL_SCANCODE_1, 2, "1"},
    {0x03, SDL_SCANCODE_2, 3, "2"},               {0x04, SDL_SCANCODE_3, 4, "3"},
    {0x05, SDL_SCANCODE_4, 5, "4"},               {0x06, SDL_SCANCODE_5, 6, "5"},
    {0x07, SDL_SCANCODE_6, 7, "6"},               {0x08, SDL_SCANCODE_7, 8, "7"},
    {0x09, SDL_SCANCODE_8, 9, "8"},               {0x0A, SDL_SCANCODE_9, 10, "9"},
    {0x0B, SDL_SCANCODE_0, 11, "0"},              {0x0C, SDL_SCANCODE_MINUS, 12, "MINUS"},
    {0x0D, SDL_SCANCODE_EQUALS, 13, "EQUALS"},    {0x0E, SDL_SCANCODE_BACKSPACE, 14, "BACK"},
    {0x0F, SDL_SCANCODE_TAB, 15, "TAB"},          {0x10, SDL_SCANCODE_Q, 16, "Q"},
    {0x11, SDL_SCANCODE_W, 17, "W"},              {0x12, SDL_SCANCODE_E, 18, "E"},
    {0x13, SDL_SCANCODE_R, 19, "R"},              {0x14, SDL_SCANCODE_T, 20, "T"},
    {0x15, SDL_SCANCODE_Y, 21, "Y"},              {0x16, SDL_SCANCODE_U, 22, "U"},
    {0x17, SDL_SCANCODE_I, 23, "I"},              {0x18, SDL_SCANCODE_O, 24, "O"},
    {0x19, SDL_SCANCODE_P, 25, "P"},              {0x1A, SDL_SCANCODE_LEFTBRACKET, 26, "LBRACKET"},
    {0x1B, SDL_SCANCODE_RIGHTBRACKET, 27, "RBRACKET"}, {0x1C, SDL_SCANCODE_RETURN, 28, "RETURN"},
    {0x1D, SDL_SCANCODE_LCTRL, 29, "LCONTROL"},   {0x1E, SDL_SCANCODE_A, 30, "A"},
    {0x1F, SDL_SCANCODE_S, 31, "S"},              {0x20, SDL_SCANCODE_D, 32, "D"},
    {0x21, SDL_SCANCODE_F, 33, "F"},              {0x22, SDL_SCANCODE_G, 34, "G"},
    {0x23, SDL_SCANCODE_H, 35, "H"},              {0x24, SDL_SCANCODE_J, 36, "J"},
    {0x25, SDL_SCANCODE_K, 37, "K"},              {0x26, SDL_SCANCODE_L, 38, "L"},
    {0x27, SDL_SCANCODE_SEMICOLON, 39, "SEMICOLON"}, {0x28, SDL_SCANCODE_APOSTROPHE, 40, "APOSTROPHE"},
    {0x29, SDL_SCANCODE_GRAVE, 41, "GRAVE"},      {0x2A, SDL_SCANCODE_LSHIFT, 42, "LSHIFT"},
    {0x2B, SDL_SCANCODE_BACKSLASH, 43, "BACKSLASH"}, {0x2C, SDL_SCANCODE_Z, 44, "Z"},
    {0x2D, SDL_SCANCODE_X, 45, "X"},              {0x2E, SDL_SCANCODE_C, 46, "C"},
    {0x2F, SDL_SCANCODE_V, 47, "V"},              {0x30, SDL_SCANCODE_B, 48, "B"},
    {0x31, SDL_SCANCODE_N, 49, "N"},              {0x32, SDL_SCANCODE_M, 50, "M"},
    {0x33, SDL_SCANCODE_COMMA, 51, "COMMA"},      {0x34, SDL_SCANCODE_PERIOD, 52, "PERIOD"},
    {0x35, SDL_SCANCODE_SLASH, 53, "SLASH"},      {0x36, SDL_SCANCODE_RSHIFT, 54, "RSHIFT"},
    {0x37, SDL_SCANCODE_KP_MULTIPLY, 55, "MULTIPLY"}, {0x38, SDL_SCANCODE_LALT, 56, "LMENU"},
    {0x39, SDL_SCANCODE_SPACE, 57, "SPACE"},      {0x3A, SDL_SCANCODE_CAPSLOCK, 58, "CAPITAL"},
    {0x3B, SDL_SCANCODE_F1, 59, "F1"},            {0x3C, SDL_SCANCODE_F2, 60, "F2"},
    {0x3D, SDL_SCANCODE_F3, 61, "F3"},            {0x3E, SDL_SCANCODE_F4, 62, "F4"},
    {0x3F, SDL_SCANCODE_F5, 63, "F5"},            {0x40, SDL_SCANCODE_F6, 64, "F6"},
    {0x41, SDL_SCANCODE_F7, 65, "F7"},            {0x42, SDL_SCANCODE_F8, 66, "F8"},
    {0x43, SDL_SCANCODE_F9, 67, "F9"},            {0x44, SDL_SCANCODE_F10, 68, "F10"},
    {0x45, SDL_SCANCODE_NUMLOCKCLEAR, 69, "NUMLOCK"}, {0x46, SDL_SCANCODE_SCROLLLOCK, 70, "SCROLL"},
    {0x47, SDL_SCANCODE_KP_7, 71, "NUMPAD7"},     {0x48, SDL_SCANCODE_KP_8, 72, "NUMPAD8"},
    {0x49, SDL_SCANCODE_KP_9, 73, "NUMPAD9"},     {0x4A, SDL_SCANCODE_KP_MINUS, 74, "SUBTRACT"},
    {0x4B, SDL_SCANCODE_KP_4, 75, "NUMPAD4"},     {0x4C, SDL_SCANCODE_KP_5, 76, "NUMPAD5"},
    {0x4D, SDL_SCANCODE_KP_6, 77, "NUMPAD6"},     {0x4E, SDL_SCANCODE_KP_PLUS, 78, "ADD"},
    {0x4F, SDL_SCANCODE_KP_1, 79, "NUMPAD1"},     {0x50, SDL_SCANCODE_KP_2, 80, "NUMPAD2"},
    {0x51, SDL_SCANCODE_KP_3, 81, "NUMPAD3"},     {0x52, SDL_SCANCODE_KP_0, 82, "NUMPAD0"},
    {0x53, SDL_SCANCODE_KP_PERIOD, 83, "DECIMAL"}, {0x56, SDL_SCANCODE_NONUSBACKSLASH, 86, "OEM_102"},
    {0x57, SDL_SCANCODE_F11, 87, "F11"},          {0x58, SDL_SCANCODE_F12, 88, "F12"},
    {0x9C, SDL_SCANCODE_KP_ENTER, 96, "NUMPADENTER"}, {0x9D, SDL_SCANCODE_RCTRL, 97, "RCONTROL"},
    {0xB5, SDL_SCANCODE_KP_DIVIDE, 98, "DIVIDE"}, {0xB7, SDL_SCANCODE_PRINTSCREEN, 99, "SYSRQ"},
    {0xB8, SDL_SCANCODE_RALT, 100, "RMENU"},      {0xC5, SDL_SCANCODE_PAUSE, 119, "PAUSE"},
    {0xC7, SDL_SCANCODE_HOME, 102, "HOME"},       {0xC8, SDL_SCANCODE_UP, 103, "UP"},
    {0xC9, SDL_SCANCODE_PAGEUP, 104, "PRIOR"},    {0xCB, SDL_SCANCODE_LEFT, 105, "LEFT"},
    {0xCD, SDL_SCANCODE_RIGHT, 106, "RIGHT"},     {0xCF, SDL_SCANCODE_END, 107, "END"},
    {0xD0, SDL_SCANCODE_DOWN, 108, "DOWN"},       {0xD1, SDL_SCANCODE_PAGEDOWN, 109, "NEXT"},
    {0xD2, SDL_SCANCODE_INSERT, 110, "INSERT"},   {0xD3, SDL_SCANCODE_DELETE, 111, "DELETE"},
    {0xDB, SDL_SCANCODE_LGUI, 125, "LWIN"},       {0xDC, SDL_SCANCODE_RGUI, 126, "RWIN"},
    {0xDD, SDL_SCANCODE_APPLICATION, 127, "APPS"},
};

} // namespace

uint8_t DikFromSdlScancode(int sdlScancode)
{
    for (const KeyRow& row : kKeys)
        if (row.sdl == sdlScancode)
            return row.dik;
    return 0;
}

int SdlScancodeFromDik(uint8_t dik)
{
    for (const KeyRow& row : kKeys)
        if (row.dik == dik)
            return row.sdl;
    return SDL_SCANCODE_UNKNOWN;
}

uint8_t DikFromEvdev(int evdevCode)
{
    for (const KeyRow& row : kKeys)
        if (row.evdev == evdevCode)
            return row.dik;
    return 0;
}

const char* DikName(uint8_t dik)
{
    for (const KeyRow& row : kKeys)
        if (row.dik == dik)
            return row.name;
    return nullptr;
}

uint8_t DikFromName(const char* name)
{
    if (!name)
        return 0;
    for (const KeyRow& row : kKeys)
        if (::strcasecmp(row.name, name) == 0)
            return row.dik;
    return 0;
}
