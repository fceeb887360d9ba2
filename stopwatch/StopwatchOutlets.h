#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"
#include "time/PreciseTime.h"

// The Start/Stop button's look in one state.
struct StartStopLook {
    UINT nIconId;
    const char* pszCaption;
    const char* pszTip;
};

extern const StartStopLook g_lookStopped;  // IDI_START, "Start", "Start the timer"
extern const StartStopLook g_lookRunning;  // IDI_STOP, "Stop", "Stop the timer"

// What the engine needs from the window that shows it.
class IStopwatchOutlets
{
public:
    virtual CPreciseTime CaptureTime() = 0;   // the clock (monotonic, local-time anchored)
    virtual void SetTickTimer(BOOL bOn) = 0;  // timer ID_TICK_TIMER every TICK_INTERVAL ms, or kill it
    virtual void ShowStartStopLook(const StartStopLook& look) = 0;  // icon, then caption, then tooltip
    virtual void PaintReadout(CString text) = 0;                    // draw this readout text now

protected:
    ~IStopwatchOutlets() = default;
};
