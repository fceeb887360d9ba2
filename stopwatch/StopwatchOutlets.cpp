#include "stopwatch/StopwatchOutlets.h"

#include "res/resource.h"

const StartStopLook g_lookStopped = {IDI_START, "Start", "Start the timer"};
const StartStopLook g_lookRunning = {IDI_STOP, "Stop", "Stop the timer"};
