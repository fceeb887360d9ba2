// A stand-in for the visual-styles library: all seven functions the binding looks for when
// FAKE_UXTHEME_COMPLETE is defined, else all but "OpenThemeData". Each load is counted in the
// environment variable FAKE_UXTHEME_COUNTER of the process, which outlives the library.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

extern "C" {
__declspec(dllexport) HRESULT WINAPI CloseThemeData(HANDLE)
{
    return S_OK;
}
__declspec(dllexport) HRESULT WINAPI DrawThemeBackground(HANDLE, HDC, int, int, const RECT*, const RECT*)
{
    return S_OK;
}
__declspec(dllexport) HRESULT WINAPI DrawThemeText(HANDLE, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*)
{
    return S_OK;
}
__declspec(dllexport) HRESULT WINAPI GetThemeBackgroundContentRect(HANDLE, HDC, int, int, const RECT*, RECT*)
{
    return S_OK;
}
__declspec(dllexport) BOOL WINAPI IsAppThemed()
{
    return FALSE;
}
__declspec(dllexport) BOOL WINAPI IsThemeActive()
{
    return FALSE;
}
#ifdef FAKE_UXTHEME_COMPLETE
__declspec(dllexport) HANDLE WINAPI OpenThemeData(HWND, LPCWSTR)
{
    return nullptr;
}
#endif
}

BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        char szCount[16] = "0";
        ::GetEnvironmentVariableA(FAKE_UXTHEME_COUNTER, szCount, sizeof szCount);
        std::snprintf(szCount, sizeof szCount, "%d", std::atoi(szCount) + 1);
        ::SetEnvironmentVariableA(FAKE_UXTHEME_COUNTER, szCount);
    }
    return TRUE;
}
