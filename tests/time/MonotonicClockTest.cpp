#include "time/MonotonicClock.h"

#include <gtest/gtest.h>

#include "tests/time/TestTimes.h"
#include "time/Ticks.h"

namespace {

CPreciseTime LocalTime(WORD hour, WORD minute, WORD second, WORD ms)
{
    return MakeLocalTime(2013, 10, 27, hour, minute, second, ms);
}

// A clock whose counter and wall clock the test sets.
class CFakeCounterClock : public CMonotonicClock
{
public:
    uint64_t m_nCount = 1'000'000'000;
    uint64_t m_nFrequency = 2'929'000;  // not a multiple of 10 MHz: conversion must not lose ticks
    CPreciseTime m_timeWall = LocalTime(10, 0, 0, 0);
    int m_nWallReads = 0;

    void AdvanceMs(uint64_t ms) { m_nCount += ms * m_nFrequency / 1000; }

protected:
    uint64_t ReadCounter() override { return m_nCount; }
    uint64_t CounterFrequency() override { return m_nFrequency; }
    CPreciseTime ReadLocalTime() override
    {
        ++m_nWallReads;
        return m_timeWall;
    }
};

}  // namespace

TEST(CMonotonicClock, CountsToTicks)
{
    EXPECT_EQ(CMonotonicClock::CountsToTicks(0, 3'579'545), 0);
    EXPECT_EQ(CMonotonicClock::CountsToTicks(3'579'545, 3'579'545), TICKS_PER_SECOND);
    EXPECT_EQ(CMonotonicClock::CountsToTicks(1, 3), 3'333'333);
    EXPECT_EQ(CMonotonicClock::CountsToTicks(12'345, 1'000'000'000), 123);
    EXPECT_EQ(CMonotonicClock::CountsToTicks(5, 0), 0);
    // A counter read a century after boot: the product counts * 10^7 would overflow.
    const uint64_t counts = 100ull * 365 * 86'400 * 3'579'545 + 1'234'567;
    const uint64_t expected = 100ull * 365 * 86'400 * TICKS_PER_SECOND + 1'234'567ull * 10'000'000 / 3'579'545;
    EXPECT_EQ((uint64_t)CMonotonicClock::CountsToTicks(counts, 3'579'545), expected);
    // A frequency too high for the exact product still gives whole seconds exactly.
    EXPECT_EQ(CMonotonicClock::CountsToTicks(4'000'000'000'000ull * 3, 4'000'000'000'000ull), 3 * TICKS_PER_SECOND);
}

TEST(CMonotonicClock, AnchoredOnceThenAdvancedByTheCounter)
{
    CFakeCounterClock clock;
    CPreciseTime first = clock.Now();
    EXPECT_EQ(first.m_status, TimeStatus::Valid);
    EXPECT_EQ(first.m_ticks, LocalTime(10, 0, 0, 0).m_ticks);

    clock.AdvanceMs(27);
    EXPECT_EQ(clock.Now().m_ticks, LocalTime(10, 0, 0, 27).m_ticks);
    EXPECT_EQ(clock.m_nWallReads, 1);
}

// The wall clock set back an hour (or a daylight-saving switch) does not move the readings.
TEST(CMonotonicClock, IgnoresWallClockChanges)
{
    CFakeCounterClock clock;
    clock.AdvanceMs(100);
    CPreciseTime before = clock.Now();
    clock.m_timeWall = LocalTime(9, 0, 0, 100);
    clock.AdvanceMs(27);
    CPreciseTime after = clock.Now();
    EXPECT_EQ((after - before).m_ticks, 27 * TICKS_PER_MILLISECOND);
    EXPECT_EQ(after.m_ticks, LocalTime(10, 0, 0, 27).m_ticks);
    EXPECT_EQ(clock.m_nWallReads, 1);
}

TEST(CMonotonicClock, InvalidAnchorGivesInvalidReadings)
{
    CFakeCounterClock clock;
    clock.m_timeWall.m_status = TimeStatus::Invalid;
    clock.m_timeWall.m_ticks = 0;
    clock.Now();
    clock.AdvanceMs(27);
    EXPECT_EQ(clock.Now().m_status, TimeStatus::Invalid);
}

TEST(CMonotonicClock, SystemClockNeverGoesBack)
{
    CMonotonicClock clock;
    CPreciseTime previous = clock.Now();
    EXPECT_EQ(previous.m_status, TimeStatus::Valid);
    for (int i = 0; i < 1000; ++i) {
        CPreciseTime now = clock.Now();
        ASSERT_GE(now.m_ticks, previous.m_ticks);
        previous = now;
    }
}
