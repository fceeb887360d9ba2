#include "stopwatch/StopwatchEngine.h"

static const char* const s_pszReadoutFormat = "%H:%M:%S.%s";

CStopwatchEngine::CStopwatchEngine(IStopwatchOutlets& outlets) : m_bRunning(0), m_outlets(outlets)
{
    m_spanElapsed.SetSpan(0, 0, 0, 0, 0, 0, 0);
}

void CStopwatchEngine::StartTiming()
{
    if (m_bRunning) {
        StopTiming();
        return;
    }
    m_bRunning = 1;
    m_outlets.ShowStartStopLook(g_lookRunning);
    m_timeLastTick = m_outlets.CaptureTime();
    m_outlets.SetTickTimer(TRUE);
}

void CStopwatchEngine::StopTiming()
{
    // Count the time since the last tick too, so a stop is exact to the clock.
    if (m_bRunning) {
        AddTimeSinceLastTick();
        PaintSpan();
    }
    m_outlets.SetTickTimer(FALSE);
    m_bRunning = 0;
    m_outlets.ShowStartStopLook(g_lookStopped);
}

LRESULT CStopwatchEngine::OnHotKey(WPARAM, LPARAM)
{
    if (m_bRunning)
        StopTiming();
    else
        StartTiming();
    return 0;
}

void CStopwatchEngine::ResetReadout()
{
    m_spanElapsed.SetSpan(0, 0, 0, 0, 0, 0, 0);
    PaintSpan();
}

void CStopwatchEngine::ResetTiming()
{
    StopTiming();
    ResetReadout();
}

void CStopwatchEngine::OnTimer(UINT_PTR nIDEvent)
{
    // A tick queued before the timer was killed must not add the stopped time.
    if (nIDEvent != ID_TICK_TIMER || !m_bRunning)
        return;
    AddTimeSinceLastTick();
    PaintSpan();
}

void CStopwatchEngine::AddTimeSinceLastTick()
{
    const CPreciseTime now = m_outlets.CaptureTime();
    m_spanElapsed = m_spanElapsed + (now - m_timeLastTick);
    m_timeLastTick = now;
}

void CStopwatchEngine::PaintSpan()
{
    m_outlets.PaintReadout(m_spanElapsed.Format(s_pszReadoutFormat));
}
