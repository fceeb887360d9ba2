#pragma once

#include <windows.h>

#include "framework/HandleMap.h"

class CWnd;

// A menu handle; destroys the menu it owns.
class CMenu
{
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    static CMenu* PASCAL FromHandle(HMENU hMenu);
    HMENU Detach();

    BOOL CreatePopupMenu();
    // Menu resource nIDResource of the module AfxFindResourceHandle names.
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();

    CMenu* GetSubMenu(int nPos) const;
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr);

private:
    typedef CHandleMap<CMenu, HMENU, &CMenu::m_hMenu> Map;
};
