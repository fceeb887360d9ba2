#include "time/DateParts.h"

#include "time/Ticks.h"

namespace {

// Day number of 1601-01-01, counted from 1 January of year 0.
constexpr int64_t DAY_NUMBER_1601 = 584'754;
constexpr int32_t DAYS_PER_400_YEARS = 146'097;
constexpr int32_t DAYS_PER_CENTURY = 36'524;
constexpr int32_t DAYS_PER_4_YEARS = 1'461;
constexpr int32_t DAYS_PER_YEAR = 365;

bool IsLeapYear(int32_t year)
{
    return (year & 3) == 0 && (year % 100 != 0 || year % 400 == 0);
}

}  // namespace

BOOL DatePartsToTicks(const PreciseDateParts& parts, int64_t& ticks)
{
    const int32_t year = parts.year;
    if (year > MAX_DATE_YEAR || year < -MAX_DATE_YEAR)
        return FALSE;
    if (parts.month == 0 || parts.month > 12)
        return FALSE;
    const bool leap = IsLeapYear(year);

    // Carries in unsigned 32 bits, so out-of-range fields wrap instead of overflowing.
    uint32_t q = (parts.nanosecond + 50u) / 100u;
    uint32_t us = parts.microsecond + q / 10u;
    q %= 10u;
    uint32_t ms = parts.millisecond + us / 1000u;
    us %= 1000u;
    uint32_t s = parts.second + ms / 1000u;
    ms %= 1000u;
    uint32_t min = parts.minute + s / 60u;
    s %= 60u;
    uint32_t h = parts.hour + min / 60u;
    min %= 60u;
    const uint32_t d = parts.day + h / 24u;
    h %= 24u;

    // 64-bit day number: a day of the month near 2^32 must not overflow it. The
    // divisions truncate toward zero, which is what years before 0 have always got.
    int64_t dayNumber =
        365LL * year + year / 4 - year / 100 + year / 400 + DaysBeforeMonth[parts.month - 1] + (int64_t)d;
    if (leap && parts.month <= 2)
        --dayNumber;

    // The count wraps past 64 bits (huge days, years below -27627); unsigned keeps it defined.
    const uint64_t seconds =
        (uint64_t)(dayNumber - DAY_NUMBER_1601) * (uint64_t)SECONDS_PER_DAY + 3600u * h + 60u * min + s;
    ticks = (int64_t)(seconds * (uint64_t)TICKS_PER_SECOND + (1000u * ms + us) * 10u + q);
    return TRUE;
}

BOOL TicksToDateParts(int64_t ticks, PreciseDateParts& parts)
{
    // The magnitude of INT64_MIN only fits unsigned.
    const uint64_t t = ticks < 0 ? 0 - (uint64_t)ticks : (uint64_t)ticks;
    const uint64_t secs = t / (uint64_t)TICKS_PER_SECOND;
    const uint32_t sub = (uint32_t)(t % (uint64_t)TICKS_PER_SECOND);
    const int32_t days = (int32_t)(secs / (uint64_t)SECONDS_PER_DAY);  // at most 10,675,199
    const uint32_t sod = (uint32_t)(secs % (uint64_t)SECONDS_PER_DAY);

    parts.dayOfWeek = (days + (int32_t)DAY_NUMBER_1601 - 1) % 7 + 1;

    const int32_t dayNumber = days + (int32_t)DAY_NUMBER_1601;
    const int32_t cycles = dayNumber / DAYS_PER_400_YEARS;
    const int32_t dayInCycle = dayNumber % DAYS_PER_400_YEARS;
    // The first century of a cycle starts with a leap year and has one day more.
    const int32_t centuries = (dayInCycle - 1) / DAYS_PER_CENTURY;

    int32_t quads;
    int32_t years = 0;
    int32_t dayIndex = 0;
    int32_t dayInQuad = -1;  // stays -1 for the four years after a non-leap century year
    if (centuries == 0) {
        quads = dayInCycle / DAYS_PER_4_YEARS;
        dayInQuad = dayInCycle % DAYS_PER_4_YEARS;
    } else {
        const int32_t dayInCentury = (dayInCycle - 1) % DAYS_PER_CENTURY;
        quads = (dayInCentury + 1) / DAYS_PER_4_YEARS;
        if (quads == 0) {
            years = dayInCentury / DAYS_PER_YEAR;
            dayIndex = dayInCentury % DAYS_PER_YEAR;
        } else {
            dayInQuad = (dayInCentury + 1) % DAYS_PER_4_YEARS;
        }
    }
    const bool leapPossible = dayInQuad >= 0;
    if (leapPossible) {
        // The first year of a four-year group is the leap year, one day longer.
        years = (dayInQuad - 1) / DAYS_PER_YEAR;
        dayIndex = years == 0 ? dayInQuad : (dayInQuad - 1) % DAYS_PER_YEAR;
    }

    parts.dayOfYear = dayIndex + 1;
    parts.year = 400 * cycles + 100 * centuries + 4 * quads + years;

    const bool leap = years == 0 && leapPossible;
    if (leap && dayIndex == 59) {
        parts.month = 2;
        parts.day = 29;
    } else {
        if (leap && dayIndex >= 60)
            --dayIndex;
        const int32_t k = dayIndex + 1;  // day of a common year, 1..365
        int32_t month = k / 32 + 1;
        while (k > DaysBeforeMonth[month])
            ++month;
        parts.month = (uint32_t)month;
        parts.day = (uint32_t)(k - DaysBeforeMonth[month - 1]);
    }

    parts.hour = sod / 3600u;
    parts.minute = (sod / 60u) % 60u;
    parts.second = sod % 60u;
    parts.millisecond = sub / 10'000u;
    parts.microsecond = (sub / 10u) % 1000u;
    parts.nanosecond = (sub % 10u) * 100u;
    return TRUE;
}
