#include "time/PreciseTimeSpan.h"

#include <cstring>
#include <ctime>
#include <string>

#include "framework/FrameworkRes.h"
#include "time/DateParts.h"
#include "time/Ticks.h"

namespace {

// msvcrt refuses a four-digit year beyond 9999 (tm_year 8099).
constexpr int MAX_FOUR_DIGIT_TM_YEAR = 8099;

uint32_t Magnitude(int value)
{
    return value < 0 ? 0u - (uint32_t)value : (uint32_t)value;
}

// Appends value in decimal, zero-padded to minDigits (at most 3).
void AppendDecimal(std::string& out, uint32_t value, int minDigits)
{
    char digits[10];
    int n = 0;
    do {
        digits[n++] = (char)('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n < minDigits)
        digits[n++] = '0';
    while (n > 0)
        out += digits[--n];
}

// Replaces the span's own codes. No two codes overlap and the digits put in never
// form one, so this single pass gives the same text as replacing each code in turn.
// Like that, it is purely textual: "%%s" becomes "%" followed by the milliseconds.
std::string ReplaceSpanCodes(const char* pszFormat, const CPreciseTimeSpan& span)
{
    std::string out;
    const char* p = pszFormat;
    for (;;) {
        const char* percent = std::strchr(p, '%');
        if (!percent) {
            out.append(p);
            return out;
        }
        out.append(p, (size_t)(percent - p));
        p = percent;
        const bool alt = p[1] == '#';
        uint32_t value;
        int width;
        switch (p[alt ? 2 : 1]) {
        case 'D':
            value = Magnitude(span.GetWholeDays());
            width = 0;
            break;
        case 's':
            value = Magnitude(span.GetMillisecondPart());
            width = 3;
            break;
        case 'u':
            value = Magnitude(span.GetMicrosecondPart());
            width = 3;
            break;
        case 'n':
            value = Magnitude(span.GetNanosecondPart());
            width = 3;
            break;
        default:
            out += '%';
            ++p;
            continue;
        }
        AppendDecimal(out, value, alt ? 0 : width);
        p += alt ? 3 : 2;
    }
}

// The conversions of msvcrt's strftime, each also in a '#' form. Of these only %z and
// %Z (the runtime's own time-zone text) read differently in the two builds.
bool IsPortableConversion(char c)
{
    return c != '\0' && std::strchr("aAbBcdHIjmMpSUwWxXyYzZ%", c) != nullptr;
}

bool PrintsFourDigitYear(char c, bool alt)
{
    return c == 'Y' || (alt && (c == 'c' || c == 'x'));
}

// Appends conversion c spelled so that this build's strftime prints what msvcrt prints.
void AppendConversion(std::string& out, char c, bool alt)
{
#ifdef _WIN32
    out += '%';
    if (alt)
        out += '#';
    out += c;
#else
    // Spelled the way msvcrt prints them in its "C" locale, so both builds agree.
    if (c == 'c') {
        out += alt ? "%A, %B %d, %Y %H:%M:%S" : "%m/%d/%y %H:%M:%S";
        return;
    }
    if (c == 'x') {
        out += alt ? "%A, %B %d, %Y" : "%m/%d/%y";
        return;
    }
    out += '%';
    // msvcrt's '#' drops leading zeros of numbers and is ignored elsewhere; glibc's
    // '#' changes letter case, its '-' drops the zeros.
    if (alt && std::strchr("dHIjmMSUwWyY", c))
        out += '-';
    out += c;
#endif
}

// msvcrt's strftime ends the process on a conversion it does not know (and the
// replacement above can make one: "%%s" gives "%005"), and on a year it cannot
// print. Such a conversion is kept as literal text, its '%' escaped, in both builds.
std::string PrepareConversions(const std::string& text, bool yearFits)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t percent = text.find('%', i);
        if (percent == std::string::npos) {
            out.append(text, i, std::string::npos);
            break;
        }
        out.append(text, i, percent - i);
        i = percent;
        const bool alt = text[i + 1] == '#';  // text[size()] is the terminating NUL
        const char c = text[i + (alt ? 2 : 1)];
        if (!IsPortableConversion(c) || (!yearFits && PrintsFourDigitYear(c, alt))) {
            out += "%%";
            ++i;
            continue;
        }
        AppendConversion(out, c, alt);
        i += alt ? 3 : 2;
    }
    return out;
}

}  // namespace

void CPreciseTimeSpan::SetSpan(int days, int hours, int minutes, int seconds, int milliseconds, int microseconds,
                               int nanoseconds)
{
    // Nanoseconds round half away from zero to whole ticks.
    const int64_t n = nanoseconds >= 0 ? ((int64_t)nanoseconds + 50) / 100 : ((int64_t)nanoseconds - 50) / 100;
    // The exact sum; unsigned, so extreme arguments wrap like the 64-bit count instead of overflowing.
    const uint64_t ticks = (uint64_t)(int64_t)days * (uint64_t)TICKS_PER_DAY +
                           (uint64_t)(int64_t)hours * (uint64_t)(3600 * TICKS_PER_SECOND) +
                           (uint64_t)(int64_t)minutes * (uint64_t)(60 * TICKS_PER_SECOND) +
                           (uint64_t)(int64_t)seconds * (uint64_t)TICKS_PER_SECOND +
                           (uint64_t)(int64_t)milliseconds * (uint64_t)TICKS_PER_MILLISECOND +
                           (uint64_t)(int64_t)microseconds * (uint64_t)TICKS_PER_MICROSECOND + (uint64_t)n;
    m_ticks = (int64_t)ticks;
    m_status = TimeStatus::Valid;
}

int CPreciseTimeSpan::GetWholeDays() const
{
    return (int)(m_ticks / TICKS_PER_SECOND / SECONDS_PER_DAY);
}

int CPreciseTimeSpan::GetMillisecondPart() const
{
    return (int)(m_ticks % TICKS_PER_SECOND / TICKS_PER_MILLISECOND);
}

int CPreciseTimeSpan::GetMicrosecondPart() const
{
    return (int)(m_ticks % TICKS_PER_MILLISECOND / TICKS_PER_MICROSECOND);
}

int CPreciseTimeSpan::GetNanosecondPart() const
{
    return (int)(m_ticks % TICKS_PER_MICROSECOND * 100);
}

CPreciseTimeSpan CPreciseTimeSpan::operator+(const CPreciseTimeSpan& other) const
{
    CPreciseTimeSpan sum;
    sum.m_status = CombineStatus(m_status, other.m_status);
    if (sum.m_status == TimeStatus::Valid)
        sum.m_ticks = WrapAdd(m_ticks, other.m_ticks);
    return sum;
}

CString CPreciseTimeSpan::Format(const char* pszFormat) const
{
    if (!pszFormat || m_status == TimeStatus::Null)
        return CString();
    if (m_status == TimeStatus::Invalid) {
        CString text;
        text.LoadString(AFX_IDS_INVALID_SPAN);
        return text;
    }

    PreciseDateParts parts;
    TicksToDateParts(m_ticks, parts);
    struct tm fields = {};
    fields.tm_sec = (int)parts.second;
    fields.tm_min = (int)parts.minute;
    fields.tm_hour = (int)parts.hour;
    fields.tm_mday = (int)parts.day;
    fields.tm_mon = (int)parts.month - 1;
    fields.tm_year = parts.year - 1601;
    fields.tm_wday = parts.dayOfWeek - 1;
    fields.tm_yday = parts.dayOfYear - 1;
    fields.tm_isdst = 0;

    const std::string conversions =
        PrepareConversions(ReplaceSpanCodes(pszFormat, *this), fields.tm_year <= MAX_FOUR_DIGIT_TM_YEAR);
    char buffer[128];
    // 0 means empty or too long for the buffer; either way the result is empty.
    const size_t length = std::strftime(buffer, sizeof buffer, conversions.c_str(), &fields);
    return CString(buffer, (int)length);
}
