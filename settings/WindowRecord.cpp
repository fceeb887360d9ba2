#include "settings/WindowRecord.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {
// SW_SHOWNORMAL, as the window system numbers it.
constexpr UINT SHOWCMD_NORMAL = 1;

// Fields read back from the record, in their order.
constexpr int READ_FIELDS = 4;

bool IsLeadByte(PFN_IS_LEAD_BYTE pfnIsLeadByte, char ch)
{
    return pfnIsLeadByte && pfnIsLeadByte((BYTE)ch);
}

bool IsSeparator(char ch)
{
    return ch == ',' || ch == '\r' || ch == '\n';
}

// A decimal number read the way atoi reads it (leading white space, one sign, digits up to
// the first other character), kept both as its low 32 bits and as a magnitude that stops
// growing once it is past any 32-bit value, so no input overflows anything.
struct DecimalNumber {
    bool bNegative = false;
    uint64_t nMagnitude = 0;
    uint32_t nLow32 = 0;
};

DecimalNumber ReadDecimal(const char* psz)
{
    constexpr uint64_t MAGNITUDE_CAP = (uint64_t)1 << 33;
    DecimalNumber number;
    while (*psz == ' ' || (*psz >= '\t' && *psz <= '\r'))
        ++psz;
    if (*psz == '+' || *psz == '-')
        number.bNegative = *psz++ == '-';
    for (; *psz >= '0' && *psz <= '9'; ++psz) {
        uint32_t nDigit = (uint32_t)(*psz - '0');
        number.nLow32 = number.nLow32 * 10u + nDigit;
        if (number.nMagnitude < MAGNITUDE_CAP)
            number.nMagnitude = number.nMagnitude * 10u + nDigit;
    }
    return number;
}

// Flags and show command: the number modulo 2^32, as msvcrt's wrapping atoi gives it
// ("4294967298" is 2, "-1" is 4294967295), identical on every host.
UINT ReadWrapped(const char* psz)
{
    DecimalNumber number = ReadDecimal(psz);
    return number.bNegative ? 0u - number.nLow32 : number.nLow32;
}

// Coordinates are written in their unsigned form, so 2147483648 ... 4294967295 stand for
// negative values; anything beyond the 32-bit forms, or outside the range rule, is
// replaced by the fallback.
LONG ReadCoordinate(const char* psz)
{
    DecimalNumber number = ReadDecimal(psz);
    int64_t nValue;
    if (number.bNegative) {
        if (number.nMagnitude > (uint64_t)1 << 31)
            return CWindowRecord::FALLBACK_COORDINATE;
        nValue = -(int64_t)number.nMagnitude;
    } else {
        if (number.nMagnitude > UINT32_MAX)
            return CWindowRecord::FALLBACK_COORDINATE;
        nValue = (int64_t)number.nMagnitude;
        if (nValue > INT32_MAX)
            nValue -= (int64_t)1 << 32;
    }
    if (nValue < -CWindowRecord::COORDINATE_LIMIT || nValue > CWindowRecord::COORDINATE_LIMIT)
        return CWindowRecord::FALLBACK_COORDINATE;
    return (LONG)nValue;
}

// One axis of KeepInWorkArea, wide enough that no sum or difference of 32-bit
// coordinates overflows.
LONG KeepOnAxis(int64_t nLow, int64_t nHigh, int64_t nWorkLow, int64_t nWorkHigh, bool* pbTooLittleInside)
{
    int64_t nSize = nHigh > nLow ? nHigh - nLow : 0;
    int64_t nInside = std::min(nHigh, nWorkHigh) - std::max(nLow, nWorkLow);
    if (2 * std::max<int64_t>(nInside, 0) < nSize)
        *pbTooLittleInside = true;
    if (nSize > nWorkHigh - nWorkLow)
        return (LONG)nWorkLow;
    return (LONG)std::clamp(nLow, nWorkLow, nWorkHigh - nSize);
}

#ifdef _WIN32
BOOL SystemIsLeadByte(BYTE nByte)
{
    return ::IsDBCSLeadByte(nByte);
}
#endif
}  // namespace

void CWindowRecord::SetState(UINT nPlacementShowCmd, UINT nNormalShowCmd)
{
    // Never the flag that restores to maximised: the window is only ever shown normal.
    m_nFlags = 0;
    m_nShowCmd = nPlacementShowCmd == SHOWCMD_NORMAL ? nNormalShowCmd : SHOWCMD_NORMAL;
}

void CWindowRecord::Format(char (&szText)[TEXT_SIZE]) const
{
    std::snprintf(szText, sizeof szText, "%u,%u,%u,%u,%u,%u", m_nFlags, m_nShowCmd, (UINT)m_nLeft, (UINT)m_nTop,
                  (UINT)m_nRight, (UINT)m_nBottom);
}

void CWindowRecord::Parse(const char* pszText, PFN_IS_LEAD_BYTE pfnIsLeadByte)
{
    char szBuffer[READ_BUFFER_SIZE];
    CopyWhole(szBuffer, sizeof szBuffer, pszText ? pszText : "", pfnIsLeadByte);

    char* apszFields[READ_FIELDS] = {};
    Tokenize(szBuffer, apszFields, READ_FIELDS, pfnIsLeadByte);

    const char* pszEmpty = "";
    m_nFlags = ReadWrapped(apszFields[0] ? apszFields[0] : pszEmpty);
    m_nShowCmd = ReadWrapped(apszFields[1] ? apszFields[1] : pszEmpty);
    // An absent coordinate is 0, which the range rule keeps.
    m_nLeft = ReadCoordinate(apszFields[2] ? apszFields[2] : pszEmpty);
    m_nTop = ReadCoordinate(apszFields[3] ? apszFields[3] : pszEmpty);
}

void CWindowRecord::SetSize(LONG nWidth, LONG nHeight)
{
    // Computed unsigned: wraps where a signed sum would be undefined.
    m_nRight = (LONG)((UINT)m_nLeft + (UINT)nWidth);
    m_nBottom = (LONG)((UINT)m_nTop + (UINT)nHeight);
}

CWindowRecord::Point CWindowRecord::KeepInWorkArea(const Rect& rcWindow, const Rect& rcWork)
{
    bool bTooLittleInside = false;
    Point ptInside = {KeepOnAxis(rcWindow.left, rcWindow.right, rcWork.left, rcWork.right, &bTooLittleInside),
                      KeepOnAxis(rcWindow.top, rcWindow.bottom, rcWork.top, rcWork.bottom, &bTooLittleInside)};
    if (!bTooLittleInside)
        return {rcWindow.left, rcWindow.top};
    return ptInside;
}

PFN_IS_LEAD_BYTE CWindowRecord::SystemLeadByte()
{
#ifdef _WIN32
    return SystemIsLeadByte;
#else
    return nullptr;
#endif
}

void CWindowRecord::CopyWhole(char* pszDest, size_t nDestSize, const char* pszSrc, PFN_IS_LEAD_BYTE pfnIsLeadByte)
{
    if (nDestSize == 0)
        return;
    size_t nLimit = nDestSize - 1;
    size_t i = 0;
    while (i < nLimit && pszSrc[i]) {
        size_t nCharLength = IsLeadByte(pfnIsLeadByte, pszSrc[i]) ? 2 : 1;
        // A lead byte whose trail byte is missing or would not fit is dropped.
        if (nCharLength == 2 && (i + 1 >= nLimit || !pszSrc[i + 1]))
            break;
        for (size_t k = 0; k < nCharLength; ++k, ++i)
            pszDest[i] = pszSrc[i];
    }
    pszDest[i] = '\0';
}

int CWindowRecord::Tokenize(char* pszText, char* apszTokens[], int nMaxTokens, PFN_IS_LEAD_BYTE pfnIsLeadByte)
{
    int nTokens = 0;
    char* p = pszText;
    while (*p && nTokens < nMaxTokens) {
        if (IsSeparator(*p)) {
            ++p;
            continue;
        }
        apszTokens[nTokens++] = p;
        while (*p && !IsSeparator(*p))
            p += IsLeadByte(pfnIsLeadByte, *p) && p[1] ? 2 : 1;
        if (*p)
            *p++ = '\0';
    }
    return nTokens;
}
