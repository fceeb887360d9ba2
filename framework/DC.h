#pragma once

#include <windows.h>

#include "framework/HandleMap.h"
#include "framework/Point.h"

class CBitmap;
class CBrush;
class CPen;

// A device context; deletes a DC it owns (created or attached) when destroyed.
class CDC
{
public:
    HDC m_hDC = nullptr;

    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* PASCAL FromHandle(HDC hDC);
    BOOL Attach(HDC hDC);
    HDC Detach();

    // A memory DC compatible with pDC (the screen when NULL).
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Each returns the wrapper of the object that was selected before.
    CBitmap* SelectObject(CBitmap* pBitmap);
    CPen* SelectObject(CPen* pPen);

    int SetBkMode(int nBkMode);
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF SetTextColor(COLORREF crColor);
    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush);
    // Fills with a colour; the DC's background colour is left as it was.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // One-pixel frame: clrTopLeft on the top and left edges, clrBottomRight on
    // the bottom and right edges (which own the top-right and bottom-left corners).
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    COLORREF GetPixel(int x, int y) const;
    BOOL DrawIcon(int x, int y, HICON hIcon);

private:
    typedef CHandleMap<CDC, HDC, &CDC::m_hDC> Map;
};
