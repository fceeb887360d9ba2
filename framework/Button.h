#pragma once

#include "framework/Wnd.h"

// A push button control; owner-drawn buttons draw themselves in DrawItem.
class CButton : public CWnd
{
public:
    CButton() = default;

    // Reflected WM_DRAWITEM of an owner-drawn button.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    UINT GetState() const;
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
