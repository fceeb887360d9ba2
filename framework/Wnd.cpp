#include "framework/Wnd.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

const CWnd CWnd::wndTopMost(HWND_TOPMOST);

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

void CWnd::DoDataExchange(CDataExchange*)
{
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}
