#include "time/PreciseTime.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/time/TestTimes.h"

namespace {

CPreciseTime AtTick(int64_t ticks)
{
    CPreciseTime t;
    t.m_ticks = ticks;
    return t;
}

}  // namespace

TEST(CPreciseTime, FromSystemTime)
{
    CPreciseTime t(MakeSystemTime(2013, 6, 15, 12, 34, 56, 789));
    EXPECT_EQ(t.m_status, TimeStatus::Valid);
    EXPECT_EQ(t.m_ticks, 130'157'732'967'890'000);

    // Out-of-range input is Invalid with a defined count of 0.
    const SYSTEMTIME invalid[] = {MakeSystemTime(29001, 1, 1), MakeSystemTime(65535, 1, 1),
                                  MakeSystemTime(2013, 0, 1), MakeSystemTime(2013, 13, 1)};
    for (const SYSTEMTIME& st : invalid) {
        CPreciseTime bad(st);
        EXPECT_EQ(bad.m_status, TimeStatus::Invalid) << st.wYear << "-" << st.wMonth;
        EXPECT_EQ(bad.m_ticks, 0);
    }
}

TEST(CPreciseTime, CaptureLocalTimeHasMillisecondResolution)
{
    CPreciseTime now = CPreciseTime::CaptureLocalTime();
    EXPECT_EQ(now.m_status, TimeStatus::Valid);
    EXPECT_EQ(now.m_ticks % 10'000, 0);
    // Some time after 2020-01-01.
    EXPECT_GT(now.m_ticks, MakeLocalTime(2020, 1, 1).m_ticks);
}

TEST(CPreciseTime, Difference)
{
    CPreciseTime a(MakeSystemTime(2013, 6, 15, 23, 59, 59, 500));
    CPreciseTime b(MakeSystemTime(2013, 6, 16, 0, 0, 0, 750));
    CPreciseTimeSpan forward = b - a;
    EXPECT_EQ(forward.m_status, TimeStatus::Valid);
    EXPECT_EQ(forward.m_ticks, 12'500'000);
    EXPECT_EQ((a - b).m_ticks, -12'500'000);

    // The 64-bit difference wraps.
    EXPECT_EQ((AtTick(INT64_MIN) - AtTick(1)).m_ticks, INT64_MAX);
    EXPECT_EQ((AtTick(INT64_MAX) - AtTick(-1)).m_ticks, INT64_MIN);
}
