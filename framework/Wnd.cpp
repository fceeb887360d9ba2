#include "framework/Wnd.h"

#include <vector>

#include "framework/DC.h"
#include "framework/DataExchange.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {
// The message each window is handling now, for Default(); one UI thread.
MSG s_currentMsg = {};

BOOL ModifyStyleOf(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, nIndex);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(hWnd, nIndex, (LONG)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    if (m_hWnd && Map::LookupPermanent(m_hWnd) == this) {
        if (m_pfnSuper)
            UnsubclassWindow();
        else
            Detach();
    }
    if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    return Map::FromHandle<CWnd>(hWnd);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd ? Map::LookupPermanent(hWnd) : nullptr;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    return Map::Attach(this, hWndNew);
}

HWND CWnd::Detach()
{
    return Map::Detach(this);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
    m_pfnSuper = pfnOld != &AfxWndProc ? pfnOld : nullptr;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndCtrl = pParent ? ::GetDlgItem(pParent->m_hWnd, (int)nID) : nullptr;
    return hWndCtrl ? SubclassWindow(hWndCtrl) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    if (m_pfnSuper)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::PreSubclassWindow()
{
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return FALSE;
    BOOL bResult = ::DestroyWindow(hWnd);
    // A subclassed window detached itself on WM_NCDESTROY; an attached one not.
    if (m_hWnd == hWnd && !::IsWindow(hWnd))
        Detach();
    return bResult;
}

void CWnd::PostNcDestroy()
{
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
        return DispatchToMap(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, wParam,
                             (LPARAM)(message - WM_CTLCOLORMSGBOX), pResult);
    return FALSE;
}

void CWnd::DoDataExchange(CDataExchange*)
{
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

DWORD CWnd::GetStyle() const
{
    return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE);
}

DWORD CWnd::GetExStyle() const
{
    return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleOf(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleOf(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl ? pWndCtl->m_hWnd : nullptr, bPrevious));
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                        void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD))
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(::GetDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* pDC)
{
    return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    // Over the owner (or the main window), or on the work area when that is
    // hidden or minimised; kept inside the work area. For top-level windows.
    HWND hWndCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (!hWndCenter) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain && pMain != this)
            hWndCenter = pMain->m_hWnd;
    }
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoA(::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST),
                      &mi);
    RECT rcArea = mi.rcWork;
    RECT rcCenter = rcArea;
    if (hWndCenter && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter))
        ::GetWindowRect(hWndCenter, &rcCenter);

    RECT rcDlg;
    GetWindowRect(&rcDlg);
    int cx = rcDlg.right - rcDlg.left;
    int cy = rcDlg.bottom - rcDlg.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
    if (x + cx > rcArea.right)
        x = rcArea.right - cx;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + cy > rcArea.bottom)
        y = rcArea.bottom - cy;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* PASCAL CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}

CWnd* PASCAL CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}

CWnd* PASCAL CWnd::GetActiveWindow()
{
    return FromHandle(::GetActiveWindow());
}

CWnd* PASCAL CWnd::WindowFromPoint(POINT point)
{
    return FromHandle(::WindowFromPoint(point));
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)lpRect, 2);
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, (LPPOINT)lpRect, 2);
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    ::GetWindowRect(m_hWnd, lpRect);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> buffer((size_t)nLength + 1, '\0');
    int nCopied = ::GetWindowTextA(m_hWnd, buffer.data(), nLength + 1);
    rString = CString(buffer.data(), nCopied);
}

int CWnd::GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthA(m_hWnd);
}

void CWnd::SetWindowText(LPCSTR lpszString)
{
    ::SetWindowTextA(m_hWnd, lpszString);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

static void SendToChildren(HWND hWndParent, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                           BOOL bOnlyPerm)
{
    for (HWND hWnd = ::GetWindow(hWndParent, GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (!bOnlyPerm || CWnd::FromHandlePermanent(hWnd))
            ::SendMessageA(hWnd, message, wParam, lParam);
        if (bDeep && ::IsWindow(hWnd))
            SendToChildren(hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    SendToChildren(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy,
                          nFlags);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
{
    return ::GetWindowPlacement(m_hWnd, lpwndpl);
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl)
{
    return ::SetWindowPlacement(m_hWnd, lpwndpl);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return (HICON)SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
}

// Default handlers: the message goes on to the window's own procedure.
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}

void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnNcLButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

HCURSOR CWnd::OnQueryDragIcon()
{
    return (HCURSOR)Default();
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
