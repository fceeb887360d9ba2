#include "time/DateParts.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "time/Ticks.h"

namespace {

PreciseDateParts Date(int32_t year, uint32_t month, uint32_t day, uint32_t hour = 0, uint32_t minute = 0,
                      uint32_t second = 0, uint32_t ms = 0, uint32_t us = 0, uint32_t ns = 0)
{
    PreciseDateParts parts{};
    parts.year = year;
    parts.month = month;
    parts.day = day;
    parts.hour = hour;
    parts.minute = minute;
    parts.second = second;
    parts.millisecond = ms;
    parts.microsecond = us;
    parts.nanosecond = ns;
    return parts;
}

int64_t Ticks(const PreciseDateParts& parts)
{
    int64_t ticks = -12345;
    EXPECT_TRUE(DatePartsToTicks(parts, ticks));
    return ticks;
}

// All eleven fields of TicksToDateParts as one line.
std::string PartsText(int64_t ticks)
{
    PreciseDateParts p{};
    EXPECT_TRUE(TicksToDateParts(ticks, p));
    char text[96];
    std::snprintf(text, sizeof text, "%d-%02u-%02u %02u:%02u:%02u.%03u.%03u.%03u doy %d dow %d", p.year, p.month,
                  p.day, p.hour, p.minute, p.second, p.millisecond, p.microsecond, p.nanosecond, p.dayOfYear,
                  p.dayOfWeek);
    return text;
}

}  // namespace

TEST(DatePartsToTicks, KnownDates)
{
    EXPECT_EQ(Ticks(Date(1601, 1, 1)), 0);
    EXPECT_EQ(Ticks(Date(2000, 1, 1)), 125'911'584'000'000'000);
    EXPECT_EQ(Ticks(Date(2013, 6, 15, 12, 34, 56, 789)), 130'157'732'967'890'000);
    EXPECT_EQ(Ticks(Date(29000, 12, 31, 23, 59, 59, 999, 999, 949)), 8'646'604'415'999'999'999);
    // Rounding carries through every field into the next day of a year past the range.
    EXPECT_EQ(Ticks(Date(29000, 12, 31, 23, 59, 59, 999, 999, 999)), 8'646'604'416'000'000'000);
    EXPECT_EQ(Ticks(Date(29000, 12, 31, 23, 59, 59, 999, 999, 999)), Ticks(Date(29000, 12, 32)));
}

TEST(DatePartsToTicks, DaysAndHoursCarryLinearly)
{
    EXPECT_EQ(Ticks(Date(2000, 3, 1)) - Ticks(Date(2000, 2, 29)), TICKS_PER_DAY);
    EXPECT_EQ(Ticks(Date(1900, 2, 29)), Ticks(Date(1900, 3, 1)));
    EXPECT_EQ(Ticks(Date(2013, 1, 32)), Ticks(Date(2013, 2, 1)));
    EXPECT_EQ(Ticks(Date(2013, 3, 0)), Ticks(Date(2013, 2, 28)));
    EXPECT_EQ(Ticks(Date(2013, 3, 1, 25)), Ticks(Date(2013, 3, 2, 1)));
    EXPECT_EQ(Ticks(Date(2013, 3, 1, 0, 0, 61, 1500)), Ticks(Date(2013, 3, 1, 0, 1, 2, 500)));
}

TEST(DatePartsToTicks, NanosecondsRoundHalfUp)
{
    const int64_t base = Ticks(Date(2013, 6, 15));
    const struct {
        uint32_t ns;
        int64_t ticks;
    } cases[] = {{0, 0}, {49, 0}, {50, 1}, {149, 1}, {150, 2}, {949, 9}, {950, 10}, {999, 10}};
    for (const auto& c : cases)
        EXPECT_EQ(Ticks(Date(2013, 6, 15, 0, 0, 0, 0, 0, c.ns)) - base, c.ticks) << c.ns;
}

TEST(DatePartsToTicks, RejectsYearAndMonthOutOfRangeWithoutWriting)
{
    const PreciseDateParts rejected[] = {Date(29001, 1, 1), Date(-29001, 1, 1),    Date(2013, 0, 1),
                                         Date(2013, 13, 1), Date(INT32_MIN, 1, 1), Date(2013, UINT32_MAX, 1)};
    for (const auto& parts : rejected) {
        int64_t ticks = 424242;
        EXPECT_FALSE(DatePartsToTicks(parts, ticks)) << parts.year << "-" << parts.month;
        EXPECT_EQ(ticks, 424242);
    }
    int64_t ticks = 0;
    EXPECT_TRUE(DatePartsToTicks(Date(-29000, 1, 1), ticks));
}

// Fields near 2^32 carry in unsigned 32 bits, and the count wraps in 64 bits.
TEST(DatePartsToTicks, HugeFieldsWrapWithoutOverflow)
{
    const uint64_t base = (uint64_t)Ticks(Date(2013, 1, 1));
    const uint64_t hourTicks = 3600 * (uint64_t)TICKS_PER_SECOND;
    EXPECT_EQ((uint64_t)Ticks(Date(2013, 1, 1 + 0xFFFFFFFEu)), base + 0xFFFFFFFEull * (uint64_t)TICKS_PER_DAY);
    EXPECT_EQ((uint64_t)Ticks(Date(2013, 1, 1, UINT32_MAX)), base + 0xFFFFFFFFull * hourTicks);
    // hour + the minutes' carry wraps to 0 in 32 bits.
    EXPECT_EQ((uint64_t)Ticks(Date(2013, 1, 1, UINT32_MAX, 60)), base);
    // nanosecond + 50 wraps to 49, which rounds to nothing.
    EXPECT_EQ((uint64_t)Ticks(Date(2013, 1, 1, 0, 0, 0, 0, 0, UINT32_MAX)), base);
    EXPECT_EQ((uint64_t)Ticks(Date(2013, 1, 1, 0, 0, 0, UINT32_MAX)), base + 0xFFFFFFFFull * 10'000);
}

// Before year 0 the divisions truncate toward zero; kept as it always behaved.
TEST(DatePartsToTicks, YearsBeforeZero)
{
    EXPECT_EQ(Ticks(Date(-1, 12, 31)), Ticks(Date(0, 1, 1)));
    EXPECT_EQ(Ticks(Date(-1, 1, 1)), Ticks(Date(0, 1, 1)) - 364 * TICKS_PER_DAY);
    // The far end wraps past INT64_MIN.
    EXPECT_GT(Ticks(Date(-29000, 1, 1)), 0);
}

TEST(TicksToDateParts, KnownCounts)
{
    const int64_t threeDays = 3 * TICKS_PER_DAY + 5;
    const struct {
        int64_t ticks;
        const char* text;
    } cases[] = {
        {0, "1601-01-01 00:00:00.000.000.000 doy 1 dow 2"},
        {threeDays, "1601-01-04 00:00:00.000.000.500 doy 4 dow 5"},
        {-threeDays, "1601-01-04 00:00:00.000.000.500 doy 4 dow 5"},
        {Ticks(Date(2013, 6, 15, 12, 34, 56, 789)), "2013-06-15 12:34:56.789.000.000 doy 166 dow 7"},
        {Ticks(Date(2000, 2, 29)), "2000-02-29 00:00:00.000.000.000 doy 60 dow 3"},
        {Ticks(Date(2000, 12, 31)), "2000-12-31 00:00:00.000.000.000 doy 366 dow 1"},
        {Ticks(Date(1700, 3, 1)), "1700-03-01 00:00:00.000.000.000 doy 60 dow 2"},
        {Ticks(Date(1900, 12, 31, 23, 59, 59, 999, 999, 900)), "1900-12-31 23:59:59.999.999.900 doy 365 dow 2"},
        {INT64_MAX, "30828-09-14 02:48:05.477.580.700 doy 258 dow 5"},
        // The magnitude of INT64_MIN is one tick more than INT64_MAX.
        {INT64_MIN, "30828-09-14 02:48:05.477.580.800 doy 258 dow 5"},
        // A date before 1601 gives a negative count, read back as its mirror after 1601.
        {Ticks(Date(1600, 12, 31)), "1601-01-02 00:00:00.000.000.000 doy 2 dow 3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PartsText(c.ticks), c.text) << c.ticks;
}

// Every day of the accepted range comes back from its count, with a different time of day each.
TEST(TicksToDateParts, RoundTripsEveryDay)
{
#ifdef _WIN32
    const int64_t step = 11;  // a sample: the full range is slow under Wine
#else
    const int64_t step = 1;
#endif
    const int64_t first = Ticks(Date(1601, 1, 1));
    const int64_t last = Ticks(Date(29000, 12, 31));
    int32_t expectedDayOfWeek = 2;
    PreciseDateParts previous{};
    ASSERT_TRUE(TicksToDateParts(first, previous));
    for (int64_t dayIndex = step; first + dayIndex * TICKS_PER_DAY <= last; dayIndex += step) {
        const int64_t timeOfDay = dayIndex * 7'777'777'777 % TICKS_PER_DAY;
        const int64_t ticks = first + dayIndex * TICKS_PER_DAY + timeOfDay;
        PreciseDateParts parts{};
        TicksToDateParts(ticks, parts);
        int64_t back = 0;
        ASSERT_TRUE(DatePartsToTicks(parts, back));
        ASSERT_EQ(back, ticks) << parts.year << "-" << parts.month << "-" << parts.day;
        expectedDayOfWeek = (int32_t)((dayIndex + 1) % 7 + 1);
        ASSERT_EQ(parts.dayOfWeek, expectedDayOfWeek) << ticks;
        if (step == 1) {
            const bool newYear = parts.year != previous.year;
            ASSERT_EQ(parts.dayOfYear, newYear ? 1 : previous.dayOfYear + 1) << ticks;
            ASSERT_TRUE(newYear ? parts.year == previous.year + 1 : parts.year == previous.year);
            ASSERT_GE(parts.day, 1u);
            ASSERT_LE(parts.day, 31u);
        }
        previous = parts;
    }
    EXPECT_EQ(previous.year, 29000);
}
