#include "settings/SettingsStore.h"

#include "framework/WinApp.h"
#include "settings/HotKeyIndex.h"
#include "settings/WindowRecord.h"

namespace {
const char SECTION_OPTIONS[] = "Options";
const char ENTRY_HOTKEY[] = "Hotkey";
const char SECTION_WINDOW[] = "Window";

bool IsUsable(CWinApp* pApp, HWND hWnd, const char* pszEntry)
{
    return pApp && hWnd && ::IsWindow(hWnd) && pszEntry;
}

CWindowRecord::Rect AsRecordRect(const RECT& rc)
{
    return {rc.left, rc.top, rc.right, rc.bottom};
}

// A window saved where a monitor no longer is, or on a larger screen, would come back
// (almost) out of sight; Windows itself rescues only one that lies wholly outside. The
// normal rectangle is moved before it is applied, so the window never shows where it
// was saved first.
void KeepInWorkArea(RECT& rc)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (!::GetMonitorInfoA(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    CWindowRecord::Point pt = CWindowRecord::KeepInWorkArea(AsRecordRect(rc), AsRecordRect(mi.rcWork));
    // Unsigned, as the record's own sums: a size that does not fit wraps instead of overflowing.
    rc.right = (LONG)((UINT)pt.x + ((UINT)rc.right - (UINT)rc.left));
    rc.bottom = (LONG)((UINT)pt.y + ((UINT)rc.bottom - (UINT)rc.top));
    rc.left = pt.x;
    rc.top = pt.y;
}
}  // namespace

int LoadHotKeySetting(CWinApp* pApp)
{
    if (!pApp)
        return CHotKeyIndex::UNSET;
    return (int)pApp->GetProfileInt(SECTION_OPTIONS, ENTRY_HOTKEY, CHotKeyIndex::UNSET);
}

void SaveHotKeySetting(CWinApp* pApp, int nHotKeyIndex)
{
    if (pApp)
        pApp->WriteProfileInt(SECTION_OPTIONS, ENTRY_HOTKEY, nHotKeyIndex);
}

void SaveWindowPlacement(CWinApp* pApp, HWND hWnd, const char* pszEntry, UINT nNormalShowCmd)
{
    if (!IsUsable(pApp, hWnd, pszEntry))
        return;
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    // Without a placement there is nothing worth writing over the last good record.
    if (!::GetWindowPlacement(hWnd, &wp))
        return;

    CWindowRecord record;
    record.SetState(wp.showCmd, nNormalShowCmd);
    record.m_nLeft = wp.rcNormalPosition.left;
    record.m_nTop = wp.rcNormalPosition.top;
    record.m_nRight = wp.rcNormalPosition.right;
    record.m_nBottom = wp.rcNormalPosition.bottom;
    char szText[CWindowRecord::TEXT_SIZE];
    record.Format(szText);
    pApp->WriteProfileString(SECTION_WINDOW, pszEntry, szText);
}

BOOL KeepWindowInWorkArea(HWND hWnd)
{
    RECT rc = {};
    if (!hWnd || !::GetWindowRect(hWnd, &rc) || ::IsIconic(hWnd))
        return FALSE;
    const RECT rcBefore = rc;
    KeepInWorkArea(rc);
    if (rc.left == rcBefore.left && rc.top == rcBefore.top)
        return FALSE;
    return ::SetWindowPos(hWnd, NULL, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RestoreWindowPlacement(CWinApp* pApp, HWND hWnd, const char* pszEntry)
{
    if (!IsUsable(pApp, hWnd, pszEntry))
        return;
    CString strText = pApp->GetProfileString(SECTION_WINDOW, pszEntry, CWindowRecord::DEFAULT_TEXT);
    CWindowRecord record;
    record.Parse(strText);

    RECT rcWindow = {};
    ::GetWindowRect(hWnd, &rcWindow);
    record.SetSize((LONG)((UINT)rcWindow.right - (UINT)rcWindow.left),
                   (LONG)((UINT)rcWindow.bottom - (UINT)rcWindow.top));

    // The stored flags and show command are not applied: maximised, the small borderless
    // window would cover the screen, and minimised it would not be seen at all.
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    wp.showCmd = SW_SHOWNORMAL;
    wp.rcNormalPosition.left = record.m_nLeft;
    wp.rcNormalPosition.top = record.m_nTop;
    wp.rcNormalPosition.right = record.m_nRight;
    wp.rcNormalPosition.bottom = record.m_nBottom;
    KeepInWorkArea(wp.rcNormalPosition);
    ::SetWindowPlacement(hWnd, &wp);
}
