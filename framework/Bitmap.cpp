#include "framework/Bitmap.h"

#include "framework/DC.h"

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap)
{
    return FromHandleAs<CBitmap>(hBitmap);
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
{
    return AttachNew(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateDIBSection32(CDC* pDC, int nWidth, int nHeight, DWORD** ppBits)
{
    const BITMAPINFO info = AfxDib32Info(nWidth, nHeight);
    void* pBits = nullptr;
    *ppBits = nullptr;
    if (!pDC || !AttachNew(::CreateDIBSection(pDC->m_hDC, &info, DIB_RGB_COLORS, &pBits, nullptr, 0)))
        return FALSE;
    *ppBits = static_cast<DWORD*>(pBits);
    return pBits != nullptr;
}

BITMAPINFO AfxDib32Info(int nWidth, int nHeight, BOOL bTopDown)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = bTopDown ? -nHeight : nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return pDC ? AttachNew(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight)) : FALSE;
}
