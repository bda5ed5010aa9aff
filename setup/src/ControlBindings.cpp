#include "setup/ControlBindings.h"

#include "common/DefaultControls.h"

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
    bindings[Control::Up] = default_keys::UP;
    bindings[Control::Down] = default_keys::DOWN;
    bindings[Control::Left] = default_keys::LEFT;
    bindings[Control::Right] = default_keys::RIGHT;
    bindings[Control::Fire] = default_keys::FIRE;
    bindings[Control::Weapon] = default_keys::GUN;
    bindings[Control::Binoculars] = default_keys::BINOCULARS;
    bindings[Control::Jeep] = default_keys::JEEP;
    return bindings;
}

const char* ProfileKeyOf(Control control)
{
    static const char* const kKeys[kStoredControls] = {"keyup",   "keydown", "keyleft", "keyright",
                                                       "keybut0", "keybut1", "keybut2", "keybut3"};
    const size_t index = size_t(control);
    return index < kStoredControls ? kKeys[index] : nullptr;
}
