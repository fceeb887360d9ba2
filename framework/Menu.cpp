#include "framework/Menu.h"

#include <vector>

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

BOOL CMenu::Attach(HMENU hMenu)
{
    return Map::Attach(this, hMenu);
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

UINT CMenu::GetMenuItemCount() const
{
    return (UINT)::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    return ::GetMenuItemID(m_hMenu, nPos);
}

int CMenu::GetMenuString(UINT nIDItem, LPSTR lpString, int nMaxCount, UINT nFlags) const
{
    return ::GetMenuStringA(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int nLength = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength <= 0) {
        rString.Empty();
        return 0;
    }
    std::vector<char> buffer((size_t)nLength + 1, '\0');
    int nCopied = ::GetMenuStringA(m_hMenu, nIDItem, buffer.data(), nLength + 1, nFlags);
    rString = CString(buffer.data(), nCopied);
    return nCopied;
}
