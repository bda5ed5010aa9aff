#include "input/CKeyboardDevice.h"

#include <cstring>

void CKeyboardDevice::Release()
{
    Unacquire();
    m_created = false;
}

CKeyboardDevice::~CKeyboardDevice()
{
    CKeyboardDevice::Release();
}

bool CKeyboardDevice::Create()
{
    m_created = true;
    return true;
}

bool CKeyboardDevice::Acquire()
{
    if (!m_created || !m_focused)
        return false;
    m_acquired = true;
    return true;
}

bool CKeyboardDevice::Unacquire()
{
    m_acquired = false;
    std::memset(m_state, 0, sizeof m_state);
    m_buffered = 0;
    m_overflow = false;
    return true;
}

bool CKeyboardDevice::GetState(uint8_t state[256])
{
    if (!m_acquired && !Acquire())
        return false;
    std::memcpy(state, m_state, sizeof m_state);
    return true;
}

bool CKeyboardDevice::ReadEvents(uint16_t counts[256])
{
    bool ok = m_acquired || Acquire();
    if (ok && !m_overflow) {
        for (int i = 0; i < m_buffered; ++i) {
            const Event& e = m_buffer[i];
            if (e.down)
                ++m_presses[e.key];
            else
                ++m_releases[e.key];
        }
    } else {
        ok = false;
    }
    m_buffered = 0;
    m_overflow = false;
    for (int key = 0; key < 256; ++key)
        counts[key] = uint16_t(m_presses[key] | m_releases[key] << 8);
    return ok;
}

bool CKeyboardDevice::Flush()
{
    ClearCounters();
    m_buffered = 0;
    m_overflow = false;
    return m_acquired || Acquire();
}

void CKeyboardDevice::ClearCounters()
{
    std::memset(m_presses, 0, sizeof m_presses);
    std::memset(m_releases, 0, sizeof m_releases);
}

void CKeyboardDevice::OnKeyEvent(uint8_t key, bool down)
{
    if (!m_acquired)
        return; // foreground mode: nothing arrives while unacquired
    // Auto-repeat is not a new press: only changes of state are events.
    const bool wasDown = m_state[key] & 0x80;
    if (wasDown == down)
        return;
    m_state[key] = down ? 0x80 : 0;
    if (m_buffered == kBufferSize) {
        m_overflow = true;
        return;
    }
    m_buffer[m_buffered++] = {key, down};
}

void CKeyboardDevice::OnFocusChanged(bool focused, const uint8_t* keysDown)
{
    m_focused = focused;
    if (!focused) {
        Unacquire();
        return;
    }
    if (keysDown && Acquire())
        for (int key = 0; key < 256; ++key)
            m_state[key] = keysDown[key] & 0x80;
}
