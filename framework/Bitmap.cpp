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

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return pDC ? AttachNew(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight)) : FALSE;
}
