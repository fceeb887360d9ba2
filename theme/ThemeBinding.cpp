#include "theme/ThemeBinding.h"

#include <cstring>

decltype(&::CloseThemeData) CThemeBinding::s_pfnCloseThemeData = nullptr;
decltype(&::DrawThemeBackground) CThemeBinding::s_pfnDrawThemeBackground = nullptr;
decltype(&::DrawThemeText) CThemeBinding::s_pfnDrawThemeText = nullptr;
decltype(&::GetThemeBackgroundContentRect) CThemeBinding::s_pfnGetThemeBackgroundContentRect = nullptr;
decltype(&::IsAppThemed) CThemeBinding::s_pfnIsAppThemed = nullptr;
decltype(&::IsThemeActive) CThemeBinding::s_pfnIsThemeActive = nullptr;
decltype(&::OpenThemeData) CThemeBinding::s_pfnOpenThemeData = nullptr;
HMODULE CThemeBinding::s_hThemeLibrary = nullptr;
BOOL CThemeBinding::s_bBound = FALSE;
int CThemeBinding::s_nInstances = 0;

const char* g_pszThemeLibraryForTests = nullptr;

namespace {
// The library in the system directory. A bare "UXTHEME.DLL" would be searched for in the
// program's folder first, where a planted copy would run inside the program.
BOOL GetSystemLibraryPath(char (&szPath)[MAX_PATH])
{
    static const char szName[] = "\\UXTHEME.DLL";
    UINT nLength = ::GetSystemDirectoryA(szPath, MAX_PATH);
    if (nLength == 0 || nLength + sizeof szName > MAX_PATH)
        return FALSE;
    std::memcpy(szPath + nLength, szName, sizeof szName);
    return TRUE;
}

template <typename PFN>
void FindFunction(PFN& pfn, const char* pszName)
{
    pfn = reinterpret_cast<PFN>(reinterpret_cast<void*>(::GetProcAddress(CThemeBinding::s_hThemeLibrary, pszName)));
}
}  // namespace

CThemeBinding::CThemeBinding()
{
    ++s_nInstances;
    // Every construction retries a binding that failed before.
    if (!s_bBound)
        LoadThemeLibrary();
}

CThemeBinding::~CThemeBinding()
{
    if (s_nInstances > 0)
        --s_nInstances;
    if (s_nInstances == 0) {
        if (s_hThemeLibrary)
            ::FreeLibrary(s_hThemeLibrary);
        s_hThemeLibrary = nullptr;
        s_bBound = FALSE;
    }
}

void CThemeBinding::LoadThemeLibrary()
{
    char szPath[MAX_PATH];
    const char* pszPath = g_pszThemeLibraryForTests;
    if (!pszPath) {
        if (!GetSystemLibraryPath(szPath))
            return;
        pszPath = szPath;
    }
    // The library's own imports are looked for beside it, not beside the program.
    s_hThemeLibrary = ::LoadLibraryExA(pszPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!s_hThemeLibrary)
        return;

    // All seven are looked up even when one is missing.
    FindFunction(s_pfnCloseThemeData, "CloseThemeData");
    FindFunction(s_pfnDrawThemeBackground, "DrawThemeBackground");
    FindFunction(s_pfnDrawThemeText, "DrawThemeText");
    FindFunction(s_pfnGetThemeBackgroundContentRect, "GetThemeBackgroundContentRect");
    FindFunction(s_pfnIsAppThemed, "IsAppThemed");
    FindFunction(s_pfnIsThemeActive, "IsThemeActive");
    FindFunction(s_pfnOpenThemeData, "OpenThemeData");

    if (s_pfnCloseThemeData && s_pfnDrawThemeBackground && s_pfnDrawThemeText &&
        s_pfnGetThemeBackgroundContentRect && s_pfnIsAppThemed && s_pfnIsThemeActive && s_pfnOpenThemeData) {
        s_bBound = TRUE;
    } else {
        ::FreeLibrary(s_hThemeLibrary);
        s_hThemeLibrary = nullptr;
    }
}
