#pragma once
// Render3dRandom: the art's own fixed-seed generator (a 64-bit linear
// congruential step with an output scramble), so that every run of the
// generator places the same branches, spots and leaves and writes the same
// bytes.

#include <cstdint>

class Render3dRandom {
public:
    explicit Render3dRandom(uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}

    uint32_t Next()
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        uint64_t x = m_state;
        x ^= x >> 33;
        x *= 0xFF51AFD7ED558CCDull;
        x ^= x >> 29;
        return uint32_t(x >> 32);
    }
    // Uniform in [0, 1).
    double Unit() { return Next() * (1.0 / 4294967296.0); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    // Uniform in [0, n) for n > 0.
    int Below(int n) { return int(Next() % uint32_t(n)); }

private:
    uint64_t m_state;
};
