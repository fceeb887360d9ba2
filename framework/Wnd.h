#pragma once

#include <windows.h>

#include "framework/CmdTarget.h"
#include "framework/HandleMap.h"
#include "framework/Point.h"
#include "framework/Rect.h"
#include "framework/String.h"

class CDC;
class CMenu;
class CDataExchange;

// A window: the handle map, subclassing, message dispatch through the message
// map, reflection of child notifications, and the window operations.
class CWnd : public CCmdTarget
{
public:
    HWND m_hWnd = nullptr;

    // Insert-after values for SetWindowPos.
    static const CWnd wndTopMost;

    CWnd() = default;
    // Lets go of a window it still has (unsubclassing it); the window lives on.
    ~CWnd() override;

    // The object for a window: its permanent object, or else a temporary one
    // (see AfxDeleteTempObjects); NULL for a NULL handle.
    static CWnd* PASCAL FromHandle(HWND hWnd);
    // The permanent object for a window, or NULL.
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // Routes the window's messages through this object; FALSE if another
    // object already has it. PreSubclassWindow runs first.
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow();
    // Called by the modal loop for a queued message to this window, then to
    // its parents; TRUE means translated, do not dispatch.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL DestroyWindow();

    // Dispatch: WindowProc -> OnWndMsg (message map) -> DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The subclassed original window procedure (or the system default).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message now being handled by this window.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A parent passes WM_COMMAND notifications, WM_DRAWITEM and WM_CTLCOLOR*
    // here first; TRUE means the child handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called after the window is gone and the object detached.
    virtual void PostNcDestroy();

    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Operations.
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    CMenu* GetSystemMenu(BOOL bRevert) const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD));
    BOOL KillTimer(UINT_PTR nIDEvent);
    CDC* GetDC();
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    CWnd* SetFocus();
    CWnd* SetCapture();
    static CWnd* PASCAL WindowFromPoint(POINT point);
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowText(CString& rString) const;
    void SetWindowText(LPCSTR lpszString);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends the message to every child (bDeep: and their children), or only to
    // those with a C++ object of their own (bOnlyPerm).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void Invalidate(BOOL bErase = TRUE);
    void UpdateWindow();
    BOOL ShowWindow(int nCmdShow);
    BOOL IsIconic() const;
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);

protected:
    // Default handlers: each runs the default processing of its message.
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnCancelMode();
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);

    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

    // The original window procedure of a subclassed window.
    WNDPROC m_pfnSuper = nullptr;

private:
    explicit CWnd(HWND hWndSpecial) : m_hWnd(hWndSpecial) {}
    typedef CHandleMap<CWnd, HWND, &CWnd::m_hWnd> Map;
};

// The window procedure of every subclassed window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Offers a queued message to the PreTranslateMessage of its window's object,
// then of each parent up to the top-level window; TRUE when one took it.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// What the framework's message loops do with a message taken from the queue:
// AfxPreTranslateMessage, else TranslateMessage and DispatchMessage, with the
// temporary maps locked meanwhile (also for windows and timer procedures
// that are not the framework's).
void AfxDispatchQueuedMessage(MSG* pMsg);
