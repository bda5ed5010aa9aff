#include "input/CInputManager.h"

CInputManager::~CInputManager()
{
    RemoveAllControls();
}

int CInputManager::Create(void*, void*, uint32_t flags)
{
    RemoveAllControls();
    m_keyboard.reset();
    if (flags & INPUT_KEYBOARD) {
        m_keyboard = std::make_unique<CKeyboardDevice>();
        m_keyboard->Create();
        m_keyboard->Acquire();
    }
    return 0;
}

void CInputManager::RemoveAllControls()
{
    while (!m_controls.IsEmpty())
        delete m_controls.TakeTail();
}

InputControlHandle CInputManager::AddControl(int kind, int code)
{
    auto* control = new InputControl{kind, code, 0, nullptr};
    control->place = m_controls.AddTail(control);
    return control;
}

int CInputManager::RemoveControl(InputControlHandle control)
{
    if (control && control->place) {
        m_controls.Remove(control->place);
        delete control;
    }
    return 0;
}

int CInputManager::Poll(uint32_t flags)
{
    if (!m_keyboard)
        return 0;
    if (!(flags & POLL_KEEP_COUNTERS))
        m_keyboard->ClearCounters();
    if (!(flags & POLL_SKIP_READ)) {
        m_keyboard->GetState(m_keyState);
        m_keyboard->ReadEvents(m_eventCounts);
    }
    return 0;
}

uint32_t CInputManager::GetControlState(InputControlHandle control) const
{
    if (!control || control->kind != 0 || control->code < 0 || control->code > 255)
        return 0;
    const int key = control->code;
    // Code 0 is no key: it never reports a press.
    if (key == 0)
        return 0;
    return ((m_keyState[key] & 0x80) ? CONTROL_DOWN : 0) | m_eventCounts[key];
}

void CInputManager::OnKeyEvent(uint8_t key, bool down)
{
    if (m_keyboard)
        m_keyboard->OnKeyEvent(key, down);
}

void CInputManager::OnFocusChanged(bool focused, const uint8_t* keysDown)
{
    if (m_keyboard)
        m_keyboard->OnFocusChanged(focused, keysDown);
}
