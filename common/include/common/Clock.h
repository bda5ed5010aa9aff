#pragma once
// The one source of time for the suite. Game code asks an IClock for
// milliseconds; tests and replays hand in a FixedClock that they advance by
// hand, so timers and motion are deterministic.

#include <cstdint>

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds since an arbitrary start, wrapping at 2^32 like the
    // multimedia timer the game logic was written against.
    virtual uint32_t Milliseconds() const = 0;
    // Seconds since the same start, for measuring the length of a pass: finer
    // than the milliseconds where the clock can give it, and never wrapping.
    virtual double Seconds() const { return Milliseconds() / 1000.0; }
};

class SteadyClock final : public IClock {
public:
    SteadyClock();
    uint32_t Milliseconds() const override;
    double Seconds() const override;

private:
    int64_t m_startNanoseconds;
};

class FixedClock final : public IClock {
public:
    explicit FixedClock(uint32_t start = 0) : m_now(start) {}
    uint32_t Milliseconds() const override { return m_now; }
    void Advance(uint32_t milliseconds) { m_now += milliseconds; }
    void Set(uint32_t milliseconds) { m_now = milliseconds; }

private:
    uint32_t m_now;
};
