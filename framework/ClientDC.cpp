#include "framework/ClientDC.h"

#include "framework/Wnd.h"

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    if (HDC hDC = Detach())
        ::ReleaseDC(m_hWnd, hDC);
}
