#include "game/CTimerQueue.h"

#include <algorithm>

void CTimerQueue::Set(int id, uint32_t periodMs)
{
    Kill(id);
    m_timers.push_back({id, periodMs ? periodMs : 1, m_clock.Milliseconds()});
}

void CTimerQueue::Kill(int id)
{
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(), [id](const Timer& t) { return t.id == id; }),
                   m_timers.end());
}

bool CTimerQueue::IsRunning(int id) const
{
    return std::any_of(m_timers.begin(), m_timers.end(), [id](const Timer& t) { return t.id == id; });
}

std::vector<int> CTimerQueue::TakeDue()
{
    const uint32_t now = m_clock.Milliseconds();
    std::vector<Timer*> due;
    for (Timer& t : m_timers)
        if (uint32_t(now - t.last) >= t.period)
            due.push_back(&t);
    // Oldest due first: the one that has waited longest past its period.
    std::stable_sort(due.begin(), due.end(), [now](const Timer* a, const Timer* b) {
        return uint32_t(now - a->last) - a->period > uint32_t(now - b->last) - b->period;
    });
    std::vector<int> ids;
    for (Timer* t : due) {
        ids.push_back(t->id);
        t->last = now;
    }
    return ids;
}

int64_t CTimerQueue::MillisecondsToNext() const
{
    if (m_timers.empty())
        return -1;
    const uint32_t now = m_clock.Milliseconds();
    int64_t best = INT64_MAX;
    for (const Timer& t : m_timers) {
        const uint32_t waited = now - t.last;
        best = std::min<int64_t>(best, waited >= t.period ? 0 : int64_t(t.period - waited));
    }
    return best;
}
