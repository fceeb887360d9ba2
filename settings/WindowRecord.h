#pragma once

#include <cstddef>

#include "framework/WinTypes.h"

// Tells whether a byte begins a double-byte character of the text's code page.
typedef BOOL (*PFN_IS_LEAD_BYTE)(BYTE nByte);

// Where the main window was: its one-line text form "%u,%u,%u,%u,%u,%u" and the rules for reading it back.
class CWindowRecord
{
public:
    // Six unsigned 32-bit numbers of up to ten digits, five commas and the terminator.
    static constexpr int TEXT_SIZE = 6 * 10 + 5 + 1;
    // Stored text is read into a buffer of this size, so at most 199 bytes of it count.
    static constexpr int READ_BUFFER_SIZE = 200;
    static constexpr const char* DEFAULT_TEXT = "0,1,400,400,400,400";
    // A coordinate outside -COORDINATE_LIMIT ... COORDINATE_LIMIT is replaced by FALLBACK_COORDINATE.
    static constexpr LONG COORDINATE_LIMIT = 8000;
    static constexpr LONG FALLBACK_COORDINATE = 400;

    // A rectangle in screen pixels, laid out as the window system's RECT.
    struct Rect {
        LONG left, top, right, bottom;
    };
    struct Point {
        LONG x, y;
    };

    UINT m_nFlags = 0;
    UINT m_nShowCmd = 0;
    LONG m_nLeft = 0;
    LONG m_nTop = 0;
    LONG m_nRight = 0;
    LONG m_nBottom = 0;

    // Chooses the flags and show command to store for a window whose placement reports
    // nPlacementShowCmd: a normal window is stored with nNormalShowCmd, any other as
    // SW_SHOWNORMAL, so that a window minimised or maximised when saved opens normal.
    void SetState(UINT nPlacementShowCmd, UINT nNormalShowCmd);

    // Writes all six fields; the coordinates in their unsigned 32-bit form.
    void Format(char (&szText)[TEXT_SIZE]) const;

    // Reads flags, show command, left and top from stored text (at most 199 bytes of it) and
    // applies the coordinate range rule; right and bottom are left to SetSize.
    // Flags and show command keep the low 32 bits of a number too large for them.
    void Parse(const char* pszText, PFN_IS_LEAD_BYTE pfnIsLeadByte = SystemLeadByte());

    // Right and bottom from the window's present size.
    void SetSize(LONG nWidth, LONG nHeight);

    // Where the top-left corner of a window of rcWindow goes so that it can be seen and
    // grabbed in rcWork, the work area of the monitor nearest to it: where it is while at
    // least half its width and half its height lie inside rcWork, otherwise the nearest
    // place wholly inside (on an axis where the window is larger, rcWork's own edge).
    static Point KeepInWorkArea(const Rect& rcWindow, const Rect& rcWork);

    // The lead-byte test of the system's ANSI code page; on hosts without one no byte is a lead byte.
    static PFN_IS_LEAD_BYTE SystemLeadByte();

    // Copies at most nDestSize - 1 bytes of pszSrc and terminates them, never keeping
    // the lead byte of a double-byte character without its trail byte.
    static void CopyWhole(char* pszDest, size_t nDestSize, const char* pszSrc, PFN_IS_LEAD_BYTE pfnIsLeadByte);

    // Splits pszText in place at ",", CR and LF, like strtok: runs of separators count as one
    // and a byte that follows a lead byte never separates. Fills at most nMaxTokens pointers
    // and returns how many it filled.
    static int Tokenize(char* pszText, char* apszTokens[], int nMaxTokens, PFN_IS_LEAD_BYTE pfnIsLeadByte);
};
