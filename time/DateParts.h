// Calendar conversions between tick counts since 1601-01-01 and broken-down dates.
#pragma once

#include <cstdint>

#include "framework/WinTypes.h"

// A date and time split into fields; dayOfYear and dayOfWeek are only produced.
struct PreciseDateParts {
    int32_t year;
    uint32_t month;        // 1..12
    uint32_t day;          // 1..31
    uint32_t hour;         // 0..23
    uint32_t minute;       // 0..59
    uint32_t second;       // 0..59
    uint32_t millisecond;  // 0..999
    uint32_t microsecond;  // 0..999, within the millisecond
    uint32_t nanosecond;   // 0..900 in steps of 100, within the microsecond
    int32_t dayOfYear;     // 1..366
    int32_t dayOfWeek;     // 1..7, 1 = Sunday
};

// Days of a common year before month m + 1; entry 12 is the length of the year.
inline constexpr int32_t DaysBeforeMonth[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

// Years outside -29000..29000 are rejected.
constexpr int32_t MAX_DATE_YEAR = 29000;

// Writes the tick count of parts; FALSE (ticks untouched) for a year or month out of range.
// Any day value is accepted and carried linearly; nanoseconds round half up to ticks.
BOOL DatePartsToTicks(const PreciseDateParts& parts, int64_t& ticks);

// Fills all fields from the magnitude of ticks; always TRUE.
BOOL TicksToDateParts(int64_t ticks, PreciseDateParts& parts);
