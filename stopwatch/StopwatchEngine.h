#pragma once

#include "framework/WinTypes.h"
#include "stopwatch/StopwatchOutlets.h"
#include "time/PreciseTime.h"
#include "time/PreciseTimeSpan.h"

// The window timer that drives the engine while it runs, and its period in milliseconds.
constexpr UINT_PTR ID_TICK_TIMER = 1;
constexpr UINT TICK_INTERVAL = 27;

// The stopwatch proper: running flag, last clock capture and accumulated span.
class CStopwatchEngine
{
public:
    explicit CStopwatchEngine(IStopwatchOutlets& outlets);
    CStopwatchEngine(const CStopwatchEngine&) = delete;
    CStopwatchEngine& operator=(const CStopwatchEngine&) = delete;

    // Starts counting; while running it stops instead.
    void StartTiming();
    // Adds the time since the last capture, paints it, then stops.
    void StopTiming();
    // WM_HOTKEY: toggles the stopwatch; returns 0.
    LRESULT OnHotKey(WPARAM wParam, LPARAM lParam);
    // Zeroes the span and paints it.
    void ResetReadout();
    void ResetTiming();
    // WM_TIMER: brings the span up to date and paints it.
    void OnTimer(UINT_PTR nIDEvent);

    CPreciseTime m_timeLastTick;
    BOOL m_bRunning;
    CPreciseTimeSpan m_spanElapsed;

private:
    void AddTimeSinceLastTick();
    void PaintSpan();

    IStopwatchOutlets& m_outlets;
};
