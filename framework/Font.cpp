#include "framework/Font.h"

#include <cstdlib>

#include "framework/DC.h"

CFont* PASCAL CFont::FromHandle(HFONT hFont)
{
    return FromHandleAs<CFont>(hFont);
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* lpLogFont)
{
    return lpLogFont ? AttachNew(::CreateFontIndirectA(lpLogFont)) : FALSE;
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC)
{
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    if (lpszFaceName)
        ::lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);

    // Tenths of a point to a character height in the DC's logical units.
    HDC hDC = pDC ? pDC->m_hDC : ::GetDC(nullptr);
    POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), nPointSize, 720)};
    if (pDC) {
        POINT ptOrigin = {0, 0};
        ::DPtoLP(hDC, &pt, 1);
        ::DPtoLP(hDC, &ptOrigin, 1);
        pt.y -= ptOrigin.y;
    } else {
        ::ReleaseDC(nullptr, hDC);
    }
    lf.lfHeight = -std::abs(pt.y);
    return CreateFontIndirect(&lf);
}
