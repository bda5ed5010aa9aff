#pragma once
// The keyboard scan code of a Qt key event, through the one key table the
// game uses. On X11 and Wayland a key event's native scan code is the XKB key
// code, the evdev code plus 8. Platforms that give no native scan code (the
// headless one) yield 0, which binds nothing.

class QKeyEvent;

int DikFromKeyEvent(const QKeyEvent& event);
