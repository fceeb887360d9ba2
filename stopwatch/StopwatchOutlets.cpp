#include "stopwatch/StopwatchOutlets.h"

const StartStopLook g_lookStopped = {110, "Start", "Start the timer"};
const StartStopLook g_lookRunning = {113, "Stop", "Stop the timer"};
