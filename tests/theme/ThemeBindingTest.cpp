#include "theme/ThemeBinding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {
std::string PathBesideTest(const char* pszName)
{
    char szPath[MAX_PATH];
    DWORD nLength = ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath(szPath, nLength);
    return strPath.substr(0, strPath.find_last_of('\\') + 1) + pszName;
}

// How often a stand-in library has been loaded into this process.
int Loads(const char* pszFake)
{
    char szCount[16] = "0";
    ::GetEnvironmentVariableA((std::string(pszFake) + "_loads").c_str(), szCount, sizeof szCount);
    return std::atoi(szCount);
}

int FilledSlots()
{
    const void* apSlots[] = {
        reinterpret_cast<void*>(CThemeBinding::s_pfnCloseThemeData),
        reinterpret_cast<void*>(CThemeBinding::s_pfnDrawThemeBackground),
        reinterpret_cast<void*>(CThemeBinding::s_pfnDrawThemeText),
        reinterpret_cast<void*>(CThemeBinding::s_pfnGetThemeBackgroundContentRect),
        reinterpret_cast<void*>(CThemeBinding::s_pfnIsAppThemed),
        reinterpret_cast<void*>(CThemeBinding::s_pfnIsThemeActive),
        reinterpret_cast<void*>(CThemeBinding::s_pfnOpenThemeData),
    };
    int nFilled = 0;
    for (const void* pSlot : apSlots)
        nFilled += pSlot != nullptr;
    return nFilled;
}

BOOL WINAPI NeverThemed()
{
    return FALSE;
}

class ThemeBindingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(CThemeBinding::s_nInstances, 0);
        ASSERT_FALSE(CThemeBinding::s_bBound);
        ASSERT_EQ(CThemeBinding::s_themeLibrary.m_hModule, nullptr);
        CThemeBinding::s_pfnCloseThemeData = nullptr;
        CThemeBinding::s_pfnDrawThemeBackground = nullptr;
        CThemeBinding::s_pfnDrawThemeText = nullptr;
        CThemeBinding::s_pfnGetThemeBackgroundContentRect = nullptr;
        CThemeBinding::s_pfnIsAppThemed = nullptr;
        CThemeBinding::s_pfnIsThemeActive = nullptr;
        CThemeBinding::s_pfnOpenThemeData = nullptr;
    }
    void TearDown() override { g_pszThemeLibraryForTests = nullptr; }
};
}  // namespace

TEST_F(ThemeBindingTest, SystemLibraryIsBoundFromTheSystemDirectory)
{
    auto pFirst = std::make_unique<CThemeBinding>();
    ASSERT_TRUE(CThemeBinding::s_bBound);
    HMODULE hLibrary = CThemeBinding::s_themeLibrary.m_hModule;
    ASSERT_NE(hLibrary, nullptr);
    EXPECT_EQ(CThemeBinding::s_nInstances, 1);
    EXPECT_EQ(FilledSlots(), 7);
    EXPECT_EQ(reinterpret_cast<void*>(CThemeBinding::s_pfnOpenThemeData),
              reinterpret_cast<void*>(::GetProcAddress(hLibrary, "OpenThemeData")));

    char szModule[MAX_PATH] = "";
    char szSystem[MAX_PATH] = "";
    ::GetModuleFileNameA(hLibrary, szModule, MAX_PATH);
    UINT nSystemLength = ::GetSystemDirectoryA(szSystem, MAX_PATH);
    ASSERT_GT(nSystemLength, 0u);
    EXPECT_EQ(::_strnicmp(szModule, szSystem, nSystemLength), 0) << szModule;

    auto pSecond = std::make_unique<CThemeBinding>();
    EXPECT_EQ(CThemeBinding::s_nInstances, 2);
    EXPECT_EQ(CThemeBinding::s_themeLibrary.m_hModule, hLibrary);
    pFirst.reset();
    EXPECT_TRUE(CThemeBinding::s_bBound);
    pSecond.reset();
    EXPECT_EQ(CThemeBinding::s_nInstances, 0);
    EXPECT_FALSE(CThemeBinding::s_bBound);
    EXPECT_EQ(CThemeBinding::s_themeLibrary.m_hModule, nullptr);
    EXPECT_EQ(FilledSlots(), 7) << "unbinding leaves the entry points";
    // Wine's UXTHEME.DLL stays in memory after its last FreeLibrary, so whether it was
    // loaded once and freed once is checked with the stand-in below.
}

TEST_F(ThemeBindingTest, LibraryIsLoadedOnceAndFreedWithTheLastInstance)
{
    const std::string strPath = PathBesideTest("fake_uxtheme_complete.dll");
    g_pszThemeLibraryForTests = strPath.c_str();
    const int nLoads = Loads("fake_uxtheme_complete");

    auto pFirst = std::make_unique<CThemeBinding>();
    auto pSecond = std::make_unique<CThemeBinding>();
    EXPECT_TRUE(CThemeBinding::s_bBound);
    EXPECT_EQ(FilledSlots(), 7);
    EXPECT_EQ(CThemeBinding::s_nInstances, 2);
    EXPECT_EQ(Loads("fake_uxtheme_complete"), nLoads + 1);
    HMODULE hLibrary = ::GetModuleHandleA(strPath.c_str());
    EXPECT_NE(hLibrary, nullptr);
    EXPECT_EQ(CThemeBinding::s_themeLibrary.m_hModule, hLibrary);

    pFirst.reset();
    EXPECT_EQ(CThemeBinding::s_nInstances, 1);
    EXPECT_TRUE(CThemeBinding::s_bBound);
    EXPECT_EQ(::GetModuleHandleA(strPath.c_str()), hLibrary);

    pSecond.reset();
    EXPECT_EQ(CThemeBinding::s_nInstances, 0);
    EXPECT_FALSE(CThemeBinding::s_bBound);
    EXPECT_EQ(CThemeBinding::s_themeLibrary.m_hModule, nullptr);
    EXPECT_EQ(::GetModuleHandleA(strPath.c_str()), nullptr) << "still loaded after the last instance";
}

TEST_F(ThemeBindingTest, LibraryLackingOneFunctionIsFreedAndRetriedByEachConstruction)
{
    const std::string strPath = PathBesideTest("fake_uxtheme_partial.dll");
    g_pszThemeLibraryForTests = strPath.c_str();
    const int nLoads = Loads("fake_uxtheme_partial");
    {
        CThemeBinding first;
        EXPECT_EQ(Loads("fake_uxtheme_partial"), nLoads + 1);
        EXPECT_FALSE(CThemeBinding::s_bBound);
        EXPECT_EQ(CThemeBinding::s_themeLibrary.m_hModule, nullptr);
        EXPECT_EQ(CThemeBinding::s_nInstances, 1);
        EXPECT_EQ(FilledSlots(), 6);
        EXPECT_EQ(CThemeBinding::s_pfnOpenThemeData, nullptr);
        EXPECT_EQ(::GetModuleHandleA(strPath.c_str()), nullptr) << "the library was not freed";

        CThemeBinding second;
        EXPECT_EQ(Loads("fake_uxtheme_partial"), nLoads + 2);
        EXPECT_FALSE(CThemeBinding::s_bBound);
        EXPECT_EQ(CThemeBinding::s_nInstances, 2);
    }
    EXPECT_EQ(CThemeBinding::s_nInstances, 0);
}

TEST_F(ThemeBindingTest, MissingLibraryStaysUnboundUntilAConstructionFindsIt)
{
    const std::string strMissing = PathBesideTest("no_such_uxtheme.dll");
    g_pszThemeLibraryForTests = strMissing.c_str();
    CThemeBinding::s_pfnIsAppThemed = NeverThemed;

    auto pFirst = std::make_unique<CThemeBinding>();
    EXPECT_FALSE(CThemeBinding::s_bBound);
    EXPECT_EQ(CThemeBinding::s_themeLibrary.m_hModule, nullptr);
    EXPECT_EQ(CThemeBinding::s_nInstances, 1);
    EXPECT_EQ(CThemeBinding::s_pfnIsAppThemed, NeverThemed) << "a failed load keeps the slots";

    // The library appears: the next construction binds it.
    g_pszThemeLibraryForTests = nullptr;
    auto pSecond = std::make_unique<CThemeBinding>();
    EXPECT_TRUE(CThemeBinding::s_bBound);
    EXPECT_EQ(CThemeBinding::s_nInstances, 2);

    pSecond.reset();
    EXPECT_TRUE(CThemeBinding::s_bBound) << "the first instance still holds the binding";
    pFirst.reset();
    EXPECT_FALSE(CThemeBinding::s_bBound);
    EXPECT_EQ(CThemeBinding::s_themeLibrary.m_hModule, nullptr);
}

// Runs this test program again as a copy in a folder of its own that also holds a complete
// stand-in named UXTHEME.DLL. Wine is told (for that copy only) to prefer such a copy to its
// built-in library, as Windows would.
TEST_F(ThemeBindingTest, CopyPlantedBesideTheProgramIsNotLoaded)
{
    char szChild[4] = "";
    if (::GetEnvironmentVariableA("TEMPIK_PLANTED_CHILD", szChild, sizeof szChild)) {
        // The copy: a load by bare name takes the planted library, the binding does not.
        const int nLoads = Loads("fake_uxtheme_complete");
        ASSERT_EQ(::GetModuleHandleA("uxtheme.dll"), nullptr);
        HMODULE hBareName = ::LoadLibraryA("UXTHEME.DLL");
        EXPECT_EQ(Loads("fake_uxtheme_complete"), nLoads + 1) << "the planted copy is not found by name";
        if (hBareName)
            ::FreeLibrary(hBareName);

        CThemeBinding binding;
        EXPECT_TRUE(CThemeBinding::s_bBound);
        EXPECT_EQ(Loads("fake_uxtheme_complete"), nLoads + 1) << "the planted library ran";
        return;
    }

    char szTemp[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, szTemp), 0u);
    const std::string strFolder = std::string(szTemp) + "tempik_planted_uxtheme";
    const std::string strProgram = strFolder + "\\tempik_planted.exe";
    const std::string strPlanted = strFolder + "\\UXTHEME.DLL";
    const char* pszOverrides = "Software\\Wine\\AppDefaults\\tempik_planted.exe\\DllOverrides";
    ::CreateDirectoryA(strFolder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(PathBesideTest("theme_tests.exe").c_str(), strProgram.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(PathBesideTest("fake_uxtheme_complete.dll").c_str(), strPlanted.c_str(), FALSE));
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, pszOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                                nullptr),
              ERROR_SUCCESS);
    static const char szNativeFirst[] = "native,builtin";
    ::RegSetValueExA(hKey, "uxtheme", 0, REG_SZ, reinterpret_cast<const BYTE*>(szNativeFirst),
                     sizeof szNativeFirst);
    ::RegCloseKey(hKey);

    std::string strCommand =
        "\"" + strProgram + "\" --gtest_filter=ThemeBindingTest.CopyPlantedBesideTheProgramIsNotLoaded";
    ::SetEnvironmentVariableA("TEMPIK_PLANTED_CHILD", "1");
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    BOOL bStarted =
        ::CreateProcessA(nullptr, strCommand.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    ::SetEnvironmentVariableA("TEMPIK_PLANTED_CHILD", nullptr);
    DWORD nExitCode = 1;
    if (bStarted) {
        ::WaitForSingleObject(pi.hProcess, INFINITE);
        ::GetExitCodeProcess(pi.hProcess, &nExitCode);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }

    ::RegDeleteKeyA(HKEY_CURRENT_USER, pszOverrides);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\tempik_planted.exe");
    ::DeleteFileA(strProgram.c_str());
    ::DeleteFileA(strPlanted.c_str());
    ::RemoveDirectoryA(strFolder.c_str());
    ASSERT_TRUE(bStarted);
    EXPECT_EQ(nExitCode, 0u) << "the copy of the program failed";
}
