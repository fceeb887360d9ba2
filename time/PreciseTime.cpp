#include "time/PreciseTime.h"

#include "time/DateParts.h"
#include "time/Ticks.h"

#ifndef _WIN32
#include <chrono>
#include <ctime>
#endif

CPreciseTime::CPreciseTime(const SYSTEMTIME& st)
{
    PreciseDateParts parts{};
    parts.year = st.wYear;
    parts.month = st.wMonth;
    parts.day = st.wDay;
    parts.hour = st.wHour;
    parts.minute = st.wMinute;
    parts.second = st.wSecond;
    parts.millisecond = st.wMilliseconds;
    if (!DatePartsToTicks(parts, m_ticks))
        m_status = TimeStatus::Invalid;  // m_ticks keeps its defined 0
}

CPreciseTime CPreciseTime::CaptureLocalTime()
{
    SYSTEMTIME st{};
#ifdef _WIN32
    ::GetLocalTime(&st);
#else
    using namespace std::chrono;
    const auto sinceEpoch = system_clock::now().time_since_epoch();
    const auto wholeSeconds = floor<seconds>(sinceEpoch);
    const time_t now = (time_t)wholeSeconds.count();
    struct tm local = {};
    if (!localtime_r(&now, &local)) {
        CPreciseTime invalid;
        invalid.m_status = TimeStatus::Invalid;
        return invalid;
    }
    st.wYear = (WORD)(local.tm_year + 1900);
    st.wMonth = (WORD)(local.tm_mon + 1);
    st.wDayOfWeek = (WORD)local.tm_wday;
    st.wDay = (WORD)local.tm_mday;
    st.wHour = (WORD)local.tm_hour;
    st.wMinute = (WORD)local.tm_min;
    st.wSecond = (WORD)local.tm_sec;
    st.wMilliseconds = (WORD)duration_cast<milliseconds>(sinceEpoch - wholeSeconds).count();
#endif
    return CPreciseTime(st);
}

CPreciseTimeSpan CPreciseTime::operator-(const CPreciseTime& other) const
{
    CPreciseTimeSpan span;
    span.m_status = CombineStatus(m_status, other.m_status);
    if (span.m_status == TimeStatus::Valid)
        span.m_ticks = WrapSub(m_ticks, other.m_ticks);
    return span;
}
