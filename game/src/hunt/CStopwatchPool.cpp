#include "game/hunt/CStopwatchPool.h"

CStopwatchPool::CStopwatchPool(const IClock& clock) : m_clock(clock)
{
    m_start.fill(clock.Milliseconds());
}

int CStopwatchPool::Acquire()
{
    for (int i = 0; i < kSlots; ++i)
        if (!m_inUse[size_t(i)]) {
            m_inUse[size_t(i)] = true;
            return i;
        }
    return -1;
}

void CStopwatchPool::Release(int index)
{
    if (Valid(index))
        m_inUse[size_t(index)] = false;
}

void CStopwatchPool::Restart(int index)
{
    if (Valid(index))
        m_start[size_t(index)] = m_clock.Milliseconds();
}

uint32_t CStopwatchPool::Elapsed(int index) const
{
    if (!InUse(index))
        return 0;
    const uint32_t now = m_clock.Milliseconds(), start = m_start[size_t(index)];
    return now >= start ? now - start : now - start - 1;
}
