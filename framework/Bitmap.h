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
};
