#pragma once
// CStopwatchPool: twenty stopwatches on the game's clock. The jeep keeps one
// pool for its warnings; the animals share another for their calls.

#include "common/Clock.h"

#include <array>
#include <cstddef>
#include <cstdint>

class CStopwatchPool {
public:
    static constexpr int kSlots = 20;

    // Every watch starts now and free.
    explicit CStopwatchPool(const IClock& clock);

    // The first free watch, now in use; -1 when all are taken.
    int Acquire();
    void Release(int index);
    void Restart(int index);
    // Milliseconds since the watch was restarted; 0 for a free or invalid
    // index. Across the clock's wrap the count is one short, as the timer the
    // game was written against counted it.
    uint32_t Elapsed(int index) const;
    bool InUse(int index) const { return Valid(index) && m_inUse[size_t(index)]; }

private:
    static bool Valid(int index) { return index >= 0 && index < kSlots; }

    const IClock& m_clock;
    std::array<uint32_t, kSlots> m_start{};
    std::array<bool, kSlots> m_inUse{};
};
