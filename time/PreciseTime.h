#pragma once

#include <cstdint>

#include "framework/WinTypes.h"
#include "time/PreciseTimeSpan.h"
#include "time/TimeStatus.h"

// A point in local wall-clock time: 100-ns ticks since 1601-01-01 00:00:00, with a status.
class CPreciseTime
{
public:
    CPreciseTime() = default;
    // The point the structure names; Invalid (0 ticks) for a year or month out of range.
    explicit CPreciseTime(const SYSTEMTIME& st);

    // The current local time, millisecond resolution.
    static CPreciseTime CaptureLocalTime();

    // This point minus other; Null if either is Null, else Invalid if either is Invalid.
    CPreciseTimeSpan operator-(const CPreciseTime& other) const;

    TimeStatus m_status = TimeStatus::Valid;
    int64_t m_ticks = 0;
};
