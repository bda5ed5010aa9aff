#include "setup/ControlBindings.h"

bool ControlBindings::Uses(int code) const
{
    for (int bound : keys)
        if (bound == code)
            return true;
    return button5 == code;
}

ControlBindings DefaultBindings()
{
    ControlBindings bindings;
    bindings.keys = DefaultControlKeys();
    return bindings;
}
