#include "app/RondixApp.h"

#include "stopwatch/RondixDlg.h"
#include "theme/ThemeBinding.h"

BEGIN_MESSAGE_MAP(CRondixApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

// No name: the framework reads it from the string table ("Tempik").
CRondixApp::CRondixApp() : CWinApp(nullptr)
{
}

BOOL CRondixApp::InitInstance()
{
    SetRegistryKey("Tempik");

    CRondixDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The dialog is gone with this frame; leave no pointer to it behind.
    m_pMainWnd = nullptr;

    // FALSE: end the program now rather than run a message loop without a window.
    return FALSE;
}

// Defined here, right before the application, so it is constructed first and destroyed last.
CThemeBinding g_themeBinding;

CRondixApp theApp;
