#pragma once

#include "framework/GdiObject.h"

// A GDI pen.
class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);

    static CPen* PASCAL FromHandle(HPEN hPen);
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
};
