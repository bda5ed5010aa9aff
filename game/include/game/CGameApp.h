#pragma once
// CGameApp: the program around the frame: options, the window, the event
// loop with its idle passes and timers, scripted input and frame dumps.

#include "common/Clock.h"
#include "game/GameOptions.h"

class CGameApp {
public:
    // `realTime` measures the passes (the steady clock when none is given);
    // the game's own time is counted by the frame's simulation clock from it.
    explicit CGameApp(const IClock* realTime = nullptr) : m_realTime(realTime ? *realTime : m_steady) {}

    // Runs the game; the process exit status.
    int Run(const GameOptions& options);

private:
    SteadyClock m_steady;
    const IClock& m_realTime;
};
