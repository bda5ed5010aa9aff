#include "game/CStateLog.h"

#include "game/hunt/CHuntWorld.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace {
// Lines are handed to the file in blocks of about this size.
constexpr size_t kBlock = 64 * 1024;
constexpr const char* kHeader =
    "# tick seconds x y angle horizon drive speed animal(x,y,state)x24 kills end\n";

void Append(std::string& line, const char* format, auto... values)
{
    char text[96];
    const int n = std::snprintf(text, sizeof text, format, values...);
    if (n > 0)
        line.append(text, size_t(std::min(n, int(sizeof text) - 1)));
}
} // namespace

bool CStateLog::Open(const std::string& path)
{
    m_pending = kHeader;
    m_open = m_file.Create(path);
    return m_open;
}

std::string CStateLog::Line(int64_t tick, double seconds, const CHuntWorld& hunt)
{
    const HunterPose& hunter = hunt.Hunter();
    const CJeep& jeep = hunt.Jeep();
    std::string line;
    line.reserve(640);
    Append(line, "%" PRId64 " %.2f %.4f %.4f %.6f %d %d %d", tick, seconds, hunter.x, hunter.y, hunter.angle,
           hunter.horizon, jeep.Driving() ? 1 : 0, jeep.Speed());
    for (int i = 0; i < ANIMAL_COUNT; ++i) {
        const CAnimal& animal = hunt.Animal(i);
        Append(line, " %.4f,%.4f,%d", animal.x, animal.y, animal.State());
    }
    Append(line, " %08x %d", unsigned(hunt.KillReport()), int(hunt.EndStatus()));
    return line;
}

void CStateLog::Record(int64_t tick, double seconds, const CHuntWorld& hunt)
{
    if (!m_open || !hunt.Hunting())
        return;
    m_pending += Line(tick, seconds, hunt);
    m_pending += '\n';
    if (m_pending.size() >= kBlock) {
        m_file.Write(m_pending.data(), m_pending.size());
        m_pending.clear();
    }
}

bool CStateLog::Finish()
{
    if (!m_open)
        return false;
    m_open = false;
    const bool written = m_file.Write(m_pending.data(), m_pending.size());
    m_pending.clear();
    return m_file.Commit() && written;
}
