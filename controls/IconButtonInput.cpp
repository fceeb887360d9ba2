#include "controls/IconButton.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "controls/IconButtonInternal.h"
#include "framework/DCSelection.h"

using namespace IconButtonInternal;

namespace {
// Tool id of the button's single tooltip tool.
const UINT_PTR kToolId = 1;
// The button type bits of a window style (BS_TYPEMASK).
const DWORD kTypeMask = 0x0F;

// The shell is loaded on the first link opened, not at start-up: it brings ole32, combase,
// rpcrt4 and shlwapi along, which nothing else in the program needs.
HMODULE s_hShellLibrary = nullptr;
decltype(&::ShellExecuteExA) s_pfnShellExecuteExA = nullptr;

// Once loaded, the shell stays until the process ends: an open may leave threads or COM
// objects of the shell's behind, whose code must stay mapped.
BOOL BindShell()
{
    if (s_pfnShellExecuteExA)
        return TRUE;
    if (!s_hShellLibrary)
        s_hShellLibrary = AfxLoadSysLibrary("SHELL32.DLL");
    return AfxGetProc(s_hShellLibrary, "ShellExecuteExA", s_pfnShellExecuteExA);
}

// The text a tooltip shows for text. The tip sizes itself to the text's measured width and
// clips there; some fonts at some sizes draw wider than they measure (Wine's Tahoma at 14
// pixels, the tips' font at 125 %, by 3 pixels), and the last letter would be cut. Then
// trailing spaces widen the measure to cover the ink.
std::string TipTextWithRoom(HWND tip, const char* text)
{
    std::string shown = text;
    CClientDC screenDC(nullptr);
    CDC dc;
    if (!tip || shown.empty() || !screenDC.GetSafeHdc() || !dc.CreateCompatibleDC(&screenDC))
        return shown;
    CDCSelection selectFont(dc, (HFONT)::SendMessageA(tip, WM_GETFONT, 0, 0));
    const UINT flags = DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX;
    RECT measured = {0, 0, 0, 0};
    dc.DrawText(text, -1, &measured, flags);
    const int cx = Width(measured) * 2, cy = Height(measured);
    if (Width(measured) <= 0 || cy <= 0)
        return shown;

    DWORD* bits = nullptr;
    CBitmap canvas;
    if (!canvas.CreateDIBSection32(&dc, cx, cy, &bits))
        return shown;
    LONG inkEnd = 0;
    {
        CDCSelection selectCanvas(dc, canvas);
        std::memset(bits, 0, (size_t)cx * (size_t)cy * 4);
        dc.SetTextColor(RGB(255, 255, 255));
        dc.SetBkMode(TRANSPARENT);
        RECT all = {0, 0, cx, cy};
        dc.DrawText(text, -1, &all, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        ::GdiFlush();
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                if (bits[(size_t)y * (size_t)cx + (size_t)x] & 0xFFFFFF)
                    inkEnd = x + 1 > inkEnd ? x + 1 : inkEnd;
    }
    for (int spaces = 0; Width(measured) < inkEnd && spaces < 8; ++spaces) {
        shown += ' ';
        measured = {0, 0, 0, 0};
        dc.DrawText(shown.c_str(), -1, &measured, flags);
    }
    return shown;
}
}  // namespace

// --- tooltip -----------------------------------------------------------------------

void CIconButton::EnsureToolTip()
{
    if (m_toolTip.m_hWnd)
        return;
    m_toolTip.Create(this, m_toolTipStyle);
    m_toolTipActive = FALSE;
    m_toolTip.Activate(FALSE);
    m_toolTip.SetMaxTipWidth(Scaled(kMaxTipWidth));
}

void CIconButton::SetTipText(const char* text, BOOL activate)
{
    if (text == nullptr)
        return;
    EnsureToolTip();
    const std::string shown = TipTextWithRoom(m_toolTip.m_hWnd, text);
    if (m_toolTip.GetToolCount() == 0) {
        // The tool covers the client area; a new size moves its edges (OnSize).
        RECT client = {0, 0, 0, 0};
        GetClientRect(&client);
        m_toolTip.AddTool(this, shown.c_str(), &client, kToolId);
    }
    m_toolTip.UpdateTipText(shown.c_str(), this, kToolId);
    m_toolTipActive = activate;
    m_toolTip.Activate(activate && !m_toolTipSuspended);
}

CString CIconButton::GetTipText() const
{
    if (!m_toolTip.m_hWnd)
        return CString();
    char text[512] = "";
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = m_hWnd;
    info.uId = kToolId;
    info.lpszText = text;
    ::SendMessageA(m_toolTip.m_hWnd, TTM_GETTEXTA, sizeof text, (LPARAM)&info);
    text[sizeof text - 1] = '\0';
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ')
        --length;
    return CString(text, (int)length);
}

void CIconButton::SuspendToolTip(BOOL suspend)
{
    m_toolTipSuspended = suspend;
    if (!m_toolTip.m_hWnd)
        return;
    // Inactive, a tooltip starts no new wait to show; a tip already up is popped.
    m_toolTip.Activate(m_toolTipActive && !suspend);
    if (!suspend) {
        FollowPointer();
        return;
    }
    m_toolTip.Pop();
    // A wait that began when the pointer came onto the button may still end in a
    // tip: a move off every tool cancels it.
    MSG away = {};
    away.hwnd = m_hWnd;
    away.message = WM_MOUSEMOVE;
    away.lParam = MAKELPARAM(-1, -1);
    m_toolTip.RelayEvent(&away);
}

void CIconButton::FollowPointer()
{
    // A menu that closes leaves the pointer where it is: on the button, if it
    // never left or came back while the menu was up. No move is sent for that,
    // so the button gives itself one, through the queue as the system would,
    // to light and start its tip as on arrival.
    POINT point;
    if (!::GetCursorPos(&point) || ::WindowFromPoint(point) != m_hWnd)
        return;
    ::ScreenToClient(m_hWnd, &point);
    const WPARAM keys =
        (::GetKeyState(VK_LBUTTON) < 0 ? MK_LBUTTON : 0) | (::GetKeyState(VK_RBUTTON) < 0 ? MK_RBUTTON : 0);
    ::PostMessageA(m_hWnd, WM_MOUSEMOVE, keys, MAKELPARAM(point.x, point.y));
}

void CIconButton::SetToolTipStyle(DWORD style)
{
    m_toolTipStyle = style;
}

// --- input -------------------------------------------------------------------------

void CIconButton::PreSubclassWindow()
{
    const DWORD style = (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE) & 0xFFFF;
    const DWORD type = style & kTypeMask;
    // Only the check-box types; BS_OWNERDRAW and others share the BS_CHECKBOX bit.
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE)
        m_isCheckBox = TRUE;
    if (type == BS_DEFPUSHBUTTON)
        m_isDefault = TRUE;
    ModifyStyle(kTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    m_dpi = AfxGetWindowDpi(m_hWnd);
    m_uiState = (UINT)::SendMessageA(m_hWnd, WM_QUERYUISTATE, 0, 0);
    CButton::PreSubclassWindow();
}

BOOL CIconButton::PreTranslateMessage(MSG* pMsg)
{
    EnsureToolTip();
    m_toolTip.RelayEvent(pMsg);
    // An owner-drawn button reports a double click instead of pressing again;
    // as a second press it gives a second BN_CLICKED.
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

void CIconButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);

    ClientToScreen(&point);
    CWnd* under = WindowFromPoint(point);

    // A press that started elsewhere and is dragged onto the button does not light it.
    if ((nFlags & MK_LBUTTON) && !m_hovering)
        return;
    if (!m_flat)
        return;

    HWND reference = m_hoverWhenInactive ? m_hWnd : ::GetActiveWindow();
    if (under && under->m_hWnd == m_hWnd && reference) {
        if (m_hovering)
            return;
        m_hovering = TRUE;
        Repaint();
        TRACKMOUSEEVENT track;
        std::memset(&track, 0, sizeof(track));
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        ::_TrackMouseEvent(&track);
    } else {
        EndHover();
    }
}

void CIconButton::EndHover()
{
    if (m_flat && m_hovering) {
        m_hovering = FALSE;
        Repaint();
    }
}

LRESULT CIconButton::OnMouseLeave(WPARAM, LPARAM)
{
    // The platform's button tracks its own hot state from the same notification.
    Default();
    EndHover();
    return 0;
}

void CIconButton::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    EndHover();
}

void CIconButton::OnCancelMode()
{
    CButton::OnCancelMode();
    EndHover();
}

void CIconButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        EndHover();
}

void CIconButton::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    if (bEnable)
        return;
    // A disabled button must not keep the focus.
    HWND parent = ::GetParent(m_hWnd);
    HWND next = parent ? ::GetNextDlgTabItem(parent, m_hWnd, FALSE) : nullptr;
    if (next == nullptr)
        next = parent;
    if (next)
        ::SetFocus(next);
    EndHover();
}

BOOL CIconButton::OnClicked()
{
    SetFocus();
    if (m_isCheckBox) {
        m_checked = m_checked ? 0 : 1;
        Repaint();
    } else if (m_popupMenu) {
        RECT rect;
        GetWindowRect(&rect);
        m_menuShowing = TRUE;
        Repaint();
        HMENU subMenu = ::GetSubMenu(m_popupMenu, 0);
        if (m_menuNotify.target)
            ::SendMessageA(m_menuNotify.target, m_menuNotify.message, (WPARAM)subMenu, m_menuNotify.lParam);
        const UINT command = (UINT)::TrackPopupMenuEx(subMenu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                      rect.left, rect.bottom, m_menuOwner, nullptr);
        m_menuShowing = FALSE;
        Repaint();
        if (command)
            ::PostMessageA(m_menuOwner, WM_COMMAND, MAKEWPARAM(command & 0xFFFF, 0), 0);
    } else if (m_linkTarget[0] && BindShell()) {
        SHELLEXECUTEINFOA info;
        std::memset(&info, 0, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.lpVerb = "open";
        info.lpFile = m_linkTarget;
        info.nShow = SW_SHOWMAXIMIZED;
        s_pfnShellExecuteExA(&info);
    }
    // The parent handles the click as well.
    return FALSE;
}

BOOL CIconButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_cursor) {
        ::SetCursor(m_cursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

UINT CIconButton::OnGetDlgCode()
{
    UINT code = CButton::OnGetDlgCode();
    code |= m_isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return code;
}

LRESULT CIconButton::OnBmSetStyle(WPARAM wParam, LPARAM lParam)
{
    const WPARAM type = wParam & kTypeMask;
    if (type == BS_DEFPUSHBUTTON)
        m_isDefault = TRUE;
    else if (type == BS_PUSHBUTTON)
        m_isDefault = FALSE;
    // Whatever look the dialog manager asks for, the control stays owner-drawn.
    return DefWindowProc(BM_SETSTYLE, (wParam & ~(WPARAM)kTypeMask) | BS_OWNERDRAW, lParam);
}

LRESULT CIconButton::OnBmSetCheck(WPARAM wParam, LPARAM)
{
    SetCheckState(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, TRUE);
    return 0;
}

LRESULT CIconButton::OnBmGetCheck(WPARAM, LPARAM)
{
    return GetCheckState();
}

LRESULT CIconButton::OnDpiChangedAfterParent(WPARAM, LPARAM)
{
    SetDpi(AfxGetWindowDpi(m_hWnd), TRUE);
    return Default();
}

LRESULT CIconButton::OnUpdateUIState(WPARAM wParam, LPARAM)
{
    // Kept from the message itself: Wine answers WM_QUERYUISTATE with 0 whatever it was told.
    const UINT before = m_uiState;
    const UINT flags = HIWORD(wParam);
    const LRESULT result = Default();
    if (LOWORD(wParam) == UIS_SET)
        m_uiState |= flags;
    else if (LOWORD(wParam) == UIS_CLEAR)
        m_uiState &= ~flags;
    else
        m_uiState = (UINT)::SendMessageA(m_hWnd, WM_QUERYUISTATE, 0, 0);
    // The focus rectangle shows or goes with the cues.
    if ((before ^ m_uiState) & UISF_HIDEFOCUS)
        Repaint();
    return result;
}

void CIconButton::OnSize(UINT nType, int cx, int cy)
{
    CButton::OnSize(nType, cx, cy);
    // The tip's tool and the parent snapshot were made for the old size.
    if (m_toolTip.m_hWnd && m_toolTip.GetToolCount() > 0) {
        RECT client = {0, 0, cx, cy};
        m_toolTip.SetToolRect(this, kToolId, &client);
    }
    DiscardBackground();
}

HBRUSH CIconButton::CtlColor(CDC*, UINT)
{
    // The button paints its whole face; no brush of the parent's is wanted.
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

void CIconButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    // The parent snapshot is taken again on the next paint, in the new colours.
    DiscardBackground();
    ApplySystemColors(TRUE);
}
