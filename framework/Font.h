#pragma once

#include "framework/GdiObject.h"

class CDC;

// A GDI font.
class CFont : public CGdiObject
{
public:
    CFont() = default;

    operator HFONT() const { return (HFONT)m_hObject; }
    static CFont* PASCAL FromHandle(HFONT hFont);
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont);
    // nPointSize in tenths of a point, for pDC or else for the screen.
    BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC = nullptr);
};
