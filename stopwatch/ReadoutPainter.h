#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include "framework/DCSelection.h"

// Draws the readout off-screen and copies it to a window; when only some digits change,
// only their character cells are copied, from glyphs rendered once for the font.
class CReadoutPainter
{
public:
    // The text whose cells are cached: any digit where this has a 0, the same character elsewhere.
    static constexpr char CELL_SHAPE[] = "00:00:00.000";
    // At most this many characters of a text are drawn.
    static constexpr int MAX_CHARS = sizeof(CELL_SHAPE) - 1;

    CReadoutPainter() = default;
    CReadoutPainter(const CReadoutPainter&) = delete;
    CReadoutPainter& operator=(const CReadoutPainter&) = delete;

    // Makes the off-screen surfaces, compatible with hdc, for a cx x cy readout drawn in hFont
    // (the DC's default font when NULL; it must outlive the painting) and renders the glyph
    // cells when the font keeps its ink inside them. FALSE when nothing can be painted.
    BOOL Create(HDC hdc, HFONT hFont, COLORREF clrText, COLORREF clrBack, int cx, int cy);
    void Destroy();

    // Shows the text at (x, y) of hdcTarget: in full when bFull, on the first paint, or when this
    // text or the one on screen is not of the cell shape; otherwise only the cells that changed.
    void Paint(HDC hdcTarget, int x, int y, const char* pszText, int nLength, BOOL bFull);

    // TRUE when the font lets ticks copy single cells.
    BOOL HasGlyphCells() const { return m_bCells; }

private:
    BOOL BuildCells();
    BOOL GlyphStaysInCell(char ch, int nCell, const std::vector<DWORD>& blank);
    // The full drawing: background, then the centred text, into one row of the bitmap.
    void DrawRow(int nRow, const char* pszText, int nLength);
    // Brings the on-screen copy from m_strShown to pszText cell by cell; the columns
    // [xFirst, xEnd) changed. FALSE when a copy failed.
    BOOL CopyCells(const char* pszText, int& xFirst, int& xEnd);
    std::vector<DWORD> ReadRow(int nRow);

    CBrush m_brushBack;
    // Rows of the readout's height: the shape drawn in each digit 0-9, then the copy of the screen.
    CBitmap m_bitmap;
    CDC m_dc;
    // m_bitmap in m_dc, taken out only while its pixels are read.
    std::optional<CDCSelection> m_selectBitmap;
    HFONT m_hFont = nullptr;
    int m_cx = 0;
    int m_cy = 0;
    // Cell i spans the columns [m_xCell[i], m_xCell[i + 1]).
    int m_xCell[MAX_CHARS + 1] = {};
    BOOL m_bCells = FALSE;
    // The text on screen when it has the cell shape, else empty.
    std::string m_strShown;
};
