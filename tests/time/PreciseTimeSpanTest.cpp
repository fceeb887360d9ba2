#include "time/PreciseTimeSpan.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "time/PreciseTime.h"
#include "time/Ticks.h"

namespace {

CPreciseTimeSpan Span(int64_t ticks, TimeStatus status = TimeStatus::Valid)
{
    CPreciseTimeSpan span;
    span.m_status = status;
    span.m_ticks = ticks;
    return span;
}

CPreciseTimeSpan MakeSpan(int d, int h, int m, int s, int ms, int us, int ns)
{
    CPreciseTimeSpan span = Span(77, TimeStatus::Null);
    span.SetSpan(d, h, m, s, ms, us, ns);
    EXPECT_EQ(span.m_status, TimeStatus::Valid);
    return span;
}

// 1 d 2 h 3 min 4 s 5 ms 6 us 700 ns.
constexpr int64_t SAMPLE_TICKS = 937'840'050'067;

std::string Text(const CPreciseTimeSpan& span, const char* format)
{
    return (const char*)span.Format(format);
}

}  // namespace

TEST(CPreciseTimeSpan, SetSpan)
{
    EXPECT_EQ(MakeSpan(0, 0, 0, 0, 0, 0, 0).m_ticks, 0);
    EXPECT_EQ(MakeSpan(0, 1, -90, 0, 0, 0, 0).m_ticks, -18'000'000'000);
    EXPECT_EQ(MakeSpan(1, 2, 3, 4, 5, 6, 700).m_ticks, SAMPLE_TICKS);
    EXPECT_EQ(MakeSpan(0, 0, 0, 0, 1500, -2500, 0).m_ticks, 1500 * TICKS_PER_MILLISECOND - 25'000);
    EXPECT_EQ(MakeSpan(-1, 48, 0, 0, 0, 0, 0).m_ticks, TICKS_PER_DAY);
}

TEST(CPreciseTimeSpan, SetSpanRoundsNanosecondsHalfAwayFromZero)
{
    const struct {
        int ns;
        int64_t ticks;
    } cases[] = {{49, 0},
                 {50, 1},
                 {149, 1},
                 {150, 2},
                 {-49, 0},
                 {-50, -1},
                 {-150, -2},
                 {999, 10},
                 {INT_MAX, 21'474'836},
                 {INT_MIN, -21'474'836}};
    for (const auto& c : cases)
        EXPECT_EQ(MakeSpan(0, 0, 0, 0, 0, 0, c.ns).m_ticks, c.ticks) << c.ns;
}

// Extreme arguments give the exact sum modulo 2^64, the same bits as a wrapping count.
TEST(CPreciseTimeSpan, SetSpanExtremeArgumentsWrap)
{
    const uint64_t maxSum = 0x7FFFFFFFull * (864'000'000'000ull + 36'000'000'000ull + 600'000'000ull +
                                             10'000'000ull + 10'000ull + 10ull) +
                            21'474'836ull;
    EXPECT_EQ((uint64_t)MakeSpan(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX).m_ticks, maxSum);
    EXPECT_EQ((uint64_t)MakeSpan(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN).m_ticks,
              0 - (maxSum + 864'000'000'000ull + 36'000'000'000ull + 600'000'000ull + 10'000'000ull + 10'000ull +
                   10ull));
}

TEST(CPreciseTimeSpan, PartsCarryTheSign)
{
    const struct {
        int64_t ticks;
        int days, ms, us, ns;
    } cases[] = {
        {SAMPLE_TICKS, 1, 5, 6, 700},
        {-SAMPLE_TICKS, -1, -5, -6, -700},
        {TICKS_PER_DAY - 1, 0, 999, 999, 900},
        {INT64_MAX, 10'675'199, 477, 580, 700},
        {INT64_MIN, -10'675'199, -477, -580, -800},
    };
    for (const auto& c : cases) {
        CPreciseTimeSpan span = Span(c.ticks, TimeStatus::Invalid);  // the status is not consulted
        EXPECT_EQ(span.GetWholeDays(), c.days) << c.ticks;
        EXPECT_EQ(span.GetMillisecondPart(), c.ms) << c.ticks;
        EXPECT_EQ(span.GetMicrosecondPart(), c.us) << c.ticks;
        EXPECT_EQ(span.GetNanosecondPart(), c.ns) << c.ticks;
    }
}

TEST(CPreciseTimeSpan, Addition)
{
    EXPECT_EQ((Span(SAMPLE_TICKS) + Span(-SAMPLE_TICKS - 3)).m_ticks, -3);
    EXPECT_EQ((Span(INT64_MAX) + Span(1)).m_ticks, INT64_MIN);
    EXPECT_EQ((Span(INT64_MIN) + Span(INT64_MIN)).m_ticks, 0);
}

// Null wins over Invalid, in a difference of points as in a sum of spans.
TEST(CPreciseTimeSpan, StatusOfDifferenceAndSum)
{
    const struct {
        TimeStatus a, b, result;
    } cases[] = {
        {TimeStatus::Null, TimeStatus::Valid, TimeStatus::Null},
        {TimeStatus::Valid, TimeStatus::Null, TimeStatus::Null},
        {TimeStatus::Invalid, TimeStatus::Null, TimeStatus::Null},
        {TimeStatus::Null, TimeStatus::Invalid, TimeStatus::Null},
        {TimeStatus::Invalid, TimeStatus::Valid, TimeStatus::Invalid},
        {TimeStatus::Valid, TimeStatus::Invalid, TimeStatus::Invalid},
        {TimeStatus::Valid, TimeStatus::Valid, TimeStatus::Valid},
    };
    for (const auto& c : cases) {
        CPreciseTime a;
        a.m_status = c.a;
        a.m_ticks = 40;
        CPreciseTime b;
        b.m_status = c.b;
        b.m_ticks = 2;
        const CPreciseTimeSpan difference = a - b;
        const CPreciseTimeSpan sum = Span(40, c.a) + Span(2, c.b);
        EXPECT_EQ(difference.m_status, c.result) << (int)c.a << " - " << (int)c.b;
        EXPECT_EQ(sum.m_status, c.result) << (int)c.a << " + " << (int)c.b;
        EXPECT_EQ(difference.m_ticks, c.result == TimeStatus::Valid ? 38 : 0);
        EXPECT_EQ(sum.m_ticks, c.result == TimeStatus::Valid ? 42 : 0);
    }
}

TEST(CPreciseTimeSpanFormat, Readout)
{
    const struct {
        int64_t ticks;
        const char* text;
    } cases[] = {
        {0, "00:00:00.000"},
        {-18'000'000'000, "00:30:00.000"},  // negative: the magnitude, no sign
        {-15'000'000, "00:00:01.500"},
        {12'349'999, "00:00:01.234"},     // below the millisecond is cut, not rounded
        {TICKS_PER_DAY, "00:00:00.000"},  // hours wrap at 24
        {TICKS_PER_DAY + 3660 * TICKS_PER_SECOND, "01:01:00.000"},
        {TICKS_PER_DAY - 1, "23:59:59.999"},
        {INT64_MAX, "02:48:05.477"},
        {INT64_MIN, "02:48:05.477"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(Span(c.ticks), "%H:%M:%S.%s"), c.text) << c.ticks;
}

TEST(CPreciseTimeSpanFormat, SpanCodes)
{
    for (int64_t ticks : {SAMPLE_TICKS, -SAMPLE_TICKS}) {
        CPreciseTimeSpan span = Span(ticks);
        EXPECT_EQ(Text(span, "%D %H:%M:%S.%s.%u.%n"), "1 02:03:04.005.006.700");
        EXPECT_EQ(Text(span, "%#D %#s %#u %#n"), "1 5 6 700");
    }
    CPreciseTimeSpan small = Span(12 * TICKS_PER_DAY + 10'000 + 20 + 3);
    EXPECT_EQ(Text(small, "%D|%#D|%s|%#s|%u|%#u|%n|%#n"), "12|12|001|1|002|2|300|300");
    EXPECT_EQ(Text(Span(INT64_MIN), "%D %n"), "10675199 800");
    EXPECT_EQ(Text(Span(0), "%D%#D%s%#s%u%#u%n%#n"), "00000000000000");
    // Replacement is textual: a preceding '%' does not protect a code.
    EXPECT_EQ(Text(Span(5 * TICKS_PER_MILLISECOND), "%%s|%%#s|%%D"), "%005|%5|%0");
}

TEST(CPreciseTimeSpanFormat, NullAndInvalid)
{
    EXPECT_EQ(Text(Span(SAMPLE_TICKS), nullptr), "");
    EXPECT_EQ(Text(Span(SAMPLE_TICKS, TimeStatus::Null), "%H"), "");
    EXPECT_EQ(Text(Span(SAMPLE_TICKS, TimeStatus::Null), nullptr), "");
    // An Invalid span shows the framework's text 61594 (none is linked into this test).
    CString invalidText;
    invalidText.LoadString(61594);
    EXPECT_EQ(Text(Span(SAMPLE_TICKS, TimeStatus::Invalid), "%H:%M"), (const char*)invalidText);
    EXPECT_EQ(Text(Span(SAMPLE_TICKS, TimeStatus::Invalid), nullptr), "");
}

// Conversions both C runtimes know give the same text in both builds; msvcrt's "C"
// locale forms are the reference.
TEST(CPreciseTimeSpanFormat, StandardConversions)
{
    // 1601-01-01 plus 1 d 3:04:05: Tuesday 1900-01-02 to strftime.
    CPreciseTimeSpan span = Span(TICKS_PER_DAY + (3 * 3600 + 4 * 60 + 5) * TICKS_PER_SECOND);
    EXPECT_EQ(Text(span, "%a|%A|%b|%B|%d|%H|%I|%j|%m|%M|%p|%S|%U|%w|%W|%y|%Y|%%"),
              "Tue|Tuesday|Jan|January|02|03|03|002|01|04|AM|05|00|2|01|00|1900|%");
    EXPECT_EQ(Text(span, "%c|%x|%X"), "01/02/00 03:04:05|01/02/00|03:04:05");
    EXPECT_EQ(Text(span, "%#d|%#H|%#I|%#j|%#m|%#M|%#S|%#U|%#w|%#W|%#y|%#Y|%#%"), "2|3|3|2|1|4|5|0|2|1|0|1900|%");
    EXPECT_EQ(Text(span, "%#a|%#A|%#b|%#B|%#p|%#X"), "Tue|Tuesday|Jan|January|AM|03:04:05");
    EXPECT_EQ(Text(span, "%#x"), "Tuesday, January 02, 1900");
    EXPECT_EQ(Text(span, "%#c"), "Tuesday, January 02, 1900 03:04:05");
    EXPECT_EQ(Text(Span(13 * 3600 * TICKS_PER_SECOND), "%I %p"), "01 PM");
}

// What msvcrt does not know stays literal text: no crash, the same in both builds.
TEST(CPreciseTimeSpanFormat, UnknownConversionsStayLiteral)
{
    CPreciseTimeSpan span = Span(TICKS_PER_DAY + 5 * TICKS_PER_MILLISECOND);
    const struct {
        const char* format;
        const char* text;
    } cases[] = {
        {"%e|%Q|%C|%F|%T|%G", "%e|%Q|%C|%F|%T|%G"},
        {"%-H %_H %0H %^a %10d %Ey %OH", "%-H %_H %0H %^a %10d %Ey %OH"},
        {"%#e %#Q %#", "%#e %#Q %#"},
        {"trailing %", "trailing %"},
        {"%%s", "%005"},  // the code replacement makes "%005"
        {"%#%s %%#s", "%#005 %5"},
        {"100%", "100%"},
        {"%%%H", "%00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(span, c.format), c.text) << c.format;
}

// msvcrt cannot print a four-digit year beyond 9999: such conversions stay literal.
TEST(CPreciseTimeSpanFormat, YearsBeyond9999)
{
    CPreciseTimeSpan span = Span(INT64_MAX);  // strftime sees the year 31127
    EXPECT_EQ(Text(span, "%Y|%#Y|%#c|%#x|%y|%m/%d"), "%Y|%#Y|%#c|%#x|27|09/14");
    EXPECT_EQ(Text(span, "%x"), "09/14/27");
}

TEST(CPreciseTimeSpanFormat, ResultsAreCappedAt127Characters)
{
    CPreciseTimeSpan span = Span(SAMPLE_TICKS);
    const std::string fits(127, 'x');
    EXPECT_EQ(Text(span, fits.c_str()), fits);
    EXPECT_EQ(Text(span, (fits + "x").c_str()), "");
    // Growth by conversions counts too: 16 weekday names of 7 letters.
    std::string grows;
    for (int i = 0; i < 16; ++i)
        grows += "%A|";
    EXPECT_EQ(Text(span, grows.c_str()), "");
    EXPECT_EQ(Text(span, grows.substr(0, 15 * 3).c_str()).size(), 15u * 8);
    // A long format can shrink to fit: 60 day codes of 3 chars give one digit each.
    std::string shrinks;
    for (int i = 0; i < 60; ++i)
        shrinks += "%#D";
    EXPECT_EQ(Text(span, shrinks.c_str()), std::string(60, '1'));
}
