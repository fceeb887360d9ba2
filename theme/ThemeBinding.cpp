#include "theme/ThemeBinding.h"

decltype(&::CloseThemeData) CThemeBinding::s_pfnCloseThemeData = nullptr;
decltype(&::DrawThemeBackground) CThemeBinding::s_pfnDrawThemeBackground = nullptr;
decltype(&::DrawThemeText) CThemeBinding::s_pfnDrawThemeText = nullptr;
decltype(&::GetThemeBackgroundContentRect) CThemeBinding::s_pfnGetThemeBackgroundContentRect = nullptr;
decltype(&::IsAppThemed) CThemeBinding::s_pfnIsAppThemed = nullptr;
decltype(&::IsThemeActive) CThemeBinding::s_pfnIsThemeActive = nullptr;
decltype(&::OpenThemeData) CThemeBinding::s_pfnOpenThemeData = nullptr;
CSysLibrary CThemeBinding::s_themeLibrary;
BOOL CThemeBinding::s_bBound = FALSE;
int CThemeBinding::s_nInstances = 0;

const char* g_pszThemeLibraryForTests = nullptr;

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
        s_themeLibrary.Free();
        s_bBound = FALSE;
    }
}

void CThemeBinding::LoadThemeLibrary()
{
    const BOOL bLoaded = g_pszThemeLibraryForTests ? s_themeLibrary.LoadPath(g_pszThemeLibraryForTests)
                                                   : s_themeLibrary.Load("UXTHEME.DLL");
    if (!bLoaded)
        return;

    // All seven are looked up, in this order, even when one is missing.
    int nFound = 0;
    nFound += s_themeLibrary.GetProc("CloseThemeData", s_pfnCloseThemeData);
    nFound += s_themeLibrary.GetProc("DrawThemeBackground", s_pfnDrawThemeBackground);
    nFound += s_themeLibrary.GetProc("DrawThemeText", s_pfnDrawThemeText);
    nFound += s_themeLibrary.GetProc("GetThemeBackgroundContentRect", s_pfnGetThemeBackgroundContentRect);
    nFound += s_themeLibrary.GetProc("IsAppThemed", s_pfnIsAppThemed);
    nFound += s_themeLibrary.GetProc("IsThemeActive", s_pfnIsThemeActive);
    nFound += s_themeLibrary.GetProc("OpenThemeData", s_pfnOpenThemeData);
    if (nFound == 7)
        s_bBound = TRUE;
    else
        s_themeLibrary.Free();
}
