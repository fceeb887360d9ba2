#pragma once

#include "framework/CmdTarget.h"
#include "framework/String.h"

class CWnd;

#define ID_HELP 0xE146  // 57670: the standard Help command

// The one application object: start-up, the main window and the profile
// (registry) settings under HKEY_CURRENT_USER\Software\<key>\<app name>.
class CWinApp : public CCmdTarget
{
public:
    // Registers this object as AfxGetApp(). With no name the application's
    // name is string 57344, else the program file's name.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // Returns the process exit code.
    virtual int ExitInstance();
    // The message loop used when InitInstance returns TRUE; ends on WM_QUIT.
    virtual int Run();
    // Called when Run's queue is empty; deletes the temporary wrappers unless
    // a message handler is on the stack.
    virtual BOOL OnIdle(LONG lCount);

    // Profile settings live in the registry once a key is set; before that
    // the profile functions read defaults and write nothing.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    // A NULL value deletes the entry; a NULL entry deletes the section.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);

    // ID_HELP. The program ships no help file, so there is nothing to show:
    // the command is accepted and does nothing.
    afx_msg void OnHelp();

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    // The main window; cleared when that window is destroyed.
    CWnd* m_pMainWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    // HKCU\Software\<key>\<profile name>[\<section>]: opened for reading,
    // or opened (created if need be) for writing.
    HKEY OpenAppKey(LPCSTR lpszSection, BOOL bWrite);

    CString m_strAppName;
    CString m_strRegistryKey;
    CString m_strProfileName;
    int m_nQuitCode = 0;  // wParam of the WM_QUIT that ended Run
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module that holds resource lpszName of type lpszType (the program).
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// The framework's start-up, called by its WinMain: InitInstance, then Run or
// ExitInstance; returns the exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
