// The span's formatting with any tick count, status and format text: the readout's format
// always gives twelve characters, and no format gives more than 127.
//
// Input: the ticks (eight bytes, little-endian), the status (one byte, modulo 3), then the
// format text up to its first zero byte.
#include <cstring>
#include <string>

#include "tests/fuzz/FuzzCheck.h"
#include "time/PreciseTimeSpan.h"

namespace {
constexpr size_t MAX_TEXT = 127;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return 0;
    uint64_t nTicks = 0;
    for (int i = 7; i >= 0; --i)
        nTicks = nTicks << 8 | data[i];
    CPreciseTimeSpan span;
    span.m_ticks = (int64_t)nTicks;
    span.m_status = (TimeStatus)(data[8] % 3);
    const std::string strFormat((const char*)data + 9, size - 9);

    const std::string strBefore = strFormat;
    const CString strText = span.Format(strFormat.c_str());
    FUZZ_CHECK(strFormat == strBefore);
    FUZZ_CHECK((size_t)strText.GetLength() <= MAX_TEXT);
    FUZZ_CHECK(std::strlen(strText) == (size_t)strText.GetLength());
    if (span.m_status != TimeStatus::Valid) {
        if (span.m_status == TimeStatus::Null)
            FUZZ_CHECK(strText.IsEmpty());
        return 0;
    }
    // Text without a code comes back as it is, while it fits.
    const size_t nLength = std::strlen(strFormat.c_str());
    if (!std::strchr(strFormat.c_str(), '%') && nLength <= MAX_TEXT)
        FUZZ_CHECK(strText == strFormat.c_str());

    // The readout: the magnitude's hours of the day, minutes, seconds and milliseconds, for
    // every count, the largest and the most negative included.
    const uint64_t nMagnitude = span.m_ticks < 0 ? 0 - nTicks : nTicks;
    char szExpected[32];
    std::snprintf(szExpected, sizeof szExpected, "%02u:%02u:%02u.%03u",
                  (unsigned)(nMagnitude / 36'000'000'000u % 24), (unsigned)(nMagnitude / 600'000'000u % 60),
                  (unsigned)(nMagnitude / 10'000'000u % 60), (unsigned)(nMagnitude / 10'000u % 1000));
    FUZZ_CHECK(span.Format("%H:%M:%S.%s") == szExpected);
    return 0;
}
