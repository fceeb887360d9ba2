#pragma once

#include <windows.h>

#include "framework/Point.h"

// A rectangle in pixels: a RECT with constructors and its size.
class CRect : public tagRECT
{
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& rc) { ::CopyRect(this, &rc); }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CPoint TopLeft() const { return CPoint(left, top); }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }

    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
};
