#include "stopwatch/RondixDlg.h"

#include <iterator>

#include "app/AboutDlg.h"
#include "settings/HotKeyIndex.h"
#include "settings/SettingsStore.h"
#include "settings/TimerOptions.h"

namespace {

const char* const SETTINGS_ENTRY = "position";

// Where the left button went down on the window's body, in client coordinates.
POINT s_ptDragAnchor;
// Whether the drag under way has moved the window, so that its end saves the position.
BOOL s_bDragMoved;

// Posted to undo a maximise, once the system is done with it.
constexpr UINT WM_RESTORE_NORMAL = WM_APP;

// The buttons as CRondixDlg numbers them: their controls, and the icon and tip each starts
// with. Start/Stop's change with the stopwatch's look.
struct ButtonRow {
    int nId;
    UINT nIconId;
    const char* pszTip;
};
const ButtonRow BUTTONS[] = {
    {IDC_START_STOP, g_lookStopped.nIconId, g_lookStopped.pszTip},
    {IDC_RESET, IDI_RESET, "Reset the timer"},
    {IDC_MORE, IDI_MORE, "Display more options"},
};

}  // namespace

CRondixDlg::CRondixDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_hIcon(nullptr), m_nDpi(USER_DEFAULT_SCREEN_DPI),
      m_nLayoutDpi(USER_DEFAULT_SCREEN_DPI), m_layout(), m_hTemplateFont(nullptr), m_bKeyboardCues(TRUE),
      m_engine(*this), m_nHotKeyIndex(0), m_bResetting(FALSE)
{
    static_assert(std::size(BUTTONS) == BUTTON_COUNT);
    for (int i = 0; i < BUTTON_COUNT; ++i)
        m_nIcons[i] = BUTTONS[i].nIconId;
    // A shared resource icon: never destroyed.
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE(IDR_MAINFRAME), RT_GROUP_ICON);
    m_hIcon = ::LoadIconA(hInst, MAKEINTRESOURCE(IDR_MAINFRAME));
}

CRondixDlg::~CRondixDlg() = default;

void CRondixDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < BUTTON_COUNT; ++i)
        DDX_Control(pDX, BUTTONS[i].nId, m_buttons[i]);
}

BOOL CRondixDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        CString strAbout;
        strAbout.LoadString(IDS_ABOUTBOX);
        if (!strAbout.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAbout);
        }
    }

    // No caption, border or frame: the window is moved by dragging its body.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, WS_CLIPCHILDREN);
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, WS_EX_TOPMOST);
    // The system keeps the template's frame until told the style changed. Told only
    // later, a button painted when the window shows sits a frame's width off, and
    // since the window never erases, that copy would stay beside the real one.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);
    // Drawn nowhere without a caption; the taskbar, Alt+Tab and window lists show it.
    CString strTitle;
    strTitle.LoadString(AFX_IDS_APP_TITLE);
    SetWindowText(strTitle);

    // The window lays itself out again on a change of DPI; the dialog manager of Windows 10
    // 1703 and later would do so too, and the two would fight.
    using SetDpiBehavior = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    if (auto pfn = AfxGetUser32Proc<SetDpiBehavior>("SetDialogDpiChangeBehavior"))
        pfn(m_hWnd, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    m_nDpi = m_nLayoutDpi = AfxGetWindowDpi(m_hWnd);
    m_hTemplateFont = (HFONT)SendMessage(WM_GETFONT);
    CRect rcClient;
    GetClientRect(&rcClient);
    m_layout.size = {rcClient.Width(), rcClient.Height()};
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        m_buttons[i].GetWindowRect(&m_layout.buttons[i]);
        ScreenToClient(&m_layout.buttons[i]);
    }
    // Sized before the saved position is applied, which keeps the whole window in view.
    ApplyDpi(nullptr);

    LoadHotKeySetting();
    RestoreWindowPlacement(m_hWnd, SETTINGS_ENTRY);
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);

    for (int i = 0; i < BUTTON_COUNT; ++i) {
        m_buttons[i].SetDpi(m_nDpi, FALSE);
        LoadButtonIcons(i);
        m_buttons[i].ShiftColor(CIconButton::ColorActiveBack, 30, TRUE);
        m_buttons[i].SetTipText(BUTTONS[i].pszTip, TRUE);
    }

    m_nHotKeyIndex = CHotKeyIndex::Initial(m_nHotKeyIndex);
    RegisterToggleHotKey();

    // Focus rectangles hidden until the keyboard is used, unless the user asked to see them always.
    BOOL bAlwaysCues = FALSE;
    if (::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &bAlwaysCues, 0) && !bAlwaysCues)
        ShowKeyboardCues(FALSE);

    m_pWindowDC = std::make_unique<CClientDC>(this);
    CreateReadout();

    // Not announced: nobody has seen the window yet.
    m_engine.ResetTiming();
    return TRUE;
}

void CRondixDlg::ShowKeyboardCues(BOOL bShow)
{
    m_bKeyboardCues = bShow;
    const WPARAM wParam = MAKEWPARAM(bShow ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL);
    // Windows passes the change on to every child; Wine neither keeps nor passes it.
    SendMessage(WM_CHANGEUISTATE, wParam);
    SendMessageToDescendants(WM_UPDATEUISTATE, wParam, 0, FALSE);
}

BOOL CRondixDlg::PreTranslateMessage(MSG* pMsg)
{
    if (!m_bKeyboardCues) {
        const bool bNavigation = pMsg->message == WM_KEYDOWN &&
                                 (pMsg->wParam == VK_TAB || pMsg->wParam == VK_LEFT || pMsg->wParam == VK_RIGHT ||
                                  pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN);
        const bool bAlt = pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_MENU;
        if (bNavigation || bAlt)
            ShowKeyboardCues(TRUE);
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CRondixDlg::OnDestroy()
{
    SaveSettings();
    ::UnregisterHotKey(m_hWnd, ID_HOTKEY_TOGGLE);
    m_pWindowDC.reset();
    if (m_pAccessible) {
        m_pAccessible->Disconnect();
        m_pAccessible.Release();
    }
    CDialog::OnDestroy();
}

// Stopwatch operations and the engine's outlets.

void CRondixDlg::StartTiming()
{
    m_engine.StartTiming();
}

void CRondixDlg::StopTiming()
{
    m_engine.StopTiming();
}

void CRondixDlg::ResetTiming()
{
    m_bResetting = TRUE;
    m_engine.ResetTiming();
    m_bResetting = FALSE;
    AnnounceReadout();
}

void CRondixDlg::AnnounceReadout()
{
    // Only settled values: a value event per tick would keep a screen reader talking.
    ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hWnd, OBJID_CLIENT, CRondixAccessible::CHILD_READOUT);
}

LRESULT CRondixDlg::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    // Only the client area is Tempik's own. None before the set-up or after OnDestroy.
    if ((LONG)(DWORD)lParam != OBJID_CLIENT || !m_pWindowDC)
        return Default();
    if (!m_pAccessible)
        m_pAccessible.Attach(CRondixAccessible::Create(*this));
    return m_pAccessible ? m_pAccessible->Serve(wParam) : Default();
}

void CRondixDlg::OnTimer(UINT_PTR nIDEvent)
{
    m_engine.OnTimer(nIDEvent);
}

LRESULT CRondixDlg::OnHotKey(WPARAM wParam, LPARAM lParam)
{
    return m_engine.OnHotKey(wParam, lParam);
}

CPreciseTime CRondixDlg::CaptureTime()
{
    return m_clock.Now();
}

void CRondixDlg::SetTickTimer(BOOL bOn)
{
    if (bOn)
        SetTimer(ID_TICK_TIMER, TICK_INTERVAL, nullptr);
    else
        KillTimer(ID_TICK_TIMER);
}

void CRondixDlg::ShowStartStopLook(const StartStopLook& look)
{
    CIconButton& button = m_buttons[BUTTON_START_STOP];
    const BOOL bChanged = m_nIcons[BUTTON_START_STOP] != look.nIconId;
    m_nIcons[BUTTON_START_STOP] = look.nIconId;
    LoadButtonIcons(BUTTON_START_STOP);
    button.SetWindowText(look.pszCaption);
    button.SetTipText(look.pszTip, TRUE);
    if (!bChanged)
        return;
    // Its name is its caption, "Stop" while running; a stop also settles the readout.
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_hWnd, OBJID_CLIENT, CRondixAccessible::CHILD_START_STOP);
    if (&look == &g_lookStopped && !m_bResetting)
        AnnounceReadout();
}

// Settings.

int CRondixDlg::LoadHotKeySetting()
{
    m_nHotKeyIndex = ::LoadHotKeySetting(AfxGetApp());
    return m_nHotKeyIndex;
}

void CRondixDlg::SaveHotKeySetting()
{
    ::SaveHotKeySetting(AfxGetApp(), m_nHotKeyIndex);
}

void CRondixDlg::SaveWindowPlacement(HWND hWnd, const char* pszEntry, UINT nNormalShowCmd)
{
    ::SaveWindowPlacement(AfxGetApp(), hWnd, pszEntry, nNormalShowCmd);
}

void CRondixDlg::RestoreWindowPlacement(HWND hWnd, const char* pszEntry)
{
    ::RestoreWindowPlacement(AfxGetApp(), hWnd, pszEntry);
}

void CRondixDlg::SaveSettings()
{
    SaveHotKeySetting();
    SavePosition();
}

void CRondixDlg::SavePosition()
{
    SaveWindowPlacement(m_hWnd, SETTINGS_ENTRY, SW_SHOW);
}

BOOL CRondixDlg::RegisterToggleHotKey()
{
    ::UnregisterHotKey(m_hWnd, ID_HOTKEY_TOGGLE);
    // Another program may hold the key; at start-up the window then runs without one.
    if (!CHotKeyIndex::HasKey(m_nHotKeyIndex))
        return TRUE;
    return ::RegisterHotKey(m_hWnd, ID_HOTKEY_TOGGLE, 0, CHotKeyIndex::VirtualKey(m_nHotKeyIndex));
}

// Commands and menus.

BEGIN_MESSAGE_MAP(CRondixDlg, CDialog)
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SYSCOMMAND()
    ON_WM_TIMER()
    ON_WM_ENTERMENULOOP()
    ON_WM_EXITMENULOOP()
    ON_BN_CLICKED(IDC_MORE, &CRondixDlg::OnMore)
    ON_BN_CLICKED(IDC_RESET, &CRondixDlg::ResetTiming)
    ON_BN_CLICKED(IDC_START_STOP, &CRondixDlg::StartTiming)
    ON_COMMAND(ID_TIMER_ABOUT, &CRondixDlg::OnAbout)
    ON_COMMAND(ID_TIMER_START, &CRondixDlg::StartTiming)
    ON_COMMAND(ID_TIMER_STOP, &CRondixDlg::StopTiming)
    ON_COMMAND(ID_TIMER_OPTIONS, &CRondixDlg::OnOptions)
    ON_COMMAND(ID_TIMER_EXIT, &CRondixDlg::OnExit)
    ON_MESSAGE(WM_HOTKEY, &CRondixDlg::OnHotKey)
    ON_MESSAGE(WM_LBUTTONDOWN, &CRondixDlg::OnDragStart)
    ON_MESSAGE(WM_LBUTTONUP, &CRondixDlg::OnDragEnd)
    ON_MESSAGE(WM_MOUSEMOVE, &CRondixDlg::OnDragMove)
    ON_MESSAGE(WM_CAPTURECHANGED, &CRondixDlg::OnCaptureChanged)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, &CRondixDlg::OnWindowPosChanging)
    ON_MESSAGE(WM_RESTORE_NORMAL, &CRondixDlg::OnRestoreNormal)
    ON_MESSAGE(WM_ERASEBKGND, &CRondixDlg::OnEraseBackground)
    ON_MESSAGE(WM_ENDSESSION, &CRondixDlg::OnEndSession)
    ON_MESSAGE(WM_DPICHANGED, &CRondixDlg::OnDpiChanged)
    ON_MESSAGE(WM_GETDPISCALEDSIZE, &CRondixDlg::OnGetDpiScaledSize)
    ON_MESSAGE(WM_DISPLAYCHANGE, &CRondixDlg::OnDisplayChange)
    ON_MESSAGE(WM_SETTINGCHANGE, &CRondixDlg::OnSettingChange)
    ON_MESSAGE(WM_GETOBJECT, &CRondixDlg::OnGetObject)
END_MESSAGE_MAP()

void CRondixDlg::ShowPopupMenu(int x, int y)
{
    UINT nMenuId = m_engine.m_bRunning ? IDR_MENU_RUNNING : IDR_MENU_STOPPED;
    CMenu menu;
    if (!menu.LoadMenu(nMenuId))
        return;
    if (CMenu* pPopup = menu.GetSubMenu(0))
        pPopup->TrackPopupMenu(0, x, y, this, nullptr);
}

// A popup menu opens (More, a right click, the menu key): no tip may cover it.
void CRondixDlg::OnEnterMenuLoop(BOOL bIsTrackPopupMenu)
{
    for (CIconButton& button : m_buttons)
        button.SuspendToolTip(TRUE);
    CDialog::OnEnterMenuLoop(bIsTrackPopupMenu);
}

void CRondixDlg::OnExitMenuLoop(BOOL bIsTrackPopupMenu)
{
    for (CIconButton& button : m_buttons)
        button.SuspendToolTip(FALSE);
    CDialog::OnExitMenuLoop(bIsTrackPopupMenu);
}

void CRondixDlg::OnContextMenu(CWnd*, CPoint point)
{
    // The menu key and Shift+F10 deliver (-1, -1), which asks for a place: under the focused
    // button, where a keyboard user looks, else under the readout.
    if (point.x == -1 && point.y == -1) {
        CRect rect = ReadoutRect();
        ClientToScreen(&rect);
        const HWND hFocus = ::GetFocus();
        for (CIconButton& button : m_buttons)
            if (button.m_hWnd == hFocus)
                button.GetWindowRect(&rect);
        point = CPoint(rect.left, rect.bottom);
    }
    ShowPopupMenu(point.x, point.y);
}

void CRondixDlg::OnMore()
{
    CRect rect;
    m_buttons[BUTTON_MORE].GetWindowRect(&rect);
    ShowPopupMenu(rect.left, rect.bottom);
}

void CRondixDlg::OnOptions()
{
    StopTiming();
    CTimerOptions dlg(nullptr);
    dlg.m_nHotKeyIndex = m_nHotKeyIndex;
    // The key is registered while the dialog is still open, so that a taken one can be refused.
    dlg.m_fnApplyHotKey = [this](int nIndex) {
        const int nPrevious = m_nHotKeyIndex;
        m_nHotKeyIndex = nIndex;
        if (RegisterToggleHotKey())
            return TRUE;
        m_nHotKeyIndex = nPrevious;
        RegisterToggleHotKey();
        return FALSE;
    };
    if (dlg.DoModal() == IDOK) {
        m_nHotKeyIndex = dlg.m_nHotKeyIndex;
        // Saved at once: a Tempik ended by force or a crash keeps the key chosen.
        SaveHotKeySetting();
    }
    // The hot key works inside the dialog too; whatever it did, Options ends stopped at zero.
    ResetTiming();
}

void CRondixDlg::OnExit()
{
    SaveSettings();
    EndDialog(-1);
}

void CRondixDlg::OnAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CRondixDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
        OnAbout();
    else
        CDialog::OnSysCommand(nID, lParam);
}

LRESULT CRondixDlg::OnDisplayChange(WPARAM, LPARAM)
{
    // Also when a monitor went away: the window is then in none, and the nearest is used.
    if (KeepWindowInWorkArea(m_hWnd))
        SavePosition();
    return Default();
}

LRESULT CRondixDlg::OnSettingChange(WPARAM wParam, LPARAM)
{
    if (wParam == SPI_SETWORKAREA && KeepWindowInWorkArea(m_hWnd))
        SavePosition();
    return Default();
}

LRESULT CRondixDlg::OnEndSession(WPARAM wParam, LPARAM)
{
    // Windows ends the process after this without WM_DESTROY.
    if (wParam)
        SaveSettings();
    return 0;
}

// Dragging the captionless window by its body.

LRESULT CRondixDlg::OnDragStart(WPARAM, LPARAM lParam)
{
    SetCapture();
    s_bDragMoved = FALSE;
    s_ptDragAnchor.x = (short)LOWORD(lParam);
    s_ptDragAnchor.y = (short)HIWORD(lParam);
    return 0;
}

LRESULT CRondixDlg::OnDragMove(WPARAM, LPARAM lParam)
{
    if (::GetCapture() == m_hWnd) {
        CRect rect;
        GetWindowRect(&rect);
        int dx = (short)LOWORD(lParam) - s_ptDragAnchor.x;
        int dy = (short)HIWORD(lParam) - s_ptDragAnchor.y;
        // The window moves under the cursor, so the grab point stays where it was pressed.
        SetWindowPos(nullptr, rect.left + dx, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        s_bDragMoved |= dx != 0 || dy != 0;
    }
    return 1;
}

LRESULT CRondixDlg::OnDragEnd(WPARAM, LPARAM)
{
    ::ReleaseCapture();
    return 0;
}

LRESULT CRondixDlg::OnCaptureChanged(WPARAM, LPARAM)
{
    // Saved at once, not only at exit: a Tempik ended by force keeps its place.
    if (s_bDragMoved)
        SavePosition();
    s_bDragMoved = FALSE;
    return Default();
}

void CRondixDlg::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    OnOptions();
    CDialog::OnLButtonDblClk(nFlags, point);
}

void CRondixDlg::OnNcLButtonDblClk(UINT, CPoint)
{
    // Swallowed: without a caption there is nothing to maximise or restore.
}

// The window is only ever normal, but Windows may still maximise it (Win+Up, the taskbar,
// another program). Maximised, it keeps its size and place, so that it never covers the
// screen, not even for a moment, and is made normal once the system is done.
LRESULT CRondixDlg::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    if (::IsZoomed(m_hWnd)) {
        ((WINDOWPOS*)lParam)->flags |= SWP_NOMOVE | SWP_NOSIZE;
        PostMessage(WM_RESTORE_NORMAL);
    }
    return Default();
}

LRESULT CRondixDlg::OnRestoreNormal(WPARAM, LPARAM)
{
    // Minimised meanwhile, it stays so; the next restore ends here again.
    if (::IsZoomed(m_hWnd))
        ShowWindow(SW_RESTORE);
    return 0;
}
