#pragma once
// The generator behind sampled quantization: a seeded xorshift, so that a
// sampled palette is the same on every run, machine and library version.

#include <cstdint>

class SampleRandom {
public:
    explicit SampleRandom(uint32_t seed) { Seed(seed); }

    // xorshift has one fixed point, 0; a zero seed is moved off it.
    void Seed(uint32_t seed) { m_state = seed ? seed : 0x9E3779B9u; }

    uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

    // 0..15 from the best-mixed (top) bits.
    int Next16() { return int(Next() >> 28); }

private:
    uint32_t m_state = 0;
};
