#pragma once
// The generator behind sampled quantization: a seeded xorshift, so that a
// sampled palette is the same on every run, machine and library version.

#include <cstdint>

class SampleRandom {
public:
    explicit SampleRandom(uint32_t seed) { Seed(seed); }

    // The seed is scrambled first (a murmur-style finalizer), so that small
    // or similar seeds do not start with near-empty top bits; xorshift's one
    // fixed point, 0, is avoided.
    void Seed(uint32_t seed)
    {
        seed ^= seed >> 16;
        seed *= 0x85EBCA6Bu;
        seed ^= seed >> 13;
        seed *= 0xC2B2AE35u;
        seed ^= seed >> 16;
        m_state = seed ? seed : 0x9E3779B9u;
    }

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
