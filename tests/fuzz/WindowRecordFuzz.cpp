// The window record as the registry gives it back: any text, read with and without a
// double-byte code page, then kept in view of a work area.
//
// Input: one byte of choices (bit 0: Shift-JIS lead bytes; bits 1-3: the window's size;
// bits 4-6: the work area), then the record's text up to its first zero byte.
#include <cstring>
#include <string>

#include "settings/WindowRecord.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

BOOL ShiftJisLeadByte(BYTE nByte)
{
    return (nByte >= 0x81 && nByte <= 0x9F) || (nByte >= 0xE0 && nByte <= 0xFC);
}

// Sizes a window may report, the absurd ones included: the record's sums must wrap, not overflow.
const CWindowRecord::Point SIZES[8] = {
    {190, 54}, {285, 81}, {0, 0}, {1, 1}, {-5, 30}, {2147483647, 2147483647}, {-2147483647 - 1, 7}, {16000, 16000}};

const CWindowRecord::Rect WORK_AREAS[8] = {
    {0, 0, 1280, 770},
    {-1920, 0, 0, 1050},
    {0, -1080, 1920, 0},
    {100, 100, 150, 120},
    {0, 0, 0, 0},
    {500, 500, 400, 400},
    {-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647},
    {2147483000, 2147483000, 2147483647, 2147483647},
};

bool KeptByRangeRule(LONG nCoordinate)
{
    return nCoordinate == CWindowRecord::FALLBACK_COORDINATE ||
           (nCoordinate >= -CWindowRecord::COORDINATE_LIMIT && nCoordinate <= CWindowRecord::COORDINATE_LIMIT);
}

// One axis of the rescue: a window that fits lies wholly inside, a larger one at the low edge.
void CheckAxis(LONG nAt, int64_t nSize, LONG nWorkLow, LONG nWorkHigh)
{
    const int64_t nWork = (int64_t)nWorkHigh - nWorkLow;
    if (nSize > nWork)
        FUZZ_CHECK(nAt == nWorkLow);
    else
        FUZZ_CHECK(nAt >= nWorkLow && nAt + nSize <= nWorkHigh);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t choices = data[0];
    const PFN_IS_LEAD_BYTE pfnIsLeadByte = choices & 1 ? ShiftJisLeadByte : nullptr;
    const std::string strText((const char*)data + 1, size - 1);

    CWindowRecord record;
    record.Parse(strText.c_str(), pfnIsLeadByte);
    FUZZ_CHECK(KeptByRangeRule(record.m_nLeft));
    FUZZ_CHECK(KeptByRangeRule(record.m_nTop));

    // Written back as the program writes it and read again, it is the same record.
    const CWindowRecord::Point windowSize = SIZES[(choices >> 1) & 7];
    record.SetSize(windowSize.x, windowSize.y);
    char szText[CWindowRecord::TEXT_SIZE];
    record.Format(szText);
    FUZZ_CHECK(std::strlen(szText) < sizeof szText);
    CWindowRecord again;
    again.Parse(szText, pfnIsLeadByte);
    FUZZ_CHECK(again.m_nFlags == record.m_nFlags);
    FUZZ_CHECK(again.m_nShowCmd == record.m_nShowCmd);
    FUZZ_CHECK(again.m_nLeft == record.m_nLeft);
    FUZZ_CHECK(again.m_nTop == record.m_nTop);

    // Kept in view: left where it is, or moved wholly in; and once moved, it stays.
    const CWindowRecord::Rect rcWindow = {record.m_nLeft, record.m_nTop, record.m_nRight, record.m_nBottom};
    const CWindowRecord::Rect& rcWork = WORK_AREAS[(choices >> 4) & 7];
    const CWindowRecord::Point pt = CWindowRecord::KeepInWorkArea(rcWindow, rcWork);
    if (pt.x != rcWindow.left || pt.y != rcWindow.top) {
        const int64_t nWidth = rcWindow.right > rcWindow.left ? (int64_t)rcWindow.right - rcWindow.left : 0;
        const int64_t nHeight = rcWindow.bottom > rcWindow.top ? (int64_t)rcWindow.bottom - rcWindow.top : 0;
        CheckAxis(pt.x, nWidth, rcWork.left, rcWork.right);
        CheckAxis(pt.y, nHeight, rcWork.top, rcWork.bottom);
        const CWindowRecord::Rect rcMoved = {pt.x, pt.y, (LONG)(pt.x + nWidth), (LONG)(pt.y + nHeight)};
        const CWindowRecord::Point ptAgain = CWindowRecord::KeepInWorkArea(rcMoved, rcWork);
        FUZZ_CHECK(ptAgain.x == pt.x && ptAgain.y == pt.y);
    }
    return 0;
}
