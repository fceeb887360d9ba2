// Plain windows for the framework tests: their class procedure stands for a
// window's original procedure and counts what reaches it.
#pragma once

#include <windows.h>

#include <map>

namespace fwtest {

// Messages whose answer from the original procedure is fixed, so a test can
// tell that default processing reached it.
constexpr UINT WM_TEST_UNMAPPED = WM_APP + 40;
constexpr UINT WM_TEST_DEFAULT = WM_APP + 41;
constexpr LRESULT kUnmappedAnswer = 0x5151;
constexpr LRESULT kDefaultAnswer = 0x700;
constexpr LRESULT kDlgCodeAnswer = 0x20;

inline std::map<UINT, int>& OriginalCounts()
{
    static std::map<UINT, int> counts;
    return counts;
}

inline LRESULT CALLBACK TestOriginalProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++OriginalCounts()[message];
    switch (message) {
    case WM_TEST_UNMAPPED:
        return kUnmappedAnswer;
    case WM_TEST_DEFAULT:
        return kDefaultAnswer;
    case WM_GETDLGCODE:
        return kDlgCodeAnswer;
    default:
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

inline HWND CreateTestWindow(HWND hWndParent = nullptr, DWORD dwStyle = WS_OVERLAPPEDWINDOW)
{
    static ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &TestOriginalProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.lpszClassName = "TempikFrameworkTestWindow";
        return ::RegisterClassA(&wc);
    }();
    (void)atom;
    return ::CreateWindowExA(0, "TempikFrameworkTestWindow", "test", dwStyle, 100, 100, 300, 200, hWndParent,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace fwtest
