#include "framework/ToolTipCtrl.h"

#include "framework/WinApp.h"

namespace {
// The version-2 size of the tool record, which every version of the common
// controls knows, the classic ones that tests without a manifest get included.
TOOLINFOA MakeToolInfo(CWnd* pWnd, UINT_PTR nIDTool, LPCSTR lpszText)
{
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = pWnd ? pWnd->m_hWnd : nullptr;
    if (nIDTool == 0) {
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)ti.hwnd;
    } else {
        ti.uId = nIDTool;
    }
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return ti;
}
}  // namespace

CToolTipCtrl::~CToolTipCtrl()
{
    DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    if (m_hWnd)
        return FALSE;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND hWnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr,
                                  AfxGetInstanceHandle(), nullptr);
    if (!hWnd)
        return FALSE;
    // Subclassed, so that the object lets go of the window when its owner
    // destroys it first.
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFOA ti = MakeToolInfo(pWnd, lpRectTool ? nIDTool : 0, lpszText);
    if (lpRectTool)
        ti.rect = *lpRectTool;
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TOOLINFOA ti = MakeToolInfo(pWnd, nIDTool, nullptr);
    if (lpRect)
        ti.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti = MakeToolInfo(pWnd, nIDTool, lpszText);
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::Activate(BOOL bActivate)
{
    SendMessage(TTM_ACTIVATE, (WPARAM)bActivate);
}

void CToolTipCtrl::Pop()
{
    SendMessage(TTM_POP);
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    SendMessage(TTM_RELAYEVENT, 0, (LPARAM)lpMsg);
}

int CToolTipCtrl::GetToolCount() const
{
    return (int)::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0);
}

int CToolTipCtrl::SetMaxTipWidth(int iWidth)
{
    return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth);
}
