#pragma once

#include <windows.h>

// Pixel figures are written for 96 DPI (USER_DEFAULT_SCREEN_DPI); a per-monitor-aware window
// draws them at its own DPI.

// Messages of Windows 10 1703 and later; the program builds for Windows 7.
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// The DPI of the monitor the window is on: GetDpiForWindow where user32 has it (Windows 10
// 1607 and later, Wine), else the screen's, which is every monitor's on older systems.
UINT AfxGetWindowDpi(HWND hWnd);

// A 96-DPI pixel figure at dpi, rounded as the system rounds its own.
inline int AfxScaleForDpi(int nPixels, UINT nDpi)
{
    return ::MulDiv(nPixels, (int)nDpi, USER_DEFAULT_SCREEN_DPI);
}
