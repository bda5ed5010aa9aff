#pragma once
// CKeyboardDevice: the keyboard in buffered, non-exclusive foreground mode.
// The game's event loop hands it every key event (scan codes as the
// configuration stores them); while the game window has the focus the device
// is acquired, keeps the immediate state of all 256 keys and buffers up to
// 256 press/release events between two reads. Losing the focus unacquires it:
// the state is cleared and no events are kept until it is acquired again.

#include <cstdint>

class CKeyboardDevice {
public:
    static constexpr int kBufferSize = 256;

    CKeyboardDevice() = default;
    CKeyboardDevice(const CKeyboardDevice&) = delete;
    CKeyboardDevice& operator=(const CKeyboardDevice&) = delete;

    virtual void Release();
    virtual ~CKeyboardDevice();
    virtual bool Create();
    virtual bool Acquire();
    virtual bool Unacquire();
    // The immediate state: bit 7 set for keys that are down. Reacquires first
    // when the focus came back since the last read.
    virtual bool GetState(uint8_t state[256]);
    // Counts the buffered events into the counters and writes, per key,
    // presses | releases << 8. False (and no events counted) after a buffer
    // overflow.
    virtual bool ReadEvents(uint16_t counts[256]);
    // Clears the counters and drops the buffered events.
    virtual bool Flush();
    virtual void ClearCounters();

    // From the event loop. On regaining the focus the loop passes the keys
    // held at that moment (bit 7 set, as in GetState), read from the system:
    // they read as held from the next poll on, without counting as presses,
    // as the state of a device acquired again reads.
    void OnKeyEvent(uint8_t key, bool down);
    void OnFocusChanged(bool focused, const uint8_t* keysDown = nullptr);

private:
    struct Event {
        uint8_t key;
        bool down;
    };

    bool m_created = false;
    bool m_acquired = false;
    bool m_focused = true;
    uint8_t m_state[256] = {};
    Event m_buffer[kBufferSize] = {};
    int m_buffered = 0;
    bool m_overflow = false;
    uint8_t m_releases[256] = {};
    uint8_t m_presses[256] = {};
};
