#pragma once

#include "framework/Wnd.h"

// The direction and dialog of one UpdateData pass.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
    {
    }

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;

    // The handle of control nIDCtrl of the dialog, or NULL.
    HWND PrepareCtrl(int nIDCtrl);
};

// Binds rControl to control nIDC of the dialog by subclassing it (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
