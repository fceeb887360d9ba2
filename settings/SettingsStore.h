#pragma once

// The two settings kept between runs, the hot-key index and where the main window was, read
// and written through the application's profile. The main dialog calls these from its members
// of the same names.

#include <windows.h>

class CWinApp;

// Options/Hotkey; -1 when never stored.
int LoadHotKeySetting(CWinApp* pApp);
void SaveHotKeySetting(CWinApp* pApp, int nHotKeyIndex);

// Writes hWnd's placement as the text record Window/pszEntry; a window in its normal state is
// stored with nNormalShowCmd, a minimised or maximised one as normal (SW_SHOWNORMAL).
void SaveWindowPlacement(CWinApp* pApp, HWND hWnd, const char* pszEntry, UINT nNormalShowCmd);
// Shows hWnd in its normal state at the place stored under Window/pszEntry, keeping its
// present size, whatever state the record names; a place where less than half its width or
// height lies in the nearest monitor's work area is moved the shortest way into that work area.
void RestoreWindowPlacement(CWinApp* pApp, HWND hWnd, const char* pszEntry);
// The same rescue for a window already shown, after the screen or the work area changed:
// moved the shortest way into view when less than half of it is in; TRUE when it moved.
BOOL KeepWindowInWorkArea(HWND hWnd);
