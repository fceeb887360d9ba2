#include <gtest/gtest.h>

#include <string>

#include "framework/Afx.h"

namespace {

constexpr const char* kRegistryKey = "TempikFrameworkTest";
constexpr const char* kAppName = "ProfileApp";
constexpr const char* kSectionPath = "Software\\TempikFrameworkTest\\ProfileApp\\Options";

class ProfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteTestKey();
        m_app.SetRegistryKey(kRegistryKey);
    }
    void TearDown() override { DeleteTestKey(); }
    static void DeleteTestKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TempikFrameworkTest"); }

    // Stores a raw value as another program (or a hand edit) might.
    static void StoreRaw(const char* entry, DWORD dwType, const void* data, DWORD cb)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kSectionPath, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey,
                                    nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(hKey, entry, 0, dwType, (const BYTE*)data, cb), ERROR_SUCCESS);
        ::RegCloseKey(hKey);
    }
    static LONG ReadRaw(const char* entry, DWORD* pType, BYTE* data, DWORD* pcb)
    {
        HKEY hKey = nullptr;
        LONG lResult = ::RegOpenKeyExA(HKEY_CURRENT_USER, kSectionPath, 0, KEY_READ, &hKey);
        if (lResult != ERROR_SUCCESS)
            return lResult;
        lResult = ::RegQueryValueExA(hKey, entry, nullptr, pType, data, pcb);
        ::RegCloseKey(hKey);
        return lResult;
    }

    CWinApp m_app{kAppName};
};

TEST_F(ProfileTest, IntegersRoundTripAsDwordValues)
{
    for (int nValue : {0, 1, 11, -1, -5, 2147483647}) {
        SCOPED_TRACE(nValue);
        ASSERT_TRUE(m_app.WriteProfileInt("Options", "Hotkey", nValue));
        DWORD dwType = 0;
        DWORD dwStored = 0;
        DWORD cb = sizeof dwStored;
        ASSERT_EQ(ReadRaw("Hotkey", &dwType, (BYTE*)&dwStored, &cb), ERROR_SUCCESS);
        EXPECT_EQ(dwType, (DWORD)REG_DWORD);
        EXPECT_EQ(dwStored, (DWORD)nValue);
        EXPECT_EQ((int)m_app.GetProfileInt("Options", "Hotkey", 99), nValue);
    }
}

TEST_F(ProfileTest, StringsRoundTripAsTextValues)
{
    ASSERT_TRUE(m_app.WriteProfileString("Options", "position", "0,5,400,400,590,460"));
    char buffer[64] = {};
    DWORD dwType = 0;
    DWORD cb = sizeof buffer;
    ASSERT_EQ(ReadRaw("position", &dwType, (BYTE*)buffer, &cb), ERROR_SUCCESS);
    EXPECT_EQ(dwType, (DWORD)REG_SZ);
    EXPECT_STREQ(buffer, "0,5,400,400,590,460");
    EXPECT_EQ(cb, sizeof "0,5,400,400,590,460");
    EXPECT_STREQ(m_app.GetProfileString("Options", "position", "x"), "0,5,400,400,590,460");

    ASSERT_TRUE(m_app.WriteProfileString("Options", "position", ""));
    EXPECT_STREQ(m_app.GetProfileString("Options", "position", "x"), "");
    // A NULL value removes the entry; then the default comes back.
    ASSERT_TRUE(m_app.WriteProfileString("Options", "position", nullptr));
    EXPECT_EQ(ReadRaw("position", &dwType, nullptr, &cb), ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(m_app.GetProfileString("Options", "position", "dflt"), "dflt");
}

TEST_F(ProfileTest, MissingAndWronglyTypedValuesReadAsTheDefault)
{
    const DWORD dwNumber = 7;
    const WORD wShort = 3;
    StoreRaw("TextNotNumber", REG_SZ, "5", 2);
    StoreRaw("ShortBinary", REG_BINARY, &wShort, sizeof wShort);
    StoreRaw("DwordAsBinary", REG_BINARY, &dwNumber, sizeof dwNumber);
    StoreRaw("NumberNotText", REG_DWORD, &dwNumber, sizeof dwNumber);
    StoreRaw("Expandable", REG_EXPAND_SZ, "%TEMP%", 7);
    // A number of another size or byte order is no number either, whatever its first bytes.
    const BYTE abLong[8] = {7, 0, 0, 0, 0, 0, 0, 0};
    StoreRaw("ShortDword", REG_DWORD, &wShort, sizeof wShort);
    StoreRaw("LongDword", REG_DWORD, abLong, sizeof abLong);
    StoreRaw("BigEndian", REG_DWORD_BIG_ENDIAN, &dwNumber, sizeof dwNumber);
    StoreRaw("Qword", REG_QWORD, abLong, sizeof abLong);
    struct IntCase {
        const char* section;
        const char* entry;
    };
    for (const IntCase& c :
         {IntCase{"Options", "Missing"}, IntCase{"NoSuchSection", "Hotkey"}, IntCase{"Options", "TextNotNumber"},
          IntCase{"Options", "ShortBinary"}, IntCase{"Options", "DwordAsBinary"}, IntCase{"Options", "ShortDword"},
          IntCase{"Options", "LongDword"}, IntCase{"Options", "BigEndian"}, IntCase{"Options", "Qword"}}) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.entry);
        EXPECT_EQ((int)m_app.GetProfileInt(c.section, c.entry, -1), -1);
    }
    for (const char* entry : {"Missing", "NumberNotText", "ShortBinary", "Expandable"}) {
        SCOPED_TRACE(entry);
        EXPECT_STREQ(m_app.GetProfileString("Options", entry, "0,1,400,400,400,400"), "0,1,400,400,400,400");
        EXPECT_STREQ(m_app.GetProfileString("Options", entry), "");
    }
    EXPECT_EQ(m_app.GetProfileInt("Options", "NumberNotText", 0), 7u);
}

TEST_F(ProfileTest, TextStoredWithoutTerminatorReadsWhole)
{
    StoreRaw("position", REG_SZ, "1,2,3", 5);  // no zero byte stored
    EXPECT_STREQ(m_app.GetProfileString("Options", "position", "x"), "1,2,3");
}

TEST_F(ProfileTest, NothingIsReadOrWrittenBeforeARegistryKeyIsSet)
{
    CWinApp app("NoKeyApp");
    EXPECT_FALSE(app.WriteProfileInt("Options", "Hotkey", 4));
    EXPECT_FALSE(app.WriteProfileString("Options", "position", "1"));
    EXPECT_EQ((int)app.GetProfileInt("Options", "Hotkey", -1), -1);
    EXPECT_STREQ(app.GetProfileString("Options", "position", "d"), "d");
}

TEST(WinAppTest, NamesAndResourceStrings)
{
    CWinApp named("GivenName");
    EXPECT_STREQ(named.m_pszAppName, "GivenName");
    EXPECT_EQ(AfxGetApp(), &named);

    // Without a name: the title string if the program has one, else the file name.
    CString title;
    CWinApp unnamed;
    EXPECT_STREQ(unnamed.m_pszAppName,
                 title.LoadString(AFX_IDS_APP_TITLE) ? (const char*)title : "framework_win_tests");

    CString invalid;
    EXPECT_TRUE(invalid.LoadString(AFX_IDS_INVALID_SPAN));
    EXPECT_STREQ(invalid, "Invalid time span");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(1), RT_DIALOG), ::GetModuleHandleA(nullptr));
}

// An application for AfxWinMain: its InitInstance result picks the path.
class CStartApp : public CWinApp
{
public:
    explicit CStartApp(BOOL bInitResult) : CWinApp("StartApp"), m_bInitResult(bInitResult) {}
    BOOL m_bInitResult;
    int m_nInit = 0;
    int m_nIdle = 0;
    int m_nExit = 0;
    CWnd m_wndMain;

    BOOL InitInstance() override
    {
        ++m_nInit;
        if (m_bInitResult)
            ::SetTimer(nullptr, 0, 20, &QuitSoon);
        return m_bInitResult;
    }
    BOOL OnIdle(LONG lCount) override
    {
        ++m_nIdle;
        return CWinApp::OnIdle(lCount);
    }
    int ExitInstance() override
    {
        ++m_nExit;
        return CWinApp::ExitInstance() + 17;
    }
    static void CALLBACK QuitSoon(HWND, UINT, UINT_PTR nIDEvent, DWORD)
    {
        ::KillTimer(nullptr, nIDEvent);
        ::PostQuitMessage(3);
    }
};

TEST(WinAppTest, WinMainRunsInitInstanceThenEndsWithExitInstancesCode)
{
    {
        CStartApp app(FALSE);
        EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_SHOW), 17);
        EXPECT_EQ(app.m_nInit, 1);
        EXPECT_EQ(app.m_nIdle, 0);  // no message loop of its own
        EXPECT_EQ(app.m_nExit, 1);
    }
    {
        CStartApp app(TRUE);
        EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_SHOW), 3 + 17);
        EXPECT_EQ(app.m_nInit, 1);
        EXPECT_GE(app.m_nIdle, 1);
        EXPECT_EQ(app.m_nExit, 1);
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(WinAppTest, MainWindowPointerIsClearedWhenItsObjectGoes)
{
    CWinApp app("MainWndApp");
    {
        CWnd local;
        app.m_pMainWnd = &local;
        EXPECT_EQ(AfxGetMainWnd(), &local);
    }
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

}  // namespace
