#pragma once
// The game's one random generator: state = state × 214013 + 2531011 (32-bit
// wrap-around), result = bits 16..30 of the new state (0..32767). Seeded once
// when the frame is created (from the time, or from --seed for replays).

#include <cstdint>

class CGameRandom {
public:
    void Seed(uint32_t seed) { m_state = seed; }
    int Next()
    {
        m_state = m_state * 214013u + 2531011u;
        return int((m_state >> 16) & 0x7FFF);
    }
    uint32_t State() const { return m_state; }

private:
    uint32_t m_state = 1;
};

// The game-wide instance.
CGameRandom& GameRandom();
