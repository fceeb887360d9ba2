// The floor Tempik's cost is measured against: a bare topmost popup of Tempik's
// size whose 27 ms timer paints nothing. A click starts the timer, as Start
// starts Tempik's; Esc ends the program. With "tooltip" on its command line it
// also loads the common controls and gives itself a tooltip, as Tempik's buttons
// do at start: that floor's memory is reported beside the bare one.
#include <windows.h>
#include <commctrl.h>

#include "framework/SysLibrary.h"

namespace {
const UINT_PTR kTickTimer = 1;
const UINT kTickMilliseconds = 27;
// Where Tempik opens without settings, and its window's size under Wine at
// 96 DPI (its template is 128 x 36 dialog units); at another display scale
// the bare window grows with the scale, as Tempik's does.
const int kLeft = 400;
const int kTop = 400;
const int kWidth = 198;
const int kHeight = 65;

int ScreenDpi()
{
    HDC screen = ::GetDC(NULL);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ::ReleaseDC(NULL, screen);
    return dpi;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        ::SetTimer(hwnd, kTickTimer, kTickMilliseconds, NULL);
        return 0;
    case WM_TIMER:
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            ::DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}
// Loaded by hand, so that the bare window's import table stays without it.
void AddToolTip(HWND hwnd, HINSTANCE instance)
{
    decltype(&::InitCommonControlsEx) init = nullptr;
    AfxGetProc(AfxLoadSysLibrary("comctl32.dll"), "InitCommonControlsEx", init);
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    if (!init || !init(&classes))
        return;
    HWND tip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, hwnd, NULL, instance, NULL);
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = const_cast<LPSTR>("Start the timer");
    ::SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // Erased in the readout's yellow, so the bench sees this window arrive on
    // screen the way it sees Tempik's first readout.
    HBRUSH background = ::CreateSolidBrush(RGB(255, 255, 0));
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = "TempikBaseline";
    if (!::RegisterClassA(&windowClass))
        return 1;
    // Wine treats every program as DPI aware: the screen's DPI is the scale's.
    const int dpi = ScreenDpi();
    HWND hwnd =
        ::CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "Tempik baseline", WS_POPUP | WS_VISIBLE, kLeft,
                          kTop, ::MulDiv(kWidth, dpi, 96), ::MulDiv(kHeight, dpi, 96), NULL, NULL, instance, NULL);
    if (hwnd && ::lstrcmpA(commandLine, "tooltip") == 0)
        AddToolTip(hwnd, instance);  // the tooltip goes with its owner window
    MSG msg;
    while (hwnd && ::GetMessageA(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ::UnregisterClassA(windowClass.lpszClassName, instance);
    ::DeleteObject(background);
    return 0;
}
