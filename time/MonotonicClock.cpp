#include "time/MonotonicClock.h"

#include "time/Ticks.h"

#ifndef _WIN32
#include <chrono>
#endif

CPreciseTime CMonotonicClock::Now()
{
    const uint64_t count = ReadCounter();
    if (!m_bAnchored) {
        m_timeAnchor = ReadLocalTime();
        m_nAnchorCount = count;
        m_nFrequency = CounterFrequency();
        m_bAnchored = true;
    }
    CPreciseTime now = m_timeAnchor;
    if (now.m_status == TimeStatus::Valid)
        now.m_ticks = WrapAdd(now.m_ticks, CountsToTicks(count - m_nAnchorCount, m_nFrequency));
    return now;
}

int64_t CMonotonicClock::CountsToTicks(uint64_t counts, uint64_t frequency)
{
    if (frequency == 0)
        return 0;
    const uint64_t perSecond = (uint64_t)TICKS_PER_SECOND;
    const uint64_t wholeSeconds = counts / frequency;
    uint64_t remainder = counts % frequency;
    // remainder * perSecond must fit; no real counter runs beyond 1.8 THz, but stay defined.
    while (frequency > UINT64_MAX / perSecond) {
        frequency >>= 1;
        remainder >>= 1;
    }
    return WrapAdd((int64_t)(wholeSeconds * perSecond), (int64_t)(remainder * perSecond / frequency));
}

uint64_t CMonotonicClock::ReadCounter()
{
#ifdef _WIN32
    LARGE_INTEGER count;
    ::QueryPerformanceCounter(&count);
    return (uint64_t)count.QuadPart;
#else
    return (uint64_t)std::chrono::steady_clock::now().time_since_epoch().count();
#endif
}

uint64_t CMonotonicClock::CounterFrequency()
{
#ifdef _WIN32
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return (uint64_t)frequency.QuadPart;
#else
    using Period = std::chrono::steady_clock::period;
    static_assert(Period::num == 1, "steady_clock counts whole fractions of a second");
    return (uint64_t)Period::den;
#endif
}

CPreciseTime CMonotonicClock::ReadLocalTime()
{
    return CPreciseTime::CaptureLocalTime();
}
