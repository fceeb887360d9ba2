#include "stopwatch/StopwatchEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/time/TestTimes.h"
#include "time/MonotonicClock.h"
#include "time/Ticks.h"

namespace {

CPreciseTime At(WORD hour, WORD minute, WORD second, WORD ms)
{
    return MakeLocalTime(2013, 6, 15, hour, minute, second, ms);
}

// Records every call of the engine as one line of text; the clock is set by the test.
class CFakeOutlets : public IStopwatchOutlets
{
public:
    CPreciseTime m_timeNow = At(10, 0, 0, 0);
    std::vector<std::string> m_calls;

    void AdvanceMs(int ms) { m_timeNow.m_ticks += ms * TICKS_PER_MILLISECOND; }
    // The calls recorded so far; the record starts again empty.
    std::vector<std::string> TakeCalls()
    {
        std::vector<std::string> calls;
        calls.swap(m_calls);
        return calls;
    }

    CPreciseTime CaptureTime() override
    {
        m_calls.push_back("capture");
        return m_timeNow;
    }
    void SetTickTimer(BOOL bOn) override { m_calls.push_back(bOn ? "timer on" : "timer off"); }
    void ShowStartStopLook(const StartStopLook& look) override
    {
        m_calls.push_back("look " + std::to_string(look.nIconId) + " " + look.pszCaption + " / " + look.pszTip);
    }
    void PaintReadout(CString text) override { m_calls.push_back("paint " + std::string((const char*)text)); }
};

using Calls = std::vector<std::string>;
const std::string LOOK_RUNNING = "look 113 Stop / Stop the timer";
const std::string LOOK_STOPPED = "look 110 Start / Start the timer";

// An engine on fake outlets whose clock reads 10:00:00.000.
class StopwatchEngine : public ::testing::Test
{
protected:
    CFakeOutlets m_outlets;
    CStopwatchEngine m_engine{m_outlets};

    void StartAtTen()
    {
        m_engine.StartTiming();
        m_outlets.TakeCalls();
    }
};

}  // namespace

TEST_F(StopwatchEngine, ConstructedThenInitialResetPaintsZeroAndShowsStart)
{
    EXPECT_EQ(m_engine.m_bRunning, 0);
    EXPECT_EQ(m_engine.m_spanElapsed.m_status, TimeStatus::Valid);
    EXPECT_EQ(m_engine.m_spanElapsed.m_ticks, 0);
    EXPECT_TRUE(m_outlets.m_calls.empty());
    m_engine.ResetTiming();
    EXPECT_EQ(m_outlets.TakeCalls(), (Calls{"timer off", LOOK_STOPPED, "paint 00:00:00.000"}));
    EXPECT_EQ(m_engine.m_bRunning, 0);
}

TEST_F(StopwatchEngine, StartThenTicks)
{
    m_engine.StartTiming();
    EXPECT_EQ(m_outlets.TakeCalls(), (Calls{LOOK_RUNNING, "capture", "timer on"}));
    EXPECT_EQ(m_engine.m_bRunning, 1);
    EXPECT_EQ(m_engine.m_timeLastTick.m_ticks, At(10, 0, 0, 0).m_ticks);

    m_outlets.AdvanceMs(27);
    m_engine.OnTimer(ID_TICK_TIMER);
    m_outlets.AdvanceMs(27);
    m_engine.OnTimer(ID_TICK_TIMER);
    EXPECT_EQ(m_outlets.TakeCalls(), (Calls{"capture", "paint 00:00:00.027", "capture", "paint 00:00:00.054"}));
    EXPECT_EQ(m_engine.m_timeLastTick.m_ticks, At(10, 0, 0, 54).m_ticks);
}

// A stop counts the time since the last tick, and a tick queued before it adds nothing.
TEST_F(StopwatchEngine, StopIsExactAndLateTicksAreIgnored)
{
    StartAtTen();
    m_outlets.AdvanceMs(27);
    m_engine.OnTimer(ID_TICK_TIMER);
    m_outlets.AdvanceMs(20);
    m_engine.StopTiming();
    EXPECT_EQ(m_outlets.TakeCalls(),
              (Calls{"capture", "paint 00:00:00.027", "capture", "paint 00:00:00.047", "timer off", LOOK_STOPPED}));
    EXPECT_EQ(m_engine.m_spanElapsed.m_ticks, 47 * TICKS_PER_MILLISECOND);
    EXPECT_EQ(m_engine.m_bRunning, 0);

    m_outlets.AdvanceMs(500);
    m_engine.OnTimer(ID_TICK_TIMER);
    EXPECT_TRUE(m_outlets.TakeCalls().empty());
    EXPECT_EQ(m_engine.m_spanElapsed.m_ticks, 47 * TICKS_PER_MILLISECOND);
}

TEST_F(StopwatchEngine, StopBeforeTheFirstTickCountsTheRun)
{
    StartAtTen();
    m_outlets.AdvanceMs(10);
    m_engine.StopTiming();
    EXPECT_EQ(m_outlets.TakeCalls(), (Calls{"capture", "paint 00:00:00.010", "timer off", LOOK_STOPPED}));
}

TEST_F(StopwatchEngine, StopWhileStoppedOnlySetsTheLookAgain)
{
    m_engine.StopTiming();
    EXPECT_EQ(m_outlets.TakeCalls(), (Calls{"timer off", LOOK_STOPPED}));
    EXPECT_EQ(m_engine.m_spanElapsed.m_ticks, 0);
}

// The readout after a stop is the sum of start-to-stop times; stopped time is not counted.
TEST_F(StopwatchEngine, RunsAccumulateAcrossStopAndStart)
{
    StartAtTen();
    m_outlets.AdvanceMs(1'000);
    m_engine.OnTimer(ID_TICK_TIMER);
    m_outlets.AdvanceMs(5);
    m_engine.StartTiming();  // while running: a stop
    EXPECT_EQ(m_engine.m_bRunning, 0);
    m_outlets.AdvanceMs(60'000);
    m_engine.OnHotKey(0, 0);
    EXPECT_EQ(m_engine.m_bRunning, 1);
    m_outlets.AdvanceMs(250);
    EXPECT_EQ(m_engine.OnHotKey(123, 456), 0);
    EXPECT_EQ(m_engine.m_bRunning, 0);
    EXPECT_EQ(m_engine.m_spanElapsed.m_ticks, 1'255 * TICKS_PER_MILLISECOND);
    EXPECT_EQ(m_outlets.m_calls.back(), LOOK_STOPPED);
    EXPECT_EQ(m_outlets.m_calls[m_outlets.m_calls.size() - 3], "paint 00:00:01.255");
}

TEST_F(StopwatchEngine, ResetWhileRunningStopsAndZeroes)
{
    StartAtTen();
    m_outlets.AdvanceMs(3'000);
    m_engine.ResetTiming();
    EXPECT_EQ(m_outlets.TakeCalls(),
              (Calls{"capture", "paint 00:00:03.000", "timer off", LOOK_STOPPED, "paint 00:00:00.000"}));
    EXPECT_EQ(m_engine.m_bRunning, 0);
    EXPECT_EQ(m_engine.m_spanElapsed.m_ticks, 0);
}

TEST_F(StopwatchEngine, OtherTimersAreIgnored)
{
    StartAtTen();
    m_outlets.AdvanceMs(27);
    m_engine.OnTimer(2);
    m_engine.OnTimer(0);
    EXPECT_TRUE(m_outlets.TakeCalls().empty());
    EXPECT_EQ(m_engine.m_spanElapsed.m_ticks, 0);
}

TEST_F(StopwatchEngine, ReadoutWrapsEvery24Hours)
{
    StartAtTen();
    m_outlets.m_timeNow.m_ticks += 25 * 3600 * TICKS_PER_SECOND;
    m_engine.OnTimer(ID_TICK_TIMER);
    EXPECT_EQ(m_outlets.TakeCalls().back(), "paint 01:00:00.000");
    EXPECT_EQ(m_engine.m_spanElapsed.GetWholeDays(), 1);
}

// An Invalid capture makes the span Invalid until a reset.
TEST_F(StopwatchEngine, InvalidCaptureUntilReset)
{
    StartAtTen();
    m_outlets.m_timeNow.m_status = TimeStatus::Invalid;
    m_engine.OnTimer(ID_TICK_TIMER);
    EXPECT_EQ(m_engine.m_spanElapsed.m_status, TimeStatus::Invalid);
    m_outlets.m_timeNow = At(10, 0, 1, 0);
    m_engine.OnTimer(ID_TICK_TIMER);
    EXPECT_EQ(m_engine.m_spanElapsed.m_status, TimeStatus::Invalid);
    m_engine.ResetTiming();
    EXPECT_EQ(m_engine.m_spanElapsed.m_status, TimeStatus::Valid);
    EXPECT_EQ(m_outlets.TakeCalls().back(), "paint 00:00:00.000");
}

namespace {

// A monotonic clock with a fake counter and a wall clock that the test can set back.
class CSteppedClock : public CMonotonicClock
{
public:
    uint64_t m_nCount = 0;
    CPreciseTime m_timeWall = At(10, 0, 0, 0);

protected:
    uint64_t ReadCounter() override { return m_nCount; }
    uint64_t CounterFrequency() override { return 1'000; }
    CPreciseTime ReadLocalTime() override { return m_timeWall; }
};

// Fake outlets that read the stepped monotonic clock.
class CMonotonicOutlets : public CFakeOutlets
{
public:
    CSteppedClock m_clock;
    CPreciseTime CaptureTime() override { return m_clock.Now(); }
};

}  // namespace

// Setting the system clock back an hour while running changes nothing.
TEST(StopwatchEngineOnMonotonicClock, WallClockSetBackChangesNothing)
{
    CMonotonicOutlets outlets;
    CStopwatchEngine engine(outlets);
    engine.StartTiming();
    outlets.m_clock.m_nCount += 27;
    engine.OnTimer(ID_TICK_TIMER);
    outlets.m_clock.m_timeWall = At(9, 0, 0, 27);
    outlets.m_clock.m_nCount += 27;
    engine.OnTimer(ID_TICK_TIMER);
    EXPECT_EQ(outlets.m_calls.back(), "paint 00:00:00.054");
    EXPECT_EQ(engine.m_spanElapsed.m_ticks, 54 * TICKS_PER_MILLISECOND);
}
