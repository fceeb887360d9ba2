// Points in time for tests, made from a SYSTEMTIME as the clock makes them.
#pragma once

#include "framework/WinTypes.h"
#include "time/PreciseTime.h"

inline SYSTEMTIME MakeSystemTime(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                                 WORD ms = 0)
{
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDayOfWeek = 6;  // never read
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    st.wMilliseconds = ms;
    return st;
}

inline CPreciseTime MakeLocalTime(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                                  WORD ms = 0)
{
    return CPreciseTime(MakeSystemTime(year, month, day, hour, minute, second, ms));
}
