#include "framework/DataExchange.h"

HWND CDataExchange::PrepareCtrl(int nIDCtrl)
{
    return m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDCtrl) : nullptr;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;  // bound by an earlier exchange
    if (HWND hWndCtrl = pDX->PrepareCtrl(nIDC))
        rControl.SubclassWindow(hWndCtrl);
}
