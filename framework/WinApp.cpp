#include "framework/WinApp.h"

#include <vector>

#include "framework/FrameworkRes.h"
#include "framework/ProfileValue.h"
#include "framework/Wnd.h"

namespace {
CWinApp* s_pApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    s_pApp = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
    if (lpszAppName) {
        m_strAppName = lpszAppName;
    } else if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE)) {
        // No title string: the program file's name without its extension.
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(m_hInstance, path, MAX_PATH - 1);
        const char* name = path;
        for (const char* p = path; *p; ++p)
            if (*p == '\\' || *p == '/' || *p == ':')
                name = p + 1;
        m_strAppName = name;
        int dot = -1;
        for (int i = 0; i < m_strAppName.GetLength(); ++i)
            if (m_strAppName.GetAt(i) == '.')
                dot = i;
        if (dot > 0)
            m_strAppName = m_strAppName.Left(dot);
    }
    m_pszAppName = m_strAppName;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return m_nQuitCode;
}

int CWinApp::Run()
{
    MSG msg;
    LONG lIdleCount = 0;
    for (;;) {
        while (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                break;
        }
        BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot == 0 || bGot == -1) {
            m_nQuitCode = bGot == 0 ? (int)msg.wParam : -1;
            break;
        }
        AfxDispatchQueuedMessage(&msg);
        lIdleCount = 0;
    }
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG)
{
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
    return FALSE;
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    if (!lpszRegistryKey)
        return;
    m_strRegistryKey = lpszRegistryKey;
    m_strProfileName = m_pszAppName;
    m_pszRegistryKey = m_strRegistryKey;
    m_pszProfileName = m_strProfileName;
}

HKEY CWinApp::OpenAppKey(LPCSTR lpszSection, BOOL bWrite)
{
    if (!m_pszRegistryKey || !m_pszProfileName)
        return nullptr;
    CString path = CString("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName;
    if (lpszSection)
        path += CString("\\") + lpszSection;
    HKEY hKey = nullptr;
    LONG lResult = bWrite ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                              KEY_READ | KEY_WRITE, nullptr, &hKey, nullptr)
                          : ::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &hKey);
    return lResult == ERROR_SUCCESS ? hKey : nullptr;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    if (!lpszSection || !lpszEntry)
        return (UINT)nDefault;
    HKEY hKey = OpenAppKey(lpszSection, FALSE);
    if (!hKey)
        return (UINT)nDefault;
    // The value whole, whatever its type and size: what it means is decided apart from the
    // registry, where it can be tried with any bytes.
    DWORD dwType = 0;
    DWORD cbData = 0;
    LONG lResult = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, nullptr, &cbData);
    std::vector<BYTE> data;
    if (lResult == ERROR_SUCCESS) {
        data.resize(cbData);
        lResult = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, data.data(), &cbData);
    }
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS)
        return (UINT)nDefault;
    return AfxProfileIntFromValue(dwType, data.data(), cbData, nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    if (!lpszSection || !lpszEntry)
        return FALSE;
    HKEY hKey = OpenAppKey(lpszSection, TRUE);
    if (!hKey)
        return FALSE;
    DWORD dwValue = (DWORD)nValue;
    LONG lResult = ::RegSetValueExA(hKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dwValue, sizeof dwValue);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    CString strDefault(lpszDefault);
    if (!lpszSection || !lpszEntry)
        return strDefault;
    HKEY hKey = OpenAppKey(lpszSection, FALSE);
    if (!hKey)
        return strDefault;
    DWORD dwType = 0;
    DWORD cbData = 0;
    LONG lResult = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, nullptr, &cbData);
    CString strValue = strDefault;
    if (lResult == ERROR_SUCCESS && dwType == REG_SZ) {
        // The stored text need not end with a terminator: read into a buffer
        // one byte longer and terminate it ourselves.
        std::vector<char> buffer((size_t)cbData + 1, '\0');
        lResult = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, (LPBYTE)buffer.data(), &cbData);
        if (lResult == ERROR_SUCCESS && dwType == REG_SZ) {
            buffer[cbData < buffer.size() ? cbData : buffer.size() - 1] = '\0';
            strValue = buffer.data();
        }
    }
    ::RegCloseKey(hKey);
    return strValue;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (!lpszSection)
        return FALSE;
    if (!lpszEntry) {
        HKEY hAppKey = OpenAppKey(nullptr, TRUE);
        if (!hAppKey)
            return FALSE;
        LONG lResult = ::RegDeleteKeyA(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
        return lResult == ERROR_SUCCESS;
    }
    HKEY hKey = OpenAppKey(lpszSection, TRUE);
    if (!hKey)
        return FALSE;
    LONG lResult = lpszValue ? ::RegSetValueExA(hKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                                                (DWORD)::lstrlenA(lpszValue) + 1)
                             : ::RegDeleteValueA(hKey, lpszEntry);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

void CWinApp::OnHelp()
{
}

CWinApp* AfxGetApp()
{
    return s_pApp;
}

CWnd* AfxGetMainWnd()
{
    return s_pApp ? s_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return s_pApp && s_pApp->m_hInstance ? s_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR)
{
    // Every resource of the program, the framework's included, is linked
    // into the program itself.
    return AfxGetResourceHandle();
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    // InitInstance returning FALSE ends the program at once; its main window,
    // usually a local of InitInstance, is gone by then and is not touched.
    int nReturnCode = pApp->InitInstance() ? pApp->Run() : pApp->ExitInstance();
    AfxDeleteTempObjects();
    return nReturnCode;
}

// Here rather than in a file of its own: the application's object pulls this
// file into the program, and with it the entry point the C runtime calls.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
