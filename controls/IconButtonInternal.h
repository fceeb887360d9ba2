#pragma once

#include "framework/Afx.h"

// What more than one of CIconButton's source files needs; for those files only.
namespace IconButtonInternal {
// Width of a wrapped tooltip line, in pixels.
const int kMaxTipWidth = 400;

inline LONG Width(const RECT& r)
{
    return r.right - r.left;
}
inline LONG Height(const RECT& r)
{
    return r.bottom - r.top;
}
}  // namespace IconButtonInternal
