#include "setup/ControlBindings.h"

#include "common/KeyCodes.h"

bool ControlBindings::Uses(int code) const
{
    for (int bound : codes)
        if (bound == code)
            return true;
    return false;
}

ControlBindings DefaultBindings()
{
    ControlBindings bindings;
    bindings[Control::Up] = dik::UP;
    bindings[Control::Down] = dik::DOWN;
    bindings[Control::Left] = dik::LEFT;
    bindings[Control::Right] = dik::RIGHT;
    bindings[Control::Fire] = dik::SPACE;
    bindings[Control::Weapon] = dik::RETURN;
    bindings[Control::Binoculars] = dik::RSHIFT;
    bindings[Control::Jeep] = dik::RCONTROL;
    return bindings;
}

const char* ProfileKeyOf(Control control)
{
    static const char* const kKeys[kStoredControls] = {"keyup",   "keydown", "keyleft", "keyright",
                                                       "keybut0", "keybut1", "keybut2", "keybut3"};
    const size_t index = size_t(control);
    return index < kStoredControls ? kKeys[index] : nullptr;
}
