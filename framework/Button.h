#pragma once

#include "framework/Wnd.h"

// A push button control; owner-drawn buttons draw themselves in DrawItem.
class CButton : public CWnd
{
public:
    CButton() = default;

    // Reflected WM_DRAWITEM of an owner-drawn button.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    // Reflected WM_DRAWITEM goes to DrawItem.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
