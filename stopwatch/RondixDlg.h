#pragma once

#include <memory>

#include "controls/IconButton.h"
#include "framework/Afx.h"
#include "res/resource.h"
#include "stopwatch/ReadoutPainter.h"
#include "stopwatch/RondixAccessible.h"
#include "stopwatch/StopwatchEngine.h"
#include "time/MonotonicClock.h"

// The main window: a borderless, always-on-top stopwatch with its readout and three buttons.
class CRondixDlg : public CDialog, private IStopwatchOutlets
{
public:
    enum { IDD = IDD_RONDIX_DIALOG };
    // Id of the one global hot key the window registers.
    static constexpr int ID_HOTKEY_TOGGLE = 100;

    explicit CRondixDlg(CWnd* pParent = nullptr);
    ~CRondixDlg() override;

    // Stopwatch operations; the engine decides, the window only shows.
    void StartTiming();
    void StopTiming();
    void ResetTiming();

    // Settings kept in the application's profile.
    int LoadHotKeySetting();
    void SaveHotKeySetting();
    void SaveWindowPlacement(HWND hWnd, const char* pszEntry, UINT nNormalShowCmd);
    void RestoreWindowPlacement(HWND hWnd, const char* pszEntry);

    // Popup menu for the present state, top-left corner at the screen point (x, y).
    void ShowPopupMenu(int x, int y);

    BOOL IsRunning() const { return m_engine.m_bRunning; }
    int GetHotKeyIndex() const { return m_nHotKeyIndex; }

    // Shows the keyboard cues (focus rectangles) once the keyboard moves the focus or Alt is pressed.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnMore();
    afx_msg void OnAbout();
    afx_msg void OnOptions();
    afx_msg void OnExit();
    afx_msg LRESULT OnHotKey(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragStart(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragEnd(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragMove(WPARAM wParam, LPARAM lParam);
    // The drag ends: by the button's release, or by the capture lost to another window.
    afx_msg LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    // Posted when the window is maximised: it is shown normal again.
    afx_msg LRESULT OnRestoreNormal(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    // The window moved to a monitor of another DPI (wParam), or is asked the size it would take there.
    afx_msg LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetDpiScaledSize(WPARAM wParam, LPARAM lParam);
    // The screen or the work area changed: a window now mostly out of view is brought back.
    afx_msg LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    // A screen reader asks for the client area's accessible object.
    afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Reads the readout and the buttons as they are when a client asks.
    friend class CRondixAccessible;

    // IStopwatchOutlets: how the engine reaches the window.
    CPreciseTime CaptureTime() override;
    void SetTickTimer(BOOL bOn) override;
    void ShowStartStopLook(const StartStopLook& look) override;
    void PaintReadout(CString text) override;

    // Shows m_strReadout in the window, in full or only where it changed.
    void ShowReadout(BOOL bFull);
    // Registers the toggle key of m_nHotKeyIndex in place of the present one, if any; FALSE
    // when another program holds it.
    BOOL RegisterToggleHotKey();
    // Writes both settings, as on Exit.
    void SaveSettings();
    void SavePosition();
    // Tells screen readers that the readout's value has settled (a stop or a reset).
    void AnnounceReadout();

    // The buttons, left to right, in the order of Tab and of the accessible children.
    enum { BUTTON_START_STOP, BUTTON_RESET, BUTTON_MORE, BUTTON_COUNT };

    // The window's size and its buttons' rectangles (client pixels) at a DPI.
    struct Layout {
        SIZE size;
        CRect buttons[BUTTON_COUNT];
    };
    Layout LayoutFor(UINT nDpi) const;
    // Lays the window out for m_nDpi, at the suggested rectangle's corner if there is one, and,
    // once the window is set up, remakes everything drawn at a DPI: fonts, icons, readout.
    void ApplyDpi(const RECT* prcSuggested);
    // Button i's icons, of m_nIcons[i], for m_nDpi.
    void LoadButtonIcons(int i);
    // The readout's font and off-screen surfaces for m_nDpi.
    void CreateReadout();
    CRect ReadoutRect() const;
    CIconButton* Buttons(int i);
    // Windows' keyboard-cue state for the window and its buttons.
    void ShowKeyboardCues(BOOL bShow);

    CIconButton m_buttons[BUTTON_COUNT];
    HICON m_hIcon;
    // The icon each button shows now, loaded again at a new DPI.
    UINT m_nIcons[BUTTON_COUNT];
    // The DPI the window is drawn at, and the one the dialog manager laid the template out
    // for, with that layout: every other DPI's is scaled from it.
    UINT m_nDpi;
    UINT m_nLayoutDpi;
    Layout m_layout;
    // The dialog manager's font for the buttons' captions, and the same font at another DPI.
    HFONT m_hTemplateFont;
    CFont m_fontButtons;
    BOOL m_bKeyboardCues;
    CStopwatchEngine m_engine;
    int m_nHotKeyIndex;
    CFont m_fontReadout;
    // Declared after the font it draws with, so it is destroyed first.
    CReadoutPainter m_readout;
    // The window's own DC, kept from initialisation until WM_DESTROY releases it.
    std::unique_ptr<CClientDC> m_pWindowDC;
    CMonotonicClock m_clock;
    // The text last painted, drawn again whenever the window is uncovered.
    CString m_strReadout;
    // Inside ResetTiming, whose stop is announced with the reset, once.
    BOOL m_bResetting;
    // Made on the first WM_GETOBJECT, disconnected in OnDestroy.
    CComPtr<CRondixAccessible> m_pAccessible;
};
