#include "tests/support/DialogDriver.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace DialogDriver {

namespace {

std::map<UINT_PTR, std::function<void()>>& PendingScripts()
{
    static std::map<UINT_PTR, std::function<void()>> scripts;
    return scripts;
}

void CALLBACK RunPendingScript(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::KillTimer(nullptr, nIDEvent);
    auto it = PendingScripts().find(nIDEvent);
    if (it == PendingScripts().end())
        return;
    std::function<void()> fn = std::move(it->second);
    PendingScripts().erase(it);
    fn();
}

void WhenFoundStep(std::function<HWND()> find, std::function<void(HWND)> act, DWORD deadline)
{
    if (HWND hWnd = find()) {
        act(hWnd);
        return;
    }
    if ((int)(::GetTickCount() - deadline) >= 0) {
        ADD_FAILURE() << "the expected window did not appear";
        return;
    }
    RunSoon([=] { WhenFoundStep(find, act, deadline); }, 20);
}

struct ThreadWindowSearch {
    const char* pszTitle;
    const char* pszClass;
    bool bVisibleOnly;
    HWND hFound;
};

BOOL CALLBACK MatchThreadWindow(HWND hWnd, LPARAM lParam)
{
    auto* search = (ThreadWindowSearch*)lParam;
    if (search->bVisibleOnly && !::IsWindowVisible(hWnd))
        return TRUE;
    char text[256] = "";
    if (search->pszClass) {
        ::GetClassNameA(hWnd, text, sizeof text);
        if (lstrcmpA(text, search->pszClass) != 0)
            return TRUE;
    }
    if (search->pszTitle) {
        ::GetWindowTextA(hWnd, text, sizeof text);
        if (lstrcmpA(text, search->pszTitle) != 0)
            return TRUE;
    }
    search->hFound = hWnd;
    return FALSE;
}

HWND FindThreadWindowOf(const char* pszClass, const char* pszTitle, bool bVisibleOnly = true)
{
    ThreadWindowSearch search = {pszTitle, pszClass, bVisibleOnly, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchThreadWindow, (LPARAM)&search);
    return search.hFound;
}

}  // namespace

void RunSoon(std::function<void()> fn, UINT delayMs)
{
    UINT_PTR id = ::SetTimer(nullptr, 0, delayMs, RunPendingScript);
    ASSERT_NE(id, 0u);
    PendingScripts()[id] = std::move(fn);
}

void WhenFound(std::function<HWND()> find, std::function<void(HWND)> act, DWORD timeoutMs)
{
    DWORD deadline = ::GetTickCount() + timeoutMs;
    RunSoon([=] { WhenFoundStep(find, act, deadline); });
}

INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& script)
{
    WhenFound([&dlg] { return ::IsWindowVisible(dlg.m_hWnd) ? dlg.m_hWnd : nullptr; },
              [&dlg, &script](HWND hWnd) {
                  script(hWnd);
                  // A dialog that ended hides its window at once.
                  if (::IsWindowVisible(hWnd))
                      dlg.EndDialog(ENDED_BY_DRIVER);
              });
    // As the application does: the main window owns and centres the boxes it opens.
    CWinApp* pApp = AfxGetApp();
    if (pApp)
        pApp->m_pMainWnd = &dlg;
    INT_PTR result = dlg.DoModal();
    if (pApp)
        pApp->m_pMainWnd = nullptr;
    return result;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, bool bPreTranslate)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // As the framework's loops do: dialog keys (Esc, Enter, Tab) first.
            if (!bPreTranslate || !AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (done())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

HWND FindThreadWindow(const char* pszTitle)
{
    return FindThreadWindowOf(nullptr, pszTitle);
}

HWND FindThreadWindowShownOrNot(const char* pszTitle)
{
    return FindThreadWindowOf(nullptr, pszTitle, false);
}

HWND FindShownToolTip()
{
    return FindThreadWindowOf(TOOLTIPS_CLASSA, nullptr);
}

HWND FindPopupMenu()
{
    return FindThreadWindowOf("#32768", nullptr);
}

std::vector<std::string> MenuTexts(HMENU hMenu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        char text[128] = "";
        ::GetMenuStringA(hMenu, (UINT)i, text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

std::vector<UINT> MenuIds(HMENU hMenu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i)
        ids.push_back(::GetMenuItemID(hMenu, i));
    return ids;
}

std::string WindowText(HWND hWnd)
{
    char text[256] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

namespace {

struct TipSearch {
    HWND hWndTool;
    std::string text;
    bool found;
};

BOOL CALLBACK MatchToolTip(HWND hWnd, LPARAM lParam)
{
    auto* search = (TipSearch*)lParam;
    char className[64] = "";
    ::GetClassNameA(hWnd, className, sizeof className);
    if (lstrcmpiA(className, TOOLTIPS_CLASSA) != 0)
        return TRUE;
    int count = (int)::SendMessageA(hWnd, TTM_GETTOOLCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        if (!::SendMessageA(hWnd, TTM_ENUMTOOLSA, (WPARAM)i, (LPARAM)&ti) || ti.hwnd != search->hWndTool)
            continue;
        char text[256] = "";
        ti.lpszText = text;
        ::SendMessageA(hWnd, TTM_GETTEXTA, sizeof text, (LPARAM)&ti);
        search->text = text;
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string TipTextOf(HWND hWndTool)
{
    TipSearch search = {hWndTool, "", false};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchToolTip, (LPARAM)&search);
    return search.text;
}

bool HotKeyTaken(UINT nVirtualKey)
{
    const int PROBE_ID = 0x0BAD;
    if (!::RegisterHotKey(nullptr, PROBE_ID, 0, nVirtualKey))
        return true;
    ::UnregisterHotKey(nullptr, PROBE_ID);
    // A WM_HOTKEY for the probe may not be left behind in the queue.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
    }
    return false;
}

}  // namespace DialogDriver
