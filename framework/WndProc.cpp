#include "framework/Wnd.h"

#include "framework/WinApp.h"

namespace {
// The message each window is handling now, for Default(); one UI thread.
MSG s_currentMsg = {};
}  // namespace

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    MSG previous = s_currentMsg;
    s_currentMsg.hwnd = hWnd;
    s_currentMsg.message = message;
    s_currentMsg.wParam = wParam;
    s_currentMsg.lParam = lParam;
    // The handler may hold temporary wrappers across the loops it runs.
    AfxLockTempMaps();
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    // The window is gone: hand it back to its own procedure and drop the
    // object's link to it (unless a handler already deleted the object).
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        pWnd->UnsubclassWindow();
        if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd == pWnd)
            pApp->m_pMainWnd = nullptr;
        pWnd->PostNcDestroy();
    }
    AfxUnlockTempMaps(FALSE);
    s_currentMsg = previous;
    return lResult;
}

void AfxDispatchQueuedMessage(MSG* pMsg)
{
    AfxLockTempMaps();
    if (!AfxPreTranslateMessage(pMsg)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
    }
    AfxUnlockTempMaps(FALSE);
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd;) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (!::IsWindow(hWnd) || !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
        hWnd = ::GetParent(hWnd);
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Windows tells only top-level windows that the system colours changed;
    // controls that paint with them (the icon buttons) must hear it too.
    if (message == WM_SYSCOLORCHANGE && !(::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD))
        SendMessageToDescendants(message, wParam, lParam, TRUE, FALSE);
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    // Owner-drawn controls and control colours: the control's object first.
    if (message == WM_DRAWITEM) {
        auto* pDis = (LPDRAWITEMSTRUCT)lParam;
        CWnd* pChild = pDis && pDis->CtlType != ODT_MENU ? FromHandlePermanent(pDis->hwndItem) : nullptr;
        if (pChild && pChild != this && pChild->OnChildNotify(message, wParam, lParam, pResult))
            return TRUE;
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        CWnd* pChild = FromHandlePermanent((HWND)lParam);
        if (pChild && pChild != this && pChild->OnChildNotify(message, wParam, lParam, pResult))
            return TRUE;
    }
    return DispatchToMap(message, 0, 0, wParam, lParam, pResult);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(s_currentMsg.message, s_currentMsg.wParam, s_currentMsg.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        nCode = CN_COMMAND;  // a menu item or an accelerator
    } else {
        CWnd* pChild = FromHandlePermanent(hWndCtrl);
        LRESULT lResult = 0;
        if (pChild && pChild != this && pChild->OnChildNotify(WM_COMMAND, wParam, lParam, &lResult))
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
        return DispatchToMap(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, wParam, lParam, pResult);
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return DispatchToMap(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, wParam, (LPARAM)(message - WM_CTLCOLORMSGBOX),
                             pResult);
    return FALSE;
}

// Default handlers: the message goes on to the window's own procedure.
void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return (BOOL)Default();
}

void CWnd::OnKillFocus(CWnd*)
{
    Default();
}

void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}

void CWnd::OnSysColorChange()
{
    Default();
}

void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}

void CWnd::OnEnable(BOOL)
{
    Default();
}

void CWnd::OnCancelMode()
{
    Default();
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

UINT CWnd::OnGetDlgCode()
{
    return (UINT)Default();
}

void CWnd::OnEnterMenuLoop(BOOL)
{
    Default();
}

void CWnd::OnExitMenuLoop(BOOL)
{
    Default();
}
