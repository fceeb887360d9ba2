#include "framework/Brush.h"

CBrush::CBrush(COLORREF crColor)
{
    CreateSolidBrush(crColor);
}

CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush)
{
    return FromHandleAs<CBrush>(hBrush);
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    return AttachNew(::CreateSolidBrush(crColor));
}
