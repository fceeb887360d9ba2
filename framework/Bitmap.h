#pragma once

#include "framework/GdiObject.h"

class CDC;

// A GDI bitmap.
class CBitmap : public CGdiObject
{
public:
    CBitmap() = default;

    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    static CBitmap* PASCAL FromHandle(HBITMAP hBitmap);
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    // A 32-bpp top-down DIB section for pDC, its pixels at *ppBits.
    BOOL CreateDIBSection32(CDC* pDC, int nWidth, int nHeight, DWORD** ppBits);
};

// The header of a 32-bpp DIB of 0xAARRGGBB pixels: top-down, the first row first in
// memory, or else bottom-up, the last row first.
BITMAPINFO AfxDib32Info(int nWidth, int nHeight, BOOL bTopDown = TRUE);
