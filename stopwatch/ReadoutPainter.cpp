#include "stopwatch/ReadoutPainter.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr int DIGIT_ROWS = 10;
constexpr int SCREEN_ROW = DIGIT_ROWS;
constexpr int ROWS = DIGIT_ROWS + 1;

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

bool HasCellShape(const char* pszText, int nLength)
{
    if (nLength != CReadoutPainter::MAX_CHARS)
        return false;
    for (int i = 0; i < nLength; ++i) {
        char chShape = CReadoutPainter::CELL_SHAPE[i];
        if (IsDigit(chShape) ? !IsDigit(pszText[i]) : pszText[i] != chShape)
            return false;
    }
    return true;
}

// The cell shape with digit (nFirst + k * nStep) % 10 at its k-th digit.
std::string ShapeText(int nFirst, int nStep)
{
    std::string text = CReadoutPainter::CELL_SHAPE;
    int k = 0;
    for (char& ch : text)
        if (IsDigit(ch))
            ch = (char)('0' + (nFirst + k++ * nStep) % 10);
    return text;
}

}  // namespace

BOOL CReadoutPainter::Create(HDC hdc, HFONT hFont, COLORREF clrText, COLORREF clrBack, int cx, int cy)
{
    Destroy();
    if (!hdc || cx <= 0 || cy <= 0 || cy > INT_MAX / ROWS)
        return FALSE;
    CDC* pDC = CDC::FromHandle(hdc);
    if (!m_dc.CreateCompatibleDC(pDC) || !m_bitmap.CreateCompatibleBitmap(pDC, cx, ROWS * cy) ||
        !m_brushBack.CreateSolidBrush(clrBack)) {
        Destroy();
        return FALSE;
    }
    m_dc.SetTextColor(clrText);
    m_dc.SetBkColor(clrBack);
    m_hFont = hFont;
    m_cx = cx;
    m_cy = cy;
    m_selectBitmap.emplace(m_dc, m_bitmap);
    m_bCells = BuildCells();
    m_strShown.clear();
    return TRUE;
}

void CReadoutPainter::Destroy()
{
    m_selectBitmap.reset();
    m_dc.DeleteDC();
    m_bitmap.DeleteObject();
    m_brushBack.DeleteObject();
    m_hFont = nullptr;
    m_bCells = FALSE;
    m_strShown.clear();
}

void CReadoutPainter::Paint(HDC hdcTarget, int x, int y, const char* pszText, int nLength, BOOL bFull)
{
    if (!hdcTarget || !m_dc.GetSafeHdc() || !pszText)
        return;
    nLength = std::clamp(nLength, 0, MAX_CHARS);
    int xFirst = 0, xEnd = m_cx;
    const bool bShape = HasCellShape(pszText, nLength);
    if (bFull || !m_bCells || !bShape || m_strShown.empty() || !CopyCells(pszText, xFirst, xEnd)) {
        DrawRow(SCREEN_ROW, pszText, nLength);
        m_strShown.assign(pszText, bShape ? (size_t)nLength : 0);
        xFirst = 0;
        xEnd = m_cx;
    }
    if (xFirst < xEnd &&
        !::BitBlt(hdcTarget, x + xFirst, y, xEnd - xFirst, m_cy, m_dc, xFirst, SCREEN_ROW * m_cy, SRCCOPY))
        m_strShown.clear();  // what the screen shows is unknown: draw in full next time
}

BOOL CReadoutPainter::BuildCells()
{
    // Cells lie where DrawText puts each character of the centred line; digits of unequal
    // widths would move them from one text to the next.
    int xExtents[MAX_CHARS] = {};
    SIZE size = {};
    {
        CDCSelection selectFont(m_dc, m_hFont);
        for (int d = 0; d < DIGIT_ROWS; ++d) {
            int xDigit[MAX_CHARS] = {};
            if (!::GetTextExtentExPointA(m_dc, ShapeText(d, 0).c_str(), MAX_CHARS, 0, nullptr, xDigit, &size))
                return FALSE;
            if (d == 0)
                std::copy(xDigit, xDigit + MAX_CHARS, xExtents);
            else if (!std::equal(xDigit, xDigit + MAX_CHARS, xExtents))
                return FALSE;
        }
    }
    m_xCell[0] = (m_cx - size.cx) / 2;
    for (int i = 0; i < MAX_CHARS; ++i)
        m_xCell[i + 1] = m_xCell[0] + xExtents[i];
    if (m_xCell[0] < 0 || m_xCell[MAX_CHARS] > m_cx)
        return FALSE;

    for (int d = 0; d < DIGIT_ROWS; ++d) {
        std::string text = ShapeText(d, 0);
        DrawRow(d, text.c_str(), MAX_CHARS);
    }

    // Ink that reaches past a cell would mix with the neighbour's: each glyph alone must stay
    // inside its cell.
    DrawRow(SCREEN_ROW, "", 0);
    const std::vector<DWORD> blank = ReadRow(SCREEN_ROW);
    if (blank.empty())
        return FALSE;
    for (int i = 0; i < MAX_CHARS; ++i) {
        const char chShape = CELL_SHAPE[i];
        if (std::strchr(CELL_SHAPE, chShape) != CELL_SHAPE + i)
            continue;  // each glyph once, in the first cell that holds it
        const int nGlyphs = IsDigit(chShape) ? DIGIT_ROWS : 1;
        for (int g = 0; g < nGlyphs; ++g)
            if (!GlyphStaysInCell(nGlyphs > 1 ? (char)('0' + g) : chShape, i, blank))
                return FALSE;
    }

    // The tick's own path, with every cell changing, against the full drawing.
    const std::string before = ShapeText(0, 3), after = ShapeText(1, 1);
    DrawRow(SCREEN_ROW, before.c_str(), MAX_CHARS);
    m_strShown = before;
    int xFirst = 0, xEnd = 0;
    if (!CopyCells(after.c_str(), xFirst, xEnd))
        return FALSE;
    const std::vector<DWORD> copied = ReadRow(SCREEN_ROW);
    DrawRow(SCREEN_ROW, after.c_str(), MAX_CHARS);
    const std::vector<DWORD> drawn = ReadRow(SCREEN_ROW);
    return !drawn.empty() && copied == drawn;
}

BOOL CReadoutPainter::GlyphStaysInCell(char ch, int nCell, const std::vector<DWORD>& blank)
{
    CRect rcRow(0, SCREEN_ROW * m_cy, m_cx, ROWS * m_cy);
    ::FillRect(m_dc, &rcRow, m_brushBack);
    {
        CDCSelection selectFont(m_dc, m_hFont);
        ::ExtTextOutA(m_dc, m_xCell[nCell], rcRow.top, ETO_CLIPPED, &rcRow, &ch, 1, nullptr);
    }
    const std::vector<DWORD> pixels = ReadRow(SCREEN_ROW);
    if (pixels.size() != blank.size())
        return FALSE;
    for (size_t i = 0; i < pixels.size(); ++i) {
        int x = (int)(i % (size_t)m_cx);
        if ((x < m_xCell[nCell] || x >= m_xCell[nCell + 1]) && pixels[i] != blank[i])
            return FALSE;
    }
    return TRUE;
}

void CReadoutPainter::DrawRow(int nRow, const char* pszText, int nLength)
{
    CRect rcRow(0, nRow * m_cy, m_cx, (nRow + 1) * m_cy);
    ::FillRect(m_dc, &rcRow, m_brushBack);
    // Without a font the DC's own is used.
    CDCSelection selectFont(m_dc, m_hFont);
    m_dc.DrawText(pszText, nLength, &rcRow, DT_CENTER);
}

BOOL CReadoutPainter::CopyCells(const char* pszText, int& xFirst, int& xEnd)
{
    xFirst = m_cx;
    xEnd = 0;
    for (int i = 0; i < MAX_CHARS; ++i) {
        if (pszText[i] == m_strShown[(size_t)i])
            continue;
        // Only digits differ between two texts of the shape.
        const int xLeft = m_xCell[i], cx = m_xCell[i + 1] - xLeft;
        if (!::BitBlt(m_dc, xLeft, SCREEN_ROW * m_cy, cx, m_cy, m_dc, xLeft, (pszText[i] - '0') * m_cy, SRCCOPY))
            return FALSE;
        m_strShown[(size_t)i] = pszText[i];
        xFirst = std::min(xFirst, xLeft);
        xEnd = std::max(xEnd, xLeft + cx);
    }
    return TRUE;
}

std::vector<DWORD> CReadoutPainter::ReadRow(int nRow)
{
    // The bitmap may not be selected into a DC while its bits are read.
    m_selectBitmap.reset();
    // Bottom-up: scan 0 is the last line.
    BITMAPINFO info = AfxDib32Info(m_cx, ROWS * m_cy, FALSE);
    std::vector<DWORD> pixels((size_t)m_cx * (size_t)m_cy);
    if (::GetDIBits(m_dc, m_bitmap, (UINT)((ROWS - 1 - nRow) * m_cy), (UINT)m_cy, pixels.data(), &info,
                    DIB_RGB_COLORS) != m_cy)
        pixels.clear();
    m_selectBitmap.emplace(m_dc, m_bitmap);
    return pixels;
}
