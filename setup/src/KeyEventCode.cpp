#include "KeyEventCode.h"

#include "common/KeyCodes.h"

#include <QKeyEvent>

namespace {

constexpr quint32 kXkbKeycodeOffset = 8;

} // namespace

int DikFromKeyEvent(const QKeyEvent& event)
{
    const quint32 native = event.nativeScanCode();
    if (native <= kXkbKeycodeOffset || native > kXkbKeycodeOffset + 0xFFFF)
        return 0;
    return DikFromEvdev(int(native - kXkbKeycodeOffset));
}
