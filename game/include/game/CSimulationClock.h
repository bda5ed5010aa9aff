#pragma once
// CSimulationClock: the game's own time, counted in simulation ticks. The
// passes give it time (measured, or the fixed time of a replay); whenever the
// time given holds another whole tick, one tick of the game runs. Everything
// that counts steps (animation frames, the mauling counter, the jeep's
// pedals, the tilt, the gun's and binoculars' slides, the smoke, the
// dissolve) counts ticks, so the game plays the same whatever the display's
// refresh. The window timers and the stopwatches read this clock too.
//
// A tick's work sees the clock at the tick's start: tick n (counting from 1)
// runs at (n - 1) x 50 ms, and the clock moves on when it ends.

#include "common/Clock.h"

#include <cstdint>

class CSimulationClock final : public IClock {
public:
    // Twenty ticks a second. The rules count ticks, and at twenty a mauling
    // kills after 21 of them (1.05 s, time to see it coming and run), the
    // binoculars take 22 to rise (1.1 s), the jeep reaches 300 units a second
    // in 13 (0.65 s), a held tilt key moves the horizon 200 rows a second (the
    // 480-row view in 2.4 s), the smoke fades in 0.35 s and the dissolve from
    // black in 0.45 s, and the six-frame walk of an elephant moving 50 units a
    // second lasts 0.3 s a cycle. At thirty each of these is half as quick
    // again (a mauling in 0.7 s, full speed in 0.43 s, an elephant's stride
    // 10 units long); twenty is the slowest rate at which the binoculars and
    // the gun still slide smoothly. And 50 ms is a whole number of the
    // milliseconds the timers count in.
    static constexpr int kTicksPerSecond = 20;
    static constexpr uint32_t kTickMilliseconds = 1000 / kTicksPerSecond;
    static constexpr double kTickSeconds = 1.0 / kTicksPerSecond;

    // Ticks run so far x 50 ms, wrapping like the multimedia timer.
    uint32_t Milliseconds() const override { return uint32_t(uint64_t(m_ticks) * kTickMilliseconds); }
    // Ticks run so far.
    int64_t Ticks() const { return m_ticks; }
    // The game time now: ticks run x 50 ms, in seconds.
    double Seconds() const override { return double(m_ticks) * kTickSeconds; }

    // A pass gives this much time (negative and not-a-number count as 0).
    void Give(double seconds);
    // Whether the time given holds a tick not run yet.
    bool TickDue() const;
    // The tick's work is done: the clock moves on by one tick.
    void EndTick();
    // Game time still to be given before the next tick is due (0 when due).
    double SecondsToNextTick() const;
    // Time given that no tick has used yet (for tests).
    double Pending() const;
    // Forgets the time given that no tick has used: when a tick pauses the
    // game, neither it (it does not end; it runs again on resuming) nor the
    // rest of the pass runs later.
    void DropPending();

private:
    int64_t m_ticks = 0;
    // The time given, summed with a compensation term, so that many small
    // steps (1/144 s) add up to whole ticks exactly where they should.
    double m_given = 0;
    double m_givenError = 0;
};
