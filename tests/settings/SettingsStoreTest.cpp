#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/WinApp.h"

namespace {
constexpr int WINDOW_WIDTH = 196;
constexpr int WINDOW_HEIGHT = 54;

// A profile under a registry key of this test process's own, removed afterwards, and a
// plain popup window to place.
class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_strKey = "TempikSettingsTest" + std::to_string(::GetCurrentProcessId());
        m_app.SetRegistryKey(m_strKey.c_str());
        m_hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, WINDOW_WIDTH, WINDOW_HEIGHT, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
        // Not activated: under Wine without a window manager, destroying the active window
        // waits two seconds.
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    }

    void TearDown() override
    {
        ::DestroyWindow(m_hWnd);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_strKey).c_str());
    }

    std::string ValuePath(const char* pszSection) const
    {
        return "Software\\" + m_strKey + "\\TempikTest\\" + pszSection;
    }

    // The stored text of Window/position, read straight from the registry; "(none)" if absent.
    std::string StoredRecord() const
    {
        char szText[256] = "";
        DWORD dwType = 0;
        DWORD cbText = sizeof szText - 1;
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, ValuePath("Window").c_str(), 0, KEY_QUERY_VALUE, &hKey) !=
            ERROR_SUCCESS)
            return "(none)";
        LONG lResult = ::RegQueryValueExA(hKey, "position", nullptr, &dwType, (BYTE*)szText, &cbText);
        ::RegCloseKey(hKey);
        if (lResult != ERROR_SUCCESS)
            return "(none)";
        EXPECT_EQ(dwType, (DWORD)REG_SZ);
        return szText;
    }

    void Store(const char* pszText) { m_app.WriteProfileString("Window", "position", pszText); }

    std::string Record(const char* pszPrefix, LONG nLeft, LONG nTop) const
    {
        return pszPrefix + std::to_string((UINT)nLeft) + "," + std::to_string((UINT)nTop) + "," +
               std::to_string((UINT)(nLeft + WINDOW_WIDTH)) + "," + std::to_string((UINT)(nTop + WINDOW_HEIGHT));
    }

    RECT WindowRect() const
    {
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        return rc;
    }

    // Restores the stored record and checks where the window went; its size never changes.
    void ExpectRestoredAt(LONG nLeft, LONG nTop)
    {
        RestoreWindowPlacement(&m_app, m_hWnd, "position");
        RECT rc = WindowRect();
        EXPECT_EQ(rc.left, nLeft);
        EXPECT_EQ(rc.top, nTop);
        EXPECT_EQ(rc.right - rc.left, WINDOW_WIDTH);
        EXPECT_EQ(rc.bottom - rc.top, WINDOW_HEIGHT);
    }

    CWinApp m_app{"TempikTest"};
    std::string m_strKey;
    HWND m_hWnd = nullptr;
};
}  // namespace

TEST_F(SettingsStoreTest, HotKeyRoundTripsAsRegistryInteger)
{
    EXPECT_EQ(LoadHotKeySetting(&m_app), -1) << "first run";
    for (int nIndex : {1, 0, 11, -1, 4}) {
        SaveHotKeySetting(&m_app, nIndex);
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, ValuePath("Options").c_str(), 0, KEY_QUERY_VALUE, &hKey),
                  ERROR_SUCCESS);
        DWORD dwValue = 0, dwType = 0, cbValue = sizeof dwValue;
        EXPECT_EQ(::RegQueryValueExA(hKey, "Hotkey", nullptr, &dwType, (BYTE*)&dwValue, &cbValue), ERROR_SUCCESS);
        ::RegCloseKey(hKey);
        EXPECT_EQ(dwType, (DWORD)REG_DWORD);
        EXPECT_EQ(dwValue, (DWORD)nIndex);
        EXPECT_EQ(LoadHotKeySetting(&m_app), nIndex);
    }
    EXPECT_EQ(LoadHotKeySetting(nullptr), -1);
}

TEST_F(SettingsStoreTest, FirstRunOpensAt400AndSavesNormalState)
{
    ExpectRestoredAt(400, 400);
    SaveWindowPlacement(&m_app, m_hWnd, "position", SW_SHOW);
    EXPECT_EQ(StoredRecord(), Record("0,5,", 400, 400));
}

TEST_F(SettingsStoreTest, StoredRecordsRestoreWithRangeRule)
{
    const struct {
        std::string strText;
        LONG nLeft, nTop;
    } cases[] = {
        {"0,1,-50,20", -50, 20},
        {"0,1,4294967246,20", -50, 20},  // -50 in its stored unsigned form
        {"0,1,9000,-9000", 400, 400},
        {"0,1,120,130,1,1\r\n", 120, 130},  // stored right and bottom are not used
        // Only the first 199 bytes count: the top field is cut to "0...01".
        {"0,1,7," + std::string(192, '0') + "12" + std::string(100, '3'), 7, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strText);
        Store(c.strText.c_str());
        ExpectRestoredAt(c.nLeft, c.nTop);
    }
}

TEST_F(SettingsStoreTest, WindowLeftOfAndAbovePrimaryMonitorComesBack)
{
    ::SetWindowPos(m_hWnd, nullptr, -50, -20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(WindowRect().left, -50);
    SaveWindowPlacement(&m_app, m_hWnd, "position", SW_SHOW);
    EXPECT_EQ(StoredRecord(), Record("0,5,", -50, -20));

    ::SetWindowPos(m_hWnd, nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ExpectRestoredAt(-50, -20);
}

TEST_F(SettingsStoreTest, WindowMostlyOutsideTheWorkAreaComesIntoIt)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi));
    const RECT& rcWork = mi.rcWork;
    // Four pixels square of it inside, past the bottom-right corner.
    Store(Record("0,1,", rcWork.right - 4, rcWork.bottom - 4).c_str());
    ExpectRestoredAt(rcWork.right - WINDOW_WIDTH, rcWork.bottom - WINDOW_HEIGHT);
}

TEST_F(SettingsStoreTest, MaximisedAndMinimisedWindowsAreStoredAsNormal)
{
    ::SetWindowPos(m_hWnd, nullptr, 100, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    ::ShowWindow(m_hWnd, SW_MAXIMIZE);
    SaveWindowPlacement(&m_app, m_hWnd, "position", SW_SHOW);
    EXPECT_EQ(StoredRecord(), Record("0,1,", 100, 200)) << "the normal rectangle is kept";

    ::ShowWindow(m_hWnd, SW_MINIMIZE);
    SaveWindowPlacement(&m_app, m_hWnd, "position", SW_SHOW);
    EXPECT_EQ(StoredRecord(), Record("0,1,", 100, 200)) << "minimised from maximised";

    ::ShowWindow(m_hWnd, SW_RESTORE);
    ::ShowWindow(m_hWnd, SW_RESTORE);
    ::ShowWindow(m_hWnd, SW_MINIMIZE);
    SaveWindowPlacement(&m_app, m_hWnd, "position", SW_SHOW);
    EXPECT_EQ(StoredRecord(), Record("0,1,", 100, 200)) << "minimised from normal";
}

TEST_F(SettingsStoreTest, EveryStoredStateRestoresNormalAndShown)
{
    for (const char* pszState : {"2,3,", "0,2,", "2,7,", "0,6,", "0,11,", "0,0,", "x,y,"}) {
        SCOPED_TRACE(pszState);
        // Hidden, as the main window is when its record is applied.
        ::ShowWindow(m_hWnd, SW_HIDE);
        Store(Record(pszState, 100, 200).c_str());
        ExpectRestoredAt(100, 200);
        EXPECT_TRUE(::IsWindowVisible(m_hWnd));
        EXPECT_FALSE(::IsZoomed(m_hWnd));
        EXPECT_FALSE(::IsIconic(m_hWnd));
        ::ShowWindow(m_hWnd, SW_RESTORE);
    }
}

TEST_F(SettingsStoreTest, NothingHappensWithoutWindowEntryOrApplication)
{
    Store("0,1,-50,20");
    RECT rcBefore = WindowRect();
    RestoreWindowPlacement(&m_app, m_hWnd, nullptr);
    RestoreWindowPlacement(nullptr, m_hWnd, "position");
    RestoreWindowPlacement(&m_app, nullptr, "position");
    EXPECT_EQ(WindowRect().left, rcBefore.left);
    EXPECT_EQ(WindowRect().top, rcBefore.top);

    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, ValuePath("Window").c_str(), "position");
    ASSERT_EQ(StoredRecord(), "(none)");
    SaveWindowPlacement(&m_app, m_hWnd, nullptr, SW_SHOW);
    SaveWindowPlacement(nullptr, m_hWnd, "position", SW_SHOW);
    SaveWindowPlacement(&m_app, nullptr, "position", SW_SHOW);
    HWND hGone = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(hGone);
    SaveWindowPlacement(&m_app, hGone, "position", SW_SHOW);
    RestoreWindowPlacement(&m_app, hGone, "position");
    EXPECT_EQ(StoredRecord(), "(none)");
}
