#pragma once

#include <cstdint>

#include "framework/String.h"
#include "time/TimeStatus.h"

// A signed duration in 100-ns ticks, with a status; formats itself through strftime.
class CPreciseTimeSpan
{
public:
    CPreciseTimeSpan() = default;

    // Valid, with the sum of the arguments; each may be negative or out of its usual range.
    void SetSpan(int days, int hours, int minutes, int seconds, int milliseconds, int microseconds,
                 int nanoseconds);

    // Parts of the span, truncated toward zero, with the span's sign; the status is not consulted.
    int GetWholeDays() const;
    int GetMillisecondPart() const;
    int GetMicrosecondPart() const;
    int GetNanosecondPart() const;

    // Null if either is Null, else Invalid if either is Invalid; the ticks wrap on overflow.
    CPreciseTimeSpan operator+(const CPreciseTimeSpan& other) const;

    // strftime text of 1601-01-01 plus the span's magnitude, after the span's own codes
    // %D %#D %s %#s %u %#u %n %#n (days, milliseconds, microseconds, nanoseconds) are
    // replaced. At most 127 characters; empty when the result does not fit.
    CString Format(const char* pszFormat) const;

    TimeStatus m_status = TimeStatus::Valid;
    int64_t m_ticks = 0;
};
