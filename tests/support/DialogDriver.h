#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Afx.h"

// Drives real dialogs from inside their own modal loops, and reads back what they show.
// Everything runs on the test's thread: scripts are started by thread timers, which
// every modal loop (dialog, popup menu) dispatches.
namespace DialogDriver {

// Runs fn once, from the first message loop that goes idle after delayMs.
void RunSoon(std::function<void()> fn, UINT delayMs = 1);
// Runs act on the window that find returns, as soon as it returns one; a failure after
// timeoutMs (then act is not run).
void WhenFound(std::function<HWND()> find, std::function<void(HWND)> act, DWORD timeoutMs = 5000);
// DoModal's result when the script left the dialog open and RunModal ended it.
constexpr int ENDED_BY_DRIVER = 0x7E57;
// Runs dlg modally as the application's main window, if there is an application object;
// script runs inside its modal loop once its window is up. Returns DoModal's result.
INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& script);

// Dispatches this thread's messages as a modal loop does until done() holds or timeoutMs
// passes; returns done(). bPreTranslate false: dispatched only, no PreTranslateMessage.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000, bool bPreTranslate = true);
// Dispatches this thread's messages for ms milliseconds.
void PumpFor(DWORD ms);

// A visible top-level window of this thread with that title (any class), or NULL.
HWND FindThreadWindow(const char* pszTitle);
// The same, shown or not yet shown.
HWND FindThreadWindowShownOrNot(const char* pszTitle);
// A tooltip of this thread that is showing its tip, or NULL.
HWND FindShownToolTip();
// The visible popup menu window of this thread, or NULL.
HWND FindPopupMenu();
// The item texts of a menu, "" for separators, and their command ids.
std::vector<std::string> MenuTexts(HMENU hMenu);
std::vector<UINT> MenuIds(HMENU hMenu);

std::string WindowText(HWND hWnd);
// The text of the tooltip tool that belongs to hWndTool; "" when it has none.
std::string TipTextOf(HWND hWndTool);

// TRUE when another window cannot take that function key: somebody holds it.
bool HotKeyTaken(UINT nVirtualKey);

}  // namespace DialogDriver
