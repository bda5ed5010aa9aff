#include "common/Clock.h"

#include <chrono>

namespace {
int64_t NowNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

SteadyClock::SteadyClock() : m_startNanoseconds(NowNanoseconds()) {}

uint32_t SteadyClock::Milliseconds() const
{
    return static_cast<uint32_t>((NowNanoseconds() - m_startNanoseconds) / 1000000);
}

double SteadyClock::Seconds() const
{
    return double(NowNanoseconds() - m_startNanoseconds) * 1e-9;
}
