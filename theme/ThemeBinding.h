#pragma once

#include <windows.h>
#include <uxtheme.h>

#include "framework/SysLibrary.h"

// Process-wide, instance-counted run-time binding to the visual-styles library.
class CThemeBinding
{
public:
    CThemeBinding();
    virtual ~CThemeBinding();

    // Copies would not be counted.
    CThemeBinding(const CThemeBinding&) = delete;
    CThemeBinding& operator=(const CThemeBinding&) = delete;

    // Loads the library and finds its seven functions; keeps it only when all are there.
    static void LoadThemeLibrary();

    // Callable only while s_bBound is TRUE; unbinding leaves them as they are.
    static decltype(&::CloseThemeData) s_pfnCloseThemeData;
    static decltype(&::DrawThemeBackground) s_pfnDrawThemeBackground;
    static decltype(&::DrawThemeText) s_pfnDrawThemeText;
    static decltype(&::GetThemeBackgroundContentRect) s_pfnGetThemeBackgroundContentRect;
    static decltype(&::IsAppThemed) s_pfnIsAppThemed;
    static decltype(&::IsThemeActive) s_pfnIsThemeActive;
    static decltype(&::OpenThemeData) s_pfnOpenThemeData;
    // UXTHEME.DLL of the system directory, or the tests' library; loaded while bound.
    static CSysLibrary s_themeLibrary;
    static BOOL s_bBound;
    static int s_nInstances;
};

// Full path of a library that tests bind instead of the system's UXTHEME.DLL; null in the program.
extern const char* g_pszThemeLibraryForTests;

// The program's one binding, defined beside the application object so it is constructed first.
extern CThemeBinding g_themeBinding;
