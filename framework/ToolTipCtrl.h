#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Wnd.h"

// A tooltip control window, owned and destroyed by this object.
class CToolTipCtrl : public CWnd
{
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void Activate(BOOL bActivate);
    // Hides the tip if it is shown.
    void Pop();
    void RelayEvent(LPMSG lpMsg);
    int GetToolCount() const;
    int SetMaxTipWidth(int iWidth);
};
