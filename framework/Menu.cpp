#include "framework/Menu.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    return Map::FromHandle<CMenu>(hMenu);
}

HMENU CMenu::Detach()
{
    return Map::Detach(this);
}

BOOL CMenu::CreatePopupMenu()
{
    return Map::AttachNew(this, ::CreatePopupMenu(), &::DestroyMenu);
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    LPCSTR lpszName = MAKEINTRESOURCEA(nIDResource);
    return Map::AttachNew(this, ::LoadMenuA(AfxFindResourceHandle(lpszName, RT_MENU), lpszName), &::DestroyMenu);
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
