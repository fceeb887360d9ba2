#pragma once

#include "framework/CmdTarget.h"
#include "framework/DC.h"
#include "framework/Wnd.h"

// Window-message entries with MFC's decoded handler forms. Not for clang-format,
// which takes an entry's braced initializer for a block.
// clang-format off
#define AFX_POINT_LPARAM CPoint((short)LOWORD(lParam), (short)HIWORD(lParam))

#define ON_WM_TIMER() \
    { WM_TIMER, 0, 0, 0, AFX_MSG_THUNK(pThis->OnTimer((UINT_PTR)wParam); return TRUE;) },
#define ON_WM_PAINT() \
    { WM_PAINT, 0, 0, 0, AFX_MSG_THUNK(pThis->OnPaint(); return TRUE;) },
#define ON_WM_DESTROY() \
    { WM_DESTROY, 0, 0, 0, AFX_MSG_THUNK(pThis->OnDestroy(); return TRUE;) },
#define ON_WM_CONTEXTMENU()                                                              \
    { WM_CONTEXTMENU, 0, 0, 0,                                                           \
      AFX_MSG_THUNK(pThis->OnContextMenu(CWnd::FromHandle((HWND)wParam), AFX_POINT_LPARAM); \
                    return TRUE;) },
#define ON_WM_LBUTTONDBLCLK()                                                            \
    { WM_LBUTTONDBLCLK, 0, 0, 0,                                                         \
      AFX_MSG_THUNK(pThis->OnLButtonDblClk((UINT)wParam, AFX_POINT_LPARAM); return TRUE;) },
#define ON_WM_NCLBUTTONDBLCLK()                                                          \
    { WM_NCLBUTTONDBLCLK, 0, 0, 0,                                                       \
      AFX_MSG_THUNK(pThis->OnNcLButtonDblClk((UINT)wParam, AFX_POINT_LPARAM); return TRUE;) },
#define ON_WM_SYSCOMMAND()                                                               \
    { WM_SYSCOMMAND, 0, 0, 0,                                                            \
      AFX_MSG_THUNK(pThis->OnSysCommand((UINT)wParam, lParam); return TRUE;) },
#define ON_WM_QUERYDRAGICON()                                                            \
    { WM_QUERYDRAGICON, 0, 0, 0,                                                         \
      AFX_MSG_THUNK(*pResult = (LRESULT)pThis->OnQueryDragIcon(); return TRUE;) },
#define ON_WM_SETCURSOR()                                                                \
    { WM_SETCURSOR, 0, 0, 0,                                                             \
      AFX_MSG_THUNK(*pResult = pThis->OnSetCursor(CWnd::FromHandle((HWND)wParam),        \
                                                  LOWORD(lParam), HIWORD(lParam));       \
                    return TRUE;) },
#define ON_WM_KILLFOCUS()                                                                \
    { WM_KILLFOCUS, 0, 0, 0,                                                             \
      AFX_MSG_THUNK(pThis->OnKillFocus(CWnd::FromHandle((HWND)wParam)); return TRUE;) },
#define ON_WM_MOUSEMOVE()                                                                \
    { WM_MOUSEMOVE, 0, 0, 0,                                                             \
      AFX_MSG_THUNK(pThis->OnMouseMove((UINT)wParam, AFX_POINT_LPARAM); return TRUE;) },
#define ON_WM_SYSCOLORCHANGE() \
    { WM_SYSCOLORCHANGE, 0, 0, 0, AFX_MSG_THUNK(pThis->OnSysColorChange(); return TRUE;) },
#define ON_WM_SIZE()                                                                     \
    { WM_SIZE, 0, 0, 0,                                                                  \
      AFX_MSG_THUNK(pThis->OnSize((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return TRUE;) },
#define ON_WM_ACTIVATE()                                                                 \
    { WM_ACTIVATE, 0, 0, 0,                                                              \
      AFX_MSG_THUNK(pThis->OnActivate(LOWORD(wParam), CWnd::FromHandle((HWND)lParam),    \
                                      HIWORD(wParam) != 0);                              \
                    return TRUE;) },
#define ON_WM_ENABLE() \
    { WM_ENABLE, 0, 0, 0, AFX_MSG_THUNK(pThis->OnEnable((BOOL)wParam); return TRUE;) },
#define ON_WM_CANCELMODE() \
    { WM_CANCELMODE, 0, 0, 0, AFX_MSG_THUNK(pThis->OnCancelMode(); return TRUE;) },
#define ON_WM_GETDLGCODE() \
    { WM_GETDLGCODE, 0, 0, 0, AFX_MSG_THUNK(*pResult = pThis->OnGetDlgCode(); return TRUE;) },
#define ON_WM_ENTERMENULOOP()                                                            \
    { WM_ENTERMENULOOP, 0, 0, 0,                                                         \
      AFX_MSG_THUNK(pThis->OnEnterMenuLoop((BOOL)wParam); return TRUE;) },
#define ON_WM_EXITMENULOOP()                                                             \
    { WM_EXITMENULOOP, 0, 0, 0,                                                          \
      AFX_MSG_THUNK(pThis->OnExitMenuLoop((BOOL)wParam); return TRUE;) },
// HBRUSH CtlColor(CDC*, UINT nCtlColor): the child's own WM_CTLCOLOR*, reflected
// back from its parent; a NULL brush leaves the message to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                         \
    { WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                            \
      AFX_MSG_THUNK(HBRUSH hbr = pThis->CtlColor(CDC::FromHandle((HDC)wParam), (UINT)lParam); \
                    if (!hbr) return FALSE;                                              \
                    *pResult = (LRESULT)hbr;                                             \
                    return TRUE;) },
// clang-format on
