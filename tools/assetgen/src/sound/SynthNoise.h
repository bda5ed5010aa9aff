#pragma once
// SynthNoise: white noise from a fixed seed. Every sound that uses noise gets
// its own seeded generator, so the data files come out byte-identical on
// every run and one sound's noise never depends on how much another used.

#include <cstdint>

class SynthNoise {
public:
    explicit SynthNoise(uint32_t seed) : m_state(seed ? seed : 0x9E3779B9u) {}

    // Uniform in [-1, 1).
    float Next()
    {
        // xorshift32: period 2^32 - 1, and the same sequence on every platform.
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return float(int32_t(m_state)) * (1.0f / 2147483648.0f);
    }
    // Uniform in [0, 1).
    float Unit() { return Next() * 0.5f + 0.5f; }

private:
    uint32_t m_state;
};
