#pragma once

#include <cstdint>

#include "time/PreciseTime.h"

// Local time read once and advanced by a monotonic counter, deaf to wall-clock changes.
class CMonotonicClock
{
public:
    CMonotonicClock() = default;
    virtual ~CMonotonicClock() = default;
    CMonotonicClock(const CMonotonicClock&) = delete;
    CMonotonicClock& operator=(const CMonotonicClock&) = delete;

    // The anchor's local time plus the counter's advance since the first reading.
    // An Invalid anchor gives Invalid readings.
    CPreciseTime Now();

    // Counter units to 100-ns ticks, truncated, without overflowing the intermediate product.
    static int64_t CountsToTicks(uint64_t counts, uint64_t frequency);

protected:
    // The counter and its units per second; tests substitute their own.
    virtual uint64_t ReadCounter();
    virtual uint64_t CounterFrequency();
    // The wall clock the first reading is anchored to.
    virtual CPreciseTime ReadLocalTime();

private:
    bool m_bAnchored = false;
    CPreciseTime m_timeAnchor;
    uint64_t m_nAnchorCount = 0;
    uint64_t m_nFrequency = 0;
};
