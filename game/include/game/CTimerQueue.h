#pragma once
// Window timers on the game's own thread: the loop asks for the timers that
// are due and handles them in order, like timer messages between passes.

#include "common/Clock.h"

#include <cstdint>
#include <vector>

class CTimerQueue {
public:
    explicit CTimerQueue(const IClock& clock) : m_clock(clock) {}

    // Starts (or restarts) timer `id` with a period in milliseconds.
    void Set(int id, uint32_t periodMs);
    void Kill(int id);
    bool IsRunning(int id) const;
    // The ids of the timers whose period has elapsed, oldest due first; each
    // fires at most once per call (a late timer does not fire twice).
    std::vector<int> TakeDue();
    // Milliseconds until the next timer is due (0 when one is due), or -1
    // when none runs.
    int64_t MillisecondsToNext() const;

private:
    struct Timer {
        int id;
        uint32_t period;
        uint32_t last;
    };
    const IClock& m_clock;
    std::vector<Timer> m_timers;
};
