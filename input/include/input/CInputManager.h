#pragma once
// CInputManager: the game's controls. Each control is a key (by scan code)
// registered once; after every Poll the game asks whether it is down and how
// often it was pressed since the previous poll, so a tap shorter than a frame
// is never lost.

#include "common/CLinkedList.h"
#include "input/CKeyboardDevice.h"

#include <cstdint>
#include <memory>

struct InputControl {
    int kind = 0; // 0 = keyboard key; no other kind exists
    int code = 0; // scan code; outside 0..255 it is bound to no key
    int value = 0;
    CLinkedList<InputControl*>::Node* place = nullptr;
};

using InputControlHandle = InputControl*;

// Control state bits.
constexpr uint32_t CONTROL_DOWN = 0x80000000u; // held at the time of the poll
constexpr uint32_t CONTROL_PRESSES = 0xFF;     // presses in the last poll
constexpr uint32_t CONTROL_RELEASES = 0xFF00;  // releases in the last poll

// Create flags.
constexpr uint32_t INPUT_KEYBOARD = 0x1;
// Poll flags.
constexpr uint32_t POLL_SKIP_READ = 0x1;
constexpr uint32_t POLL_KEEP_COUNTERS = 0x2;

class CInputManager {
public:
    CInputManager() = default;
    CInputManager(const CInputManager&) = delete;
    CInputManager& operator=(const CInputManager&) = delete;

    virtual ~CInputManager();
    virtual int Create(void* instance, void* window, uint32_t flags);
    virtual void RemoveAllControls();
    virtual InputControlHandle AddControl(int kind, int code);
    virtual int RemoveControl(InputControlHandle control);
    virtual int Poll(uint32_t flags);
    virtual uint32_t GetControlState(InputControlHandle control) const;

    // From the event loop, passed to the keyboard device.
    void OnKeyEvent(uint8_t key, bool down);
    // `keysDown`: see CKeyboardDevice::OnFocusChanged.
    void OnFocusChanged(bool focused, const uint8_t* keysDown = nullptr);
    // Whether a key was down at the last poll (the game's Escape check).
    bool IsKeyDown(uint8_t key) const { return m_keyState[key] & 0x80; }

private:
    CLinkedList<InputControl*> m_controls;
    std::unique_ptr<CKeyboardDevice> m_keyboard;
    uint8_t m_keyState[256] = {};
    uint16_t m_eventCounts[256] = {};
};
