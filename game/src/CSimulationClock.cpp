#include "game/CSimulationClock.h"

#include <cassert>
#include <cmath>

namespace {
// A sum that lands within this of a tick's end counts as having reached it:
// three passes of 1/60 s are one tick, whatever the last bit of rounding.
constexpr double kSlack = 1e-9;
} // namespace

void CSimulationClock::Give(double seconds)
{
    if (!(seconds > 0))
        return;
    // Neumaier's compensated sum: the error stays that of one addition
    // however many passes there are.
    const double sum = m_given + seconds;
    if (std::fabs(m_given) >= seconds)
        m_givenError += (m_given - sum) + seconds;
    else
        m_givenError += (seconds - sum) + m_given;
    m_given = sum;
}

bool CSimulationClock::TickDue() const
{
    return m_given + m_givenError + kSlack >= double(m_ticks + 1) * kTickSeconds;
}

void CSimulationClock::EndTick()
{
    assert(TickDue());
    ++m_ticks;
}

double CSimulationClock::Pending() const
{
    return m_given + m_givenError - Seconds();
}

void CSimulationClock::DropPending()
{
    m_given = Seconds();
    m_givenError = 0;
    assert(!TickDue());
}

double CSimulationClock::SecondsToNextTick() const
{
    const double left = double(m_ticks + 1) * kTickSeconds - (m_given + m_givenError);
    return left > 0 ? left : 0;
}
