#include "framework/Dialog.h"

#include "framework/WinApp.h"

namespace {
// The dialog whose window is being created: the CBT hook attaches it to the
// first dialog-class window created, before that window sees any message
// (other windows, such as the input method's, may be created first).
CDialog* s_pDialogInit = nullptr;

LRESULT CALLBACK DialogCreateHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && s_pDialogInit) {
        auto* pCreate = (CBT_CREATEWNDA*)lParam;
        char szClass[16] = {};
        ::GetClassNameA((HWND)wParam, szClass, (int)sizeof szClass);
        if (!(pCreate->lpcs->style & WS_CHILD) && ::lstrcmpA(szClass, "#32770") == 0) {
            CDialog* pDialog = s_pDialogInit;
            s_pDialogInit = nullptr;
            pDialog->SubclassWindow((HWND)wParam);
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The dialog procedure behind the dialog's original window procedure: only
// WM_INITDIALOG needs it; everything else went through the message map first.
INT_PTR CALLBACK DialogInitProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return pDialog ? pDialog->OnInitDialog() : TRUE;
}
}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    auto* pTemplate = hTemplate ? (LPCDLGTEMPLATEA)::LockResource(hTemplate) : nullptr;
    if (!pTemplate || m_hWnd)
        return -1;

    // The owner: the parent, else the main window unless that is this dialog;
    // it stays disabled while this dialog runs.
    HWND hWndOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hWndOwner) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain && pMain != this)
            hWndOwner = pMain->m_hWnd;
    }
    if (hWndOwner && (::GetWindowLongA(hWndOwner, GWL_STYLE) & WS_CHILD))
        hWndOwner = ::GetAncestor(hWndOwner, GA_ROOT);
    bool bEnableOwner = false;
    if (hWndOwner && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        bEnableOwner = true;
    }

    // Set before creation, so that EndDialog in OnInitDialog ends at once.
    m_nModalResult = -1;
    m_bInModalLoop = true;
    m_bContinueModal = true;

    CDialog* pPreviousInit = s_pDialogInit;
    s_pDialogInit = this;
    HHOOK hHook = ::SetWindowsHookExA(WH_CBT, &DialogCreateHook, nullptr, ::GetCurrentThreadId());
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, pTemplate, hWndOwner, &DialogInitProc, 0);
    if (hHook)
        ::UnhookWindowsHookEx(hHook);
    s_pDialogInit = pPreviousInit;
    // A template with a window class of its own is not taken over by the
    // hook; such a window would be left on the screen, never run or destroyed.
    if (hWnd && !m_hWnd && ::IsWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        hWnd = nullptr;
    }

    if (hWnd && m_bContinueModal && m_hWnd)
        RunModalLoop();
    else if (!hWnd)
        m_nModalResult = -1;
    m_bInModalLoop = false;
    m_bContinueModal = false;

    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    if (m_hWnd) {
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow();
    }
    return m_nModalResult;
}

INT_PTR CDialog::RunModalLoop()
{
    // A dialog that is still hidden (its template not visible, or its style
    // changed during initialisation) is shown once the queue first runs dry.
    bool bShowIdle = !(GetStyle() & WS_VISIBLE);
    MSG msg;
    while (m_bContinueModal && m_hWnd) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = false;
                continue;
            }
            // The temporary wrappers go, as at the application's idle: the
            // program spends its whole life in its main dialog's loop. A loop
            // that runs inside a handler, which may hold some, leaves them to
            // the loop outside.
            AfxLockTempMaps();
            AfxUnlockTempMaps(TRUE);
        }
        BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot == 0 || bGot == -1) {
            // WM_QUIT ends the dialog and goes on to the enclosing loop.
            if (bGot == 0)
                ::PostQuitMessage((int)msg.wParam);
            m_nModalResult = -1;
            break;
        }
        AfxDispatchQueuedMessage(&msg);
    }
    return m_nModalResult;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    if (m_bInModalLoop) {
        m_nModalResult = nResult;
        m_bContinueModal = false;
        if (m_hWnd)
            ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wake the loop
    }
    if (m_hWnd)
        ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                  (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    return bInput && m_hWnd && ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return nCode == CN_COMMAND && pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
