#pragma once
// The rule by which the capture dialog accepts a key for one control, kept
// apart from the widgets so it can be tested as plain logic. A key that no
// control has is taken. A key that some control already has turns the prompt
// into the "already in use" one; it is still taken when it is this very
// control's own key (so the user can keep it), and otherwise the dialog waits
// for another key.
//
// Modifier keys (Shift, Control, Alt, the Window keys) are held back: a user
// typing a shifted character means the character's key, so a modifier is
// offered only when it is released with no other key pressed meanwhile. A
// modifier on its own (right Shift for the binoculars) can still be bound.

#include "setup/ControlBindings.h"

enum class CaptureStep {
    Ignored,  // no key code (a key the table does not know), or a modifier held back
    Captured, // the dialog ends with this code
    InUse,    // bound to another control: keep waiting
};

class CKeyCapture {
public:
    CKeyCapture(const ControlBindings& current, GameControl control) : m_current(current), m_control(control) {}

    // A key went down: offered at once, unless it is a modifier.
    CaptureStep Press(int code);
    // A key came up: a modifier pressed alone is offered now.
    CaptureStep Release(int code);
    // Applies the "already in use" rule to a key.
    CaptureStep Offer(int code);
    // Whether a key already in use has been offered (the prompt has changed).
    bool SawKeyInUse() const { return m_sawKeyInUse; }
    // The captured code; 0 until a step returned Captured.
    int Code() const { return m_code; }

    // Shift, Control, Alt and the Window keys, left and right.
    static bool IsModifier(int code);

private:
    ControlBindings m_current;
    GameControl m_control;
    bool m_sawKeyInUse = false;
    int m_code = 0;
    int m_heldModifier = 0; // a modifier pressed with no other key since
};
