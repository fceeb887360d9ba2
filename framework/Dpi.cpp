#include "framework/Dpi.h"

#include "framework/SysLibrary.h"

UINT AfxGetWindowDpi(HWND hWnd)
{
    // Looked up, not imported: the program still starts where user32 lacks it.
    static const auto pfnGetDpiForWindow = AfxGetUser32Proc<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (hWnd && pfnGetDpiForWindow) {
        if (UINT nDpi = pfnGetDpiForWindow(hWnd))
            return nDpi;
    }
    HDC hdc = ::GetDC(nullptr);
    int nDpi = hdc ? ::GetDeviceCaps(hdc, LOGPIXELSY) : 0;
    if (hdc)
        ::ReleaseDC(nullptr, hdc);
    return nDpi > 0 ? (UINT)nDpi : USER_DEFAULT_SCREEN_DPI;
}
