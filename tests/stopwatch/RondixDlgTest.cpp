// The main window run for real: modal, driven from inside its own message loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <shlwapi.h>

#include "stopwatch/RondixDlg.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TestImages.h"

using namespace DialogDriver;

namespace {

// The application object of the test program: settings go to a key of their own.
const char* const TEST_REGISTRY_KEY = "Tempik Tests";

class CTestApp : public CWinApp
{
public:
    CTestApp() { SetRegistryKey(TEST_REGISTRY_KEY); }
};

CTestApp s_app;

// The settings of the test application, under HKCU\Software\Tempik Tests\Tempik.
std::string SettingsPath(const char* pszSection)
{
    std::string path = std::string("Software\\") + TEST_REGISTRY_KEY + "\\" + s_app.m_pszAppName;
    if (pszSection)
        path += std::string("\\") + pszSection;
    return path;
}

namespace Settings {

void Clear()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, SettingsPath(nullptr).c_str());
}

void WriteHotKey(DWORD nIndex)
{
    ::RegSetKeyValueA(HKEY_CURRENT_USER, SettingsPath("Options").c_str(), "Hotkey", REG_DWORD, &nIndex,
                      sizeof nIndex);
}

void WritePosition(const char* pszRecord)
{
    ::RegSetKeyValueA(HKEY_CURRENT_USER, SettingsPath("Window").c_str(), "position", REG_SZ, pszRecord,
                      (DWORD)lstrlenA(pszRecord) + 1);
}

// Nothing when absent; the value read as signed.
std::optional<int> ReadHotKey()
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, SettingsPath("Options").c_str(), "Hotkey", RRF_RT_REG_DWORD, nullptr,
                       &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return (int)value;
}

// "" when absent.
std::string ReadPosition()
{
    char text[256] = "";
    DWORD size = sizeof text;
    if (::RegGetValueA(HKEY_CURRENT_USER, SettingsPath("Window").c_str(), "position", RRF_RT_REG_SZ, nullptr, text,
                       &size) != ERROR_SUCCESS)
        return "";
    return text;
}

}  // namespace Settings

const RECT READOUT = {1, 0, 191, 36};
const char* const OPTIONS_TITLE = "Tempik Options";
const char* const ABOUT_TITLE = "About Tempik";

std::vector<COLORREF> Readout(HWND hDlg)
{
    return ClientPixels(hDlg, READOUT);
}

// Yellow digits on black: every pixel is black, yellow or a blend of the two.
void ExpectYellowOnBlack(const std::vector<COLORREF>& pixels)
{
    size_t yellow = 0, black = 0, other = 0;
    for (COLORREF c : pixels) {
        int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        if (b > 16 || std::abs(r - g) > 24)
            ++other;
        else if (r >= 200)
            ++yellow;
        else if (r <= 16)
            ++black;
    }
    EXPECT_EQ(other, 0u) << "pixels neither black nor yellow";
    EXPECT_GT(yellow, 100u) << "too little yellow for digits";
    EXPECT_GT(black, pixels.size() / 2) << "the background is not black";
}

HWND Button(HWND hDlg, int nId)
{
    return ::GetDlgItem(hDlg, nId);
}

void Click(HWND hDlg, int nId)
{
    ::SendMessageA(Button(hDlg, nId), BM_CLICK, 0, 0);
}

void Command(HWND hDlg, UINT nId)
{
    ::SendMessageA(hDlg, WM_COMMAND, nId, 0);
}

void ExpectStartStopLook(HWND hDlg, const char* pszCaption, const char* pszTip)
{
    EXPECT_EQ(WindowText(Button(hDlg, IDC_START_STOP)), pszCaption);
    EXPECT_EQ(TipTextOf(Button(hDlg, IDC_START_STOP)), pszTip);
}

bool ReadoutChangesFrom(HWND hDlg, const std::vector<COLORREF>& before)
{
    return PumpUntil([&] { return Readout(hDlg) != before; });
}

CRect WindowRect(HWND hWnd)
{
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

std::string PositionOf(const CRect& rect)
{
    char text[64];
    wsprintfA(text, "0,5,%d,%d,%d,%d", (int)rect.left, (int)rect.top, (int)rect.right, (int)rect.bottom);
    return text;
}

// Client pixels that are not black and lie outside the readout and the buttons.
int StrayPixels(HWND hDlg, const RECT& rcReadout = READOUT)
{
    CRect rcClient;
    ::GetClientRect(hDlg, &rcClient);
    std::vector<CRect> drawn = {rcReadout};
    for (int nId : {IDC_START_STOP, IDC_RESET, IDC_MORE}) {
        CRect rc = WindowRect(Button(hDlg, nId));
        ::MapWindowPoints(nullptr, hDlg, (LPPOINT)&rc, 2);
        drawn.push_back(rc);
    }
    std::vector<COLORREF> pixels = ClientPixels(hDlg, rcClient);
    auto inDrawn = [&](int x, int y) {
        return std::any_of(drawn.begin(), drawn.end(), [&](const CRect& rc) { return rc.PtInRect({x, y}); });
    };
    int nStray = 0;
    for (int y = 0; y < rcClient.bottom; ++y)
        for (int x = 0; x < rcClient.right; ++x)
            nStray += pixels[(size_t)(y * rcClient.right + x)] != RGB(0, 0, 0) && !inDrawn(x, y);
    return nStray;
}

class RondixDlgTest : public ::testing::Test
{
protected:
    void SetUp() override { Settings::Clear(); }
    void TearDown() override { Settings::Clear(); }
};

TEST_F(RondixDlgTest, FirstRunOpensBorderlessTopmostAtDefaultPlaceWithF2AndSavesOnEsc)
{
    CRondixDlg dlg;
    CRect rcShown;
    INT_PTR result = RunModal(dlg, [&](HWND hDlg) {
        DWORD style = (DWORD)::GetWindowLongA(hDlg, GWL_STYLE);
        DWORD exStyle = (DWORD)::GetWindowLongA(hDlg, GWL_EXSTYLE);
        // The system adds WS_CLIPSIBLINGS to every top-level window.
        EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPSIBLINGS), (DWORD)WS_CLIPCHILDREN);
        EXPECT_EQ(exStyle, (DWORD)WS_EX_TOPMOST);
        rcShown = WindowRect(hDlg);
        CRect rcClient;
        ::GetClientRect(hDlg, &rcClient);
        EXPECT_EQ(rcShown.TopLeft(), CPoint(400, 400));
        EXPECT_EQ(rcShown.Width(), rcClient.Width()) << "no frame";
        EXPECT_EQ(rcShown.Height(), rcClient.Height()) << "no caption";
        EXPECT_GE(rcClient.Width(), READOUT.right);

        // The three buttons sit below the readout.
        for (int nId : {IDC_START_STOP, IDC_RESET, IDC_MORE}) {
            CRect rcButton = WindowRect(Button(hDlg, nId));
            EXPECT_GE(rcButton.top - rcShown.top, READOUT.bottom) << nId;
        }

        EXPECT_FALSE(dlg.IsRunning());
        ExpectStartStopLook(hDlg, "Start", "Start the timer");
        EXPECT_EQ(TipTextOf(Button(hDlg, IDC_RESET)), "Reset the timer");
        EXPECT_EQ(TipTextOf(Button(hDlg, IDC_MORE)), "Display more options");
        ExpectYellowOnBlack(Readout(hDlg));
        EXPECT_EQ(StrayPixels(hDlg), 0) << "the first frame is black beside the readout and buttons";
        EXPECT_EQ(WindowText(hDlg), "Tempik") << "the name the taskbar and Alt+Tab show";

        HICON hIcon = (HICON)::SendMessageA(hDlg, WM_GETICON, ICON_BIG, 0);
        EXPECT_NE(hIcon, nullptr);
        EXPECT_EQ((HICON)::SendMessageA(hDlg, WM_GETICON, ICON_SMALL, 0), hIcon);
        EXPECT_EQ((HICON)::SendMessageA(hDlg, WM_QUERYDRAGICON, 0, 0), hIcon);

        EXPECT_EQ(dlg.GetHotKeyIndex(), 1);
        EXPECT_TRUE(HotKeyTaken(VK_F2));
        EXPECT_FALSE(HotKeyTaken(VK_F3));

        ::PostMessageA(hDlg, WM_KEYDOWN, VK_ESCAPE, 0);
        PumpUntil([&] { return !::IsWindowVisible(hDlg); });
    });
    EXPECT_EQ(result, IDCANCEL) << "Esc ends the dialog";
    EXPECT_FALSE(HotKeyTaken(VK_F2)) << "released with the window";
    EXPECT_EQ(Settings::ReadHotKey(), 1);
    EXPECT_EQ(Settings::ReadPosition(), PositionOf(rcShown));
}

// The template has no system menu; a window that has one gets the About entry.
class CRondixDlgWithSystemMenu : public CRondixDlg
{
protected:
    BOOL OnInitDialog() override
    {
        ModifyStyle(0, WS_SYSMENU);
        return CRondixDlg::OnInitDialog();
    }
};

TEST_F(RondixDlgTest, SystemMenuEndsWithAboutEntry)
{
    CRondixDlgWithSystemMenu dlg;
    RunModal(dlg, [&](HWND hDlg) {
        HMENU hSysMenu = ::GetSystemMenu(hDlg, FALSE);
        ASSERT_NE(hSysMenu, nullptr);
        std::vector<std::string> texts = MenuTexts(hSysMenu);
        std::vector<UINT> ids = MenuIds(hSysMenu);
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ(ids[ids.size() - 2], 0u) << "separator";
        EXPECT_EQ(texts.back(), "&About Tempik...");
        EXPECT_EQ(ids.back(), (UINT)IDM_ABOUTBOX);
    });
}

TEST_F(RondixDlgTest, StoredHotKeyIndexDecidesTheRegisteredKey)
{
    struct Case {
        int nStored;
        UINT nExpectedKey;  // 0: none registered
        int nSaved;
    };
    const Case cases[] = {
        {0, 0, 0}, {1, VK_F2, 1}, {4, VK_F5, 4}, {11, VK_F12, 11}, {-1, VK_F2, 1}, {-5, VK_F2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nStored);
        Settings::WriteHotKey((DWORD)c.nStored);
        CRondixDlg dlg;
        RunModal(dlg, [&](HWND) {
            EXPECT_EQ(dlg.GetHotKeyIndex(), c.nSaved);
            for (UINT vk = VK_F2; vk <= VK_F12; ++vk)
                EXPECT_EQ(HotKeyTaken(vk), vk == c.nExpectedKey) << "virtual key " << vk;
        });
        EXPECT_EQ(Settings::ReadHotKey(), c.nSaved);
    }
}

TEST_F(RondixDlgTest, StartStopAndResetFromButtonsMenusAndHotKey)
{
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        const std::vector<COLORREF> zero = Readout(hDlg);

        Click(hDlg, IDC_START_STOP);
        EXPECT_TRUE(dlg.IsRunning());
        ExpectStartStopLook(hDlg, "Stop", "Stop the timer");
        EXPECT_TRUE(ReadoutChangesFrom(hDlg, zero)) << "ticks repaint the readout";
        ExpectYellowOnBlack(Readout(hDlg));

        ::SendMessageA(hDlg, WM_HOTKEY, CRondixDlg::ID_HOTKEY_TOGGLE, MAKELPARAM(0, VK_F2));
        EXPECT_FALSE(dlg.IsRunning());
        ExpectStartStopLook(hDlg, "Start", "Start the timer");
        std::vector<COLORREF> stopped = Readout(hDlg);
        PumpFor(100);
        EXPECT_EQ(Readout(hDlg), stopped) << "a stopped readout stays still";

        Command(hDlg, ID_TIMER_START);
        EXPECT_TRUE(dlg.IsRunning());
        EXPECT_TRUE(ReadoutChangesFrom(hDlg, stopped)) << "counting continues";
        ::SendMessageA(hDlg, WM_HOTKEY, CRondixDlg::ID_HOTKEY_TOGGLE, 0);
        EXPECT_FALSE(dlg.IsRunning());
        ::SendMessageA(hDlg, WM_HOTKEY, CRondixDlg::ID_HOTKEY_TOGGLE, 0);
        EXPECT_TRUE(dlg.IsRunning()) << "the hot key toggles";
        Command(hDlg, ID_TIMER_STOP);
        EXPECT_FALSE(dlg.IsRunning());
        ExpectStartStopLook(hDlg, "Start", "Start the timer");
        Command(hDlg, ID_TIMER_STOP);
        EXPECT_FALSE(dlg.IsRunning()) << "a stop while stopped changes nothing";

        Click(hDlg, IDC_START_STOP);
        Click(hDlg, IDC_START_STOP);
        EXPECT_FALSE(dlg.IsRunning()) << "Start/Stop toggles";

        Click(hDlg, IDC_START_STOP);
        Click(hDlg, IDC_RESET);
        EXPECT_FALSE(dlg.IsRunning()) << "Reset stops";
        ExpectStartStopLook(hDlg, "Start", "Start the timer");
        EXPECT_EQ(Readout(hDlg), zero) << "Reset shows 00:00:00.000 again";
    });
}

TEST_F(RondixDlgTest, TicksAndWholeRunsLeaveNoHandlesBehind)
{
    auto run = [] {
        CRondixDlg dlg;
        RunModal(dlg, [&](HWND hDlg) {
            for (int i = 0; i < 5; ++i) {
                Click(hDlg, IDC_START_STOP);
                ReadoutChangesFrom(hDlg, Readout(hDlg));
                Click(hDlg, IDC_START_STOP);
            }
            Click(hDlg, IDC_RESET);
        });
    };
    // The first run leaves what the system keeps for the process; counted once the dialog object is gone.
    run();
    const GuiCounts before = CountGuiObjects();
    run();
    const GuiCounts after = CountGuiObjects();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

TEST_F(RondixDlgTest, UncoveredReadoutIsPaintedAgain)
{
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        const std::vector<COLORREF> zero = Readout(hDlg);
        HDC hdc = ::GetDC(hDlg);
        ::FillRect(hdc, &READOUT, (HBRUSH)::GetStockObject(WHITE_BRUSH));
        const std::vector<COLORREF> covered = Readout(hDlg);
        ASSERT_NE(covered, zero);
        // The background is never erased.
        EXPECT_EQ(::SendMessageA(hDlg, WM_ERASEBKGND, (WPARAM)hdc, 0), 1);
        EXPECT_EQ(Readout(hDlg), covered);
        ::ReleaseDC(hDlg, hdc);

        ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(Readout(hDlg), zero);
    });
}

// Screen readers' events about the window's client area, counted by an out-of-context
// hook on this thread: its callbacks come in the message loop.
struct AccessEvents {
    HWND hWnd;
    int nValues;  // EVENT_OBJECT_VALUECHANGE of the readout
    int nNames;   // EVENT_OBJECT_NAMECHANGE of Start/Stop
};
AccessEvents s_events;

void CALLBACK CountAccessEvent(HWINEVENTHOOK, DWORD event, HWND hWnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    if (hWnd != s_events.hWnd || idObject != OBJID_CLIENT)
        return;
    s_events.nValues += event == EVENT_OBJECT_VALUECHANGE && idChild == CRondixAccessible::CHILD_READOUT;
    s_events.nNames += event == EVENT_OBJECT_NAMECHANGE && idChild == CRondixAccessible::CHILD_START_STOP;
}

TEST_F(RondixDlgTest, AStopOrResetAnnouncesTheReadoutOnceAndTicksNever)
{
    struct Step {
        const char* what;
        std::function<void(HWND)> act;
        int nValues, nNames;
    };
    const Step steps[] = {
        {"start", [](HWND h) { Click(h, IDC_START_STOP); }, 0, 1},
        {"ticking", [](HWND) { PumpFor(200); }, 0, 0},
        {"stop by the hot key", [](HWND h) { ::SendMessageA(h, WM_HOTKEY, CRondixDlg::ID_HOTKEY_TOGGLE, 0); }, 1,
         1},
        {"reset while stopped", [](HWND h) { Click(h, IDC_RESET); }, 1, 0},
        {"start from the menu", [](HWND h) { Command(h, ID_TIMER_START); }, 0, 1},
        {"reset while running",
         [](HWND h) {
             PumpFor(100);
             Click(h, IDC_RESET);
         },
         1, 1},
        {"stop while stopped", [](HWND h) { Command(h, ID_TIMER_STOP); }, 0, 0},
    };
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        s_events = {hDlg, 0, 0};
        HWINEVENTHOOK hHook =
            ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, CountAccessEvent,
                              ::GetCurrentProcessId(), ::GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
        ASSERT_NE(hHook, nullptr);
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            const AccessEvents before = s_events;
            step.act(hDlg);
            PumpFor(50);
            EXPECT_EQ(s_events.nValues - before.nValues, step.nValues);
            EXPECT_EQ(s_events.nNames - before.nNames, step.nNames);
        }
        ::UnhookWinEvent(hHook);
    });
}

VARIANT Child(long nChild)
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = nChild;
    return v;
}

std::string Text(BSTR bstr)
{
    std::string text;
    for (const wchar_t* pch = bstr; pch && *pch; ++pch)
        text += (char)*pch;
    ::SysFreeString(bstr);
    return text;
}

TEST_F(RondixDlgTest, AccessibleObjectReadsTheWindowAndOutlivesItDisconnected)
{
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IAccessible* pAcc = nullptr;
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        ASSERT_EQ(::AccessibleObjectFromWindow(hDlg, (DWORD)OBJID_CLIENT, __uuidof(IAccessible), (void**)&pAcc),
                  S_OK);
        BSTR bstr = nullptr;
        EXPECT_EQ(pAcc->get_accName(Child(CHILDID_SELF), &bstr), S_OK) << "from the standard client object";
        EXPECT_EQ(Text(bstr), "Tempik");
        auto value = [&] {
            BSTR bstrValue = nullptr;
            EXPECT_EQ(pAcc->get_accValue(Child(CRondixAccessible::CHILD_READOUT), &bstrValue), S_OK);
            return Text(bstrValue);
        };
        EXPECT_EQ(value(), "00:00:00.000");
        Click(hDlg, IDC_START_STOP);
        PumpFor(100);
        Click(hDlg, IDC_START_STOP);
        const std::string stopped = value();
        EXPECT_EQ(stopped.size(), 12u);
        EXPECT_NE(stopped, "00:00:00.000");
        PumpFor(100);
        EXPECT_EQ(value(), stopped) << "a stopped count reads the same again";
        Click(hDlg, IDC_RESET);
        EXPECT_EQ(value(), "00:00:00.000") << "never stale";
        EXPECT_EQ(pAcc->get_accDescription(Child(CRondixAccessible::CHILD_START_STOP), &bstr), S_OK);
        EXPECT_EQ(Text(bstr), "Start the timer");

        // Reset's middle is Reset; the readout's corner, the readout; the space between, the client.
        const CRect rcReset = WindowRect(Button(hDlg, IDC_RESET));
        CPoint ptReadout(READOUT.left, READOUT.top), ptGap(2, READOUT.bottom + 1);
        ::ClientToScreen(hDlg, &ptReadout);
        ::ClientToScreen(hDlg, &ptGap);
        const struct {
            POINT pt;
            long nChild;
        } hits[] = {
            {{(rcReset.left + rcReset.right) / 2, (rcReset.top + rcReset.bottom) / 2},
             CRondixAccessible::CHILD_RESET},
            {ptReadout, CRondixAccessible::CHILD_READOUT},
            {ptGap, CHILDID_SELF},
        };
        for (const auto& hit : hits) {
            VARIANT v;
            EXPECT_EQ(pAcc->accHitTest(hit.pt.x, hit.pt.y, &v), S_OK);
            EXPECT_EQ(v.vt == VT_I4 ? v.lVal : -1, hit.nChild);
        }

        // Roles and states answer a child that is not there, or no place for the answer, as texts do.
        VARIANT answer;
        EXPECT_EQ(pAcc->get_accRole(Child(CRondixAccessible::CHILD_READOUT), &answer), S_OK);
        EXPECT_EQ(answer.vt == VT_I4 ? answer.lVal : -1, ROLE_SYSTEM_CLOCK);
        const VARIANT none = Child(CRondixAccessible::CHILD_COUNT + 1);
        EXPECT_EQ(pAcc->get_accRole(none, &answer), E_INVALIDARG);
        EXPECT_EQ(answer.vt, VT_EMPTY);
        EXPECT_EQ(pAcc->get_accState(none, &answer), E_INVALIDARG);
        EXPECT_EQ(pAcc->get_accName(none, &bstr), E_INVALIDARG);
        EXPECT_EQ(pAcc->get_accState(Child(CRondixAccessible::CHILD_RESET), nullptr), E_POINTER);
    });
    ASSERT_NE(pAcc, nullptr);
    ASSERT_FALSE(::IsWindow(dlg.m_hWnd));
    BSTR bstr = nullptr;
    long nCount = 0;
    EXPECT_EQ(pAcc->get_accValue(Child(CRondixAccessible::CHILD_READOUT), &bstr), RPC_E_DISCONNECTED);
    EXPECT_EQ(bstr, nullptr);
    EXPECT_EQ(pAcc->get_accChildCount(&nCount), RPC_E_DISCONNECTED);
    VARIANT role;
    EXPECT_EQ(pAcc->get_accRole(Child(CRondixAccessible::CHILD_READOUT), &role), RPC_E_DISCONNECTED);
    EXPECT_EQ(role.vt, VT_EMPTY);
    EXPECT_EQ(pAcc->accDoDefaultAction(Child(CRondixAccessible::CHILD_START_STOP)), RPC_E_DISCONNECTED);
    pAcc->Release();
    ::CoUninitialize();
}

struct MenuSeen {
    std::vector<std::string> texts;
    std::vector<UINT> ids;
    CPoint topLeft;
};

// Records the popup menu that opens next and closes it, or picks the item with the
// given mnemonic.
void InspectNextMenu(MenuSeen& seen, char chChoose = 0)
{
    WhenFound(FindPopupMenu, [&seen, chChoose](HWND hMenuWnd) {
        HMENU hMenu = (HMENU)::SendMessageA(hMenuWnd, MN_GETHMENU, 0, 0);
        seen.texts = MenuTexts(hMenu);
        seen.ids = MenuIds(hMenu);
        seen.topLeft = WindowRect(hMenuWnd).TopLeft();
        if (chChoose)
            ::PostMessageA(hMenuWnd, WM_CHAR, (WPARAM)chChoose, 0);
        else
            ::EndMenu();
    });
}

const std::vector<std::string> STOPPED_MENU = {"&Start", "", "&Options...", "&About Tempik...", "Exit"};
const std::vector<UINT> STOPPED_IDS = {ID_TIMER_START, 0, ID_TIMER_OPTIONS, ID_TIMER_ABOUT, ID_TIMER_EXIT};
const std::vector<std::string> RUNNING_MENU = {"&Stop", "", "&About Tempik..."};
const std::vector<UINT> RUNNING_IDS = {ID_TIMER_STOP, 0, ID_TIMER_ABOUT};

TEST_F(RondixDlgTest, PopupMenuFollowsTheStateAndItsChoiceIsCarriedOut)
{
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        MenuSeen seen;
        InspectNextMenu(seen);
        dlg.ShowPopupMenu(300, 200);
        EXPECT_EQ(seen.texts, STOPPED_MENU);
        EXPECT_EQ(seen.ids, STOPPED_IDS);
        EXPECT_EQ(seen.topLeft, CPoint(300, 200));

        // A right click arrives as WM_CONTEXTMENU with the screen point.
        InspectNextMenu(seen, 's');
        ::SendMessageA(hDlg, WM_CONTEXTMENU, (WPARAM)hDlg, MAKELPARAM(320, 210));
        EXPECT_EQ(seen.topLeft, CPoint(320, 210));
        EXPECT_TRUE(PumpUntil([&] { return dlg.IsRunning() == TRUE; })) << "&Start was chosen";

        InspectNextMenu(seen);
        Click(hDlg, IDC_MORE);
        EXPECT_EQ(seen.texts, RUNNING_MENU);
        EXPECT_EQ(seen.ids, RUNNING_IDS);
        CRect rcMore = WindowRect(Button(hDlg, IDC_MORE));
        EXPECT_EQ(seen.topLeft, CPoint(rcMore.left, rcMore.bottom)) << "below the More button";

        InspectNextMenu(seen, 's');
        dlg.ShowPopupMenu(300, 200);
        EXPECT_TRUE(PumpUntil([&] { return !dlg.IsRunning(); })) << "&Stop was chosen";
    });
}

// A message box of this thread owned by hOwner.
HWND FindOwnedMessageBox(HWND hOwner)
{
    struct Search {
        HWND hOwner, hFound;
    } search = {hOwner, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) {
            auto* p = (Search*)lParam;
            if (::IsWindowVisible(hWnd) && ::GetWindow(hWnd, GW_OWNER) == p->hOwner) {
                p->hFound = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&search);
    return search.hFound;
}

TEST_F(RondixDlgTest, OptionsChooseTheHotKeyAndAlwaysEndStoppedAtZero)
{
    struct Case {
        const char* pszName;
        bool bDoubleClick;  // else the menu command
        int nChoice;
        int nButton;
        int nIndexAfter;
        UINT nKeyAfter;       // 0: none registered
        UINT nHeldElsewhere;  // a key another window holds: OK is refused, then the dialog is cancelled
    };
    const Case cases[] = {
        {"OK with F5", false, 4, IDOK, 4, VK_F5, 0},
        {"OK with None", false, 0, IDOK, 0, 0, 0},
        {"Cancel after a double click on the body", true, 4, IDCANCEL, 1, VK_F2, 0},
        {"OK with F7, which another program holds", false, 6, IDOK, 1, VK_F2, VK_F7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        Settings::Clear();
        const int HELD_ID = 0x0F7;
        if (c.nHeldElsewhere) {
            ASSERT_TRUE(::RegisterHotKey(nullptr, HELD_ID, 0, c.nHeldElsewhere));
        }
        std::string strRefusal;
        bool bStayedOpen = false;
        CRondixDlg dlg;
        RunModal(dlg, [&](HWND hDlg) {
            const std::vector<COLORREF> zero = Readout(hDlg);
            Click(hDlg, IDC_START_STOP);
            ASSERT_TRUE(ReadoutChangesFrom(hDlg, zero));

            int nShown = -2;
            BOOL bRunningInside = TRUE;
            WhenFound([] { return FindThreadWindow(OPTIONS_TITLE); },
                      [&](HWND hOptions) {
                          bRunningInside = dlg.IsRunning();
                          nShown = (int)::SendDlgItemMessageA(hOptions, IDC_HOTKEY_LIST, CB_GETCURSEL, 0, 0);
                          ::SendDlgItemMessageA(hOptions, IDC_HOTKEY_LIST, CB_SETCURSEL, (WPARAM)c.nChoice, 0);
                          if (c.nHeldElsewhere) {
                              WhenFound([hOptions] { return FindOwnedMessageBox(hOptions); },
                                        [&](HWND hBox) {
                                            strRefusal = WindowText(::GetDlgItem(hBox, 0xFFFF));
                                            ::SendMessageA(hBox, WM_COMMAND, IDOK, 0);
                                        });
                              ::SendMessageA(hOptions, WM_COMMAND, (WPARAM)c.nButton, 0);
                              bStayedOpen = ::IsWindowVisible(hOptions) != FALSE;
                              ::SendMessageA(hOptions, WM_COMMAND, IDCANCEL, 0);
                              return;
                          }
                          ::SendMessageA(hOptions, WM_COMMAND, (WPARAM)c.nButton, 0);
                      });
            if (c.bDoubleClick)
                ::SendMessageA(hDlg, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 10));
            else
                Command(hDlg, ID_TIMER_OPTIONS);

            EXPECT_FALSE(bRunningInside) << "Options stops the stopwatch first";
            EXPECT_EQ(nShown, 1) << "the dialog shows the present key, F2";
            EXPECT_EQ(dlg.GetHotKeyIndex(), c.nIndexAfter);
            const bool bTaken = c.nButton == IDOK && !c.nHeldElsewhere;
            EXPECT_EQ(Settings::ReadHotKey(), bTaken ? std::optional<int>(c.nIndexAfter) : std::nullopt)
                << "a key taken is saved at once";
            for (UINT vk = VK_F2; vk <= VK_F12; ++vk)
                EXPECT_EQ(HotKeyTaken(vk), vk == c.nKeyAfter || vk == c.nHeldElsewhere) << "virtual key " << vk;
            EXPECT_FALSE(dlg.IsRunning());
            EXPECT_EQ(Readout(hDlg), zero) << "00:00:00.000 after Options";
        });
        EXPECT_EQ(Settings::ReadHotKey(), c.nIndexAfter);
        if (c.nHeldElsewhere) {
            ::UnregisterHotKey(nullptr, HELD_ID);
            EXPECT_EQ(strRefusal, "F7 is already used by another program. Choose another key, or None.");
            EXPECT_TRUE(bStayedOpen) << "a refused key keeps the dialog open";
        }
    }
}

TEST_F(RondixDlgTest, AboutOpensCentredFromMenuAndSystemMenuWhileTheCountGoesOn)
{
    struct Case {
        UINT nMessage;
        WPARAM wParam;
        bool bOpens;
    };
    const Case cases[] = {
        {WM_COMMAND, ID_TIMER_ABOUT, true}, {WM_SYSCOMMAND, IDM_ABOUTBOX, true},
        {WM_SYSCOMMAND, 17, true},          {WM_SYSCOMMAND, 31, true},
        {WM_SYSCOMMAND, 32, false},         {WM_SYSCOMMAND, 0x10010, true},  // only the low word counts
        {WM_SYSCOMMAND, 0x10020, false},
    };
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        Click(hDlg, IDC_START_STOP);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.wParam);
            bool bOpened = false;
            bool bCounted = false;
            CPoint ptCentre, ptBoxCentre;
            const auto seeAndClose = [&](HWND hAbout) {
                bOpened = true;
                CRect rcMain = WindowRect(hDlg), rcBox = WindowRect(hAbout);
                ptCentre = CPoint((rcMain.left + rcMain.right) / 2, (rcMain.top + rcMain.bottom) / 2);
                ptBoxCentre = CPoint((rcBox.left + rcBox.right) / 2, (rcBox.top + rcBox.bottom) / 2);
                bCounted = ReadoutChangesFrom(hDlg, Readout(hDlg));
                ::SendMessageA(hAbout, WM_COMMAND, IDOK, 0);
            };
            // A box that opens is waited for, however slowly it comes: left open, it would keep
            // the test in its modal loop until the test is timed out.
            if (c.bOpens)
                WhenFound([] { return FindThreadWindow(ABOUT_TITLE); }, seeAndClose);
            else
                RunSoon(
                    [&] {
                        if (HWND hAbout = FindThreadWindow(ABOUT_TITLE))
                            seeAndClose(hAbout);
                    },
                    50);
            ::SendMessageA(hDlg, c.nMessage, c.wParam, 0);
            PumpFor(100);
            EXPECT_EQ(bOpened, c.bOpens);
            if (c.bOpens) {
                EXPECT_LE(std::abs(ptCentre.x - ptBoxCentre.x), 1);
                EXPECT_LE(std::abs(ptCentre.y - ptBoxCentre.y), 1);
                EXPECT_TRUE(bCounted) << "the readout keeps counting behind the box";
            }
            EXPECT_TRUE(dlg.IsRunning());
        }
    });
}

TEST_F(RondixDlgTest, OpensAtTheStoredPlaceAndExitSavesAndEndsWithMinusOne)
{
    Settings::WriteHotKey(7);
    Settings::WritePosition("0,5,123,234,0,0");
    CRondixDlg dlg;
    CRect rcMoved;
    INT_PTR result = RunModal(dlg, [&](HWND hDlg) {
        EXPECT_EQ(WindowRect(hDlg).TopLeft(), CPoint(123, 234));
        ::SetWindowPos(hDlg, nullptr, 150, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        rcMoved = WindowRect(hDlg);
        Command(hDlg, ID_TIMER_EXIT);
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(Settings::ReadHotKey(), 7);
    EXPECT_EQ(Settings::ReadPosition(), PositionOf(rcMoved));
}

TEST_F(RondixDlgTest, EndingTheSessionSavesTheSettings)
{
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        ::SetWindowPos(hDlg, nullptr, 210, 220, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::SendMessageA(hDlg, WM_ENDSESSION, FALSE, 0);
        EXPECT_EQ(Settings::ReadHotKey(), std::nullopt) << "a cancelled end of session saves nothing";
        EXPECT_EQ(Settings::ReadPosition(), "");

        ::SendMessageA(hDlg, WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(Settings::ReadHotKey(), 1);
        EXPECT_EQ(Settings::ReadPosition(), PositionOf(WindowRect(hDlg)));
    });
}

TEST_F(RondixDlgTest, DraggingTheBodyMovesTheWindowByTheMouseDelta)
{
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        CPoint start = WindowRect(hDlg).TopLeft();
        EXPECT_EQ(::SendMessageA(hDlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10)), 0);
        EXPECT_EQ(::GetCapture(), hDlg);
        EXPECT_EQ(::SendMessageA(hDlg, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 20)), 1);
        EXPECT_EQ(WindowRect(hDlg).TopLeft(), CPoint(start.x + 30, start.y + 10));
        // The window moved under the cursor; a move up and left of the grab point.
        ::SendMessageA(hDlg, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 5));
        EXPECT_EQ(WindowRect(hDlg).TopLeft(), CPoint(start.x + 20, start.y + 5));
        // A fast move leaves the window first: the captured cursor is left of and above it.
        ::SendMessageA(hDlg, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, -15));
        EXPECT_EQ(WindowRect(hDlg).TopLeft(), CPoint(start.x - 50, start.y - 20));
        EXPECT_EQ(Settings::ReadPosition(), "") << "nothing saved while the drag goes on";
        EXPECT_EQ(::SendMessageA(hDlg, WM_LBUTTONUP, 0, MAKELPARAM(50, 10)), 0);
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_EQ(Settings::ReadPosition(), PositionOf(WindowRect(hDlg))) << "saved when the drag ends";

        // Pressed left of and above the window (as the capture of a fast drag delivers it), and
        // ended by another window taking the capture.
        ::SendMessageA(hDlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-4, -2));
        ::SendMessageA(hDlg, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 3));
        EXPECT_EQ(WindowRect(hDlg).TopLeft(), CPoint(start.x - 40, start.y - 15));
        ::SetCapture(Button(hDlg, IDC_RESET));
        EXPECT_EQ(Settings::ReadPosition(), PositionOf(WindowRect(hDlg)));
        ::ReleaseCapture();
        ::SendMessageA(hDlg, WM_LBUTTONUP, 0, MAKELPARAM(-4, -2));

        // A click that moves nothing writes nothing.
        Settings::Clear();
        ::SendMessageA(hDlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
        ::SendMessageA(hDlg, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 10));
        ::SendMessageA(hDlg, WM_LBUTTONUP, 0, MAKELPARAM(50, 10));
        EXPECT_EQ(Settings::ReadPosition(), "");

        EXPECT_EQ(::SendMessageA(hDlg, WM_MOUSEMOVE, 0, MAKELPARAM(90, 30)), 1);
        EXPECT_EQ(WindowRect(hDlg).TopLeft(), CPoint(start.x - 40, start.y - 15)) << "no drag without a press";

        CRect rcBefore = WindowRect(hDlg);
        ::SendMessageA(hDlg, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rcBefore.left + 5, rcBefore.top + 5));
        EXPECT_FALSE(::IsZoomed(hDlg));
        EXPECT_EQ(WindowRect(hDlg), rcBefore) << "a non-client double click is swallowed";
    });
}

// Points at the More button, as a person's mouse would: the tooltip sees the move.
void PointAtMore(HWND hDlg)
{
    CRect rc = WindowRect(Button(hDlg, IDC_MORE));
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::PostMessageA(Button(hDlg, IDC_MORE), WM_MOUSEMOVE, 0, MAKELPARAM(rc.Width() / 2, rc.Height() / 2));
    PumpUntil([] { return true; });
}

bool TipShows()
{
    return PumpUntil([] { return FindShownToolTip() != nullptr; }, 2000);
}

// The manifest asks for the common controls of version 6; the tips must work with them.
// Wine's own copy of version 6 reports 5.81, but is loaded from the side-by-side folder of 6.
bool CommonControls6Loaded()
{
    HMODULE hComCtl = ::GetModuleHandleA("comctl32.dll");
    auto pfn = hComCtl ? reinterpret_cast<DLLGETVERSIONPROC>(
                             reinterpret_cast<void*>(::GetProcAddress(hComCtl, "DllGetVersion")))
                       : nullptr;
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    if (!pfn || FAILED(pfn(&info)))
        return false;
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(hComCtl, szPath, MAX_PATH);
    std::string path = szPath;
    std::transform(path.begin(), path.end(), path.begin(), [](char ch) { return (char)std::tolower(ch); });
    return info.dwMajorVersion >= 6 ||
           path.find("\\winsxs\\amd64_microsoft.windows.common-controls_6595b64144ccf1df_6.") != std::string::npos;
}

TEST_F(RondixDlgTest, NoTipCoversAnOpenMenuAndTipsShowAgainAfterIt)
{
    CRondixDlg dlg;
    EXPECT_TRUE(CommonControls6Loaded());
    RunModal(dlg, [&](HWND hDlg) {
        Click(hDlg, IDC_START_STOP);
        bool bTipInMenu = true;
        WhenFound(FindPopupMenu, [&](HWND) {
            bTipInMenu = TipShows();
            ::EndMenu();
        });
        // Clicked well within the tip's delay after pointing at the button.
        PointAtMore(hDlg);
        Click(hDlg, IDC_MORE);
        EXPECT_FALSE(bTipInMenu);
        PointAtMore(hDlg);
        EXPECT_TRUE(TipShows()) << "tips work again once the menu is closed";
        ::SetCursorPos(0, 0);
    });
}

// The bounding box of the yellow in a w-pixel-wide block of pixels.
CRect YellowInk(const std::vector<COLORREF>& pixels, int w)
{
    CRect ink(w, INT_MAX, -1, -1);
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (GetRValue(pixels[i]) < 128 || GetGValue(pixels[i]) < 128)
            continue;
        const int x = (int)(i % (size_t)w), y = (int)(i / (size_t)w);
        ink.left = std::min(ink.left, (LONG)x);
        ink.top = std::min(ink.top, (LONG)y);
        ink.right = std::max(ink.right, (LONG)x + 1);
        ink.bottom = std::max(ink.bottom, (LONG)y + 1);
    }
    return ink;
}

// The width of the first run of columns of a button that hold anything but its face: its icon.
int IconInkWidth(HWND hButton)
{
    CRect rc;
    ::GetClientRect(hButton, &rc);
    const std::vector<COLORREF> pixels = ClientPixels(hButton, rc);
    const COLORREF face = pixels[0];
    int nRun = 0;
    for (int x = 0; x < rc.right; ++x) {
        bool bInk = false;
        for (int y = 0; y < rc.bottom && !bInk; ++y)
            bInk = pixels[(size_t)(y * rc.right + x)] != face;
        if (bInk)
            ++nRun;
        else if (nRun > 0)
            break;
    }
    return nRun;
}

void SendDpiChanged(HWND hDlg, UINT nDpi, const CRect& rcSuggested)
{
    ::SendMessageA(hDlg, WM_DPICHANGED, MAKEWPARAM(nDpi, nDpi), (LPARAM)&rcSuggested);
}

TEST_F(RondixDlgTest, AMonitorOfAnotherDpiScalesEverythingAndTheFirstBringsItBack)
{
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        // Figures at 96 DPI, the test desktop's.
        const CRect rcWindow = WindowRect(hDlg);
        CRect rcClient;
        ::GetClientRect(hDlg, &rcClient);
        const std::vector<COLORREF> atRest = ClientPixels(hDlg, rcClient);
        const CRect ink96 = YellowInk(Readout(hDlg), READOUT.right - READOUT.left);
        const int nIcon96 = IconInkWidth(Button(hDlg, IDC_START_STOP));
        GuiCounts before = {};

        Click(hDlg, IDC_START_STOP);
        SIZE sizeAsked = {};
        EXPECT_TRUE(::SendMessageA(hDlg, WM_GETDPISCALEDSIZE, 144, (LPARAM)&sizeAsked));
        CRect rcSuggested(rcWindow.left + 10, rcWindow.top + 20, rcWindow.left + 10 + rcWindow.Width() * 3 / 2,
                          rcWindow.top + 20 + rcWindow.Height() * 3 / 2);
        SendDpiChanged(hDlg, 144, rcSuggested);

        const CRect rc144 = WindowRect(hDlg);
        EXPECT_EQ(rc144.TopLeft(), rcSuggested.TopLeft()) << "at the suggested place";
        EXPECT_EQ(rc144.Width(), std::max(::MulDiv(rcWindow.Width(), 144, 96), 2 * 2 + 285));
        EXPECT_EQ(rc144.Height(), ::MulDiv(rcWindow.Height(), 144, 96));
        EXPECT_EQ(rc144.Width(), sizeAsked.cx) << "the size it said it would take";
        EXPECT_EQ(rc144.Height(), sizeAsked.cy);
        const RECT readout144 = {2, 0, 2 + 285, 54};
        for (int nId : {IDC_START_STOP, IDC_RESET, IDC_MORE})
            EXPECT_GE(WindowRect(Button(hDlg, nId)).top - rc144.top, readout144.bottom) << nId;
        EXPECT_TRUE(dlg.IsRunning()) << "the count goes on";
        EXPECT_TRUE(ReadoutChangesFrom(hDlg, ClientPixels(hDlg, readout144)));
        Click(hDlg, IDC_START_STOP);
        Click(hDlg, IDC_RESET);
        const std::vector<COLORREF> readout = ClientPixels(hDlg, readout144);
        ExpectYellowOnBlack(readout);
        const CRect ink144 = YellowInk(readout, 285);
        EXPECT_NEAR(ink144.Width(), ink96.Width() * 1.5, ink96.Width() * 0.1) << "the font is made for 144 DPI";
        EXPECT_NEAR(ink144.Height(), ink96.Height() * 1.5, ink96.Height() * 0.15);
        EXPECT_GT(ink144.left, 0) << "all twelve characters show";
        EXPECT_LT(ink144.right, 285);
        EXPECT_NEAR(IconInkWidth(Button(hDlg, IDC_START_STOP)), nIcon96 * 1.5, 2.0) << "24-pixel icons";
        EXPECT_EQ(StrayPixels(hDlg, readout144), 0) << "no stale pixels";

        SendDpiChanged(hDlg, 96, rcWindow);
        EXPECT_EQ(WindowRect(hDlg), rcWindow);
        EXPECT_EQ(ClientPixels(hDlg, rcClient), atRest) << "pixel for pixel as before";

        // The system keeps some things per DPI once it has met one: counted from the second trip.
        before = CountGuiObjects();
        SendDpiChanged(hDlg, 144, rcSuggested);
        SendDpiChanged(hDlg, 96, rcWindow);
        const GuiCounts after = CountGuiObjects();
        EXPECT_EQ(after.gdi, before.gdi) << "fonts, icons and surfaces of 144 DPI are gone";
        EXPECT_EQ(after.user, before.user);
        EXPECT_EQ(ClientPixels(hDlg, rcClient), atRest);
    });
}

TEST_F(RondixDlgTest, AMaximisedWindowKeepsItsPlaceAndIsShownNormalAgain)
{
    const struct {
        const char* pszName;
        std::function<void(HWND)> maximise;
    } cases[] = {
        {"system command", [](HWND h) { ::SendMessageA(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0); }},
        {"SW_MAXIMIZE", [](HWND h) { ::ShowWindow(h, SW_MAXIMIZE); }},
        {"restored to maximised",
         [](HWND h) {
             ::ShowWindow(h, SW_SHOWMAXIMIZED);
             ::ShowWindow(h, SW_MINIMIZE);
             PumpFor(100);
             EXPECT_TRUE(::IsIconic(h)) << "a minimised window stays so";
             ::ShowWindow(h, SW_RESTORE);
         }},
    };
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        const CRect rcNormal = WindowRect(hDlg);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.pszName);
            c.maximise(hDlg);
            const CRect rc = WindowRect(hDlg);
            EXPECT_TRUE(rc.Width() <= rcNormal.Width() && rc.Height() <= rcNormal.Height())
                << "never over the whole screen";
            EXPECT_TRUE(PumpUntil([&] { return !::IsZoomed(hDlg) && !::IsIconic(hDlg); }));
            PumpFor(100);
            EXPECT_EQ(WindowRect(hDlg), rcNormal);
        }
    });
}

TEST_F(RondixDlgTest, AChangedScreenOrWorkAreaBringsAWindowMostlyOutOfViewBack)
{
    struct Case {
        const char* pszName;
        UINT nMessage;
        WPARAM wParam;
        bool bMostlyOut;  // else just half in
        bool bMoves;
    };
    const Case cases[] = {
        {"display change, mostly out", WM_DISPLAYCHANGE, 32, true, true},
        {"display change, half in", WM_DISPLAYCHANGE, 32, false, false},
        {"work area change, mostly out", WM_SETTINGCHANGE, SPI_SETWORKAREA, true, true},
        {"another setting, mostly out", WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, true, false},
    };
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        const CRect rc = WindowRect(hDlg);
        MONITORINFO mi = {};
        mi.cbSize = sizeof mi;
        ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromWindow(hDlg, MONITOR_DEFAULTTONEAREST), &mi));
        const CRect work = mi.rcWork;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.pszName);
            // A 19 x 6 sliver in view, or exactly half the width.
            const CPoint at = c.bMostlyOut ? CPoint(work.right - 19, work.bottom - 6)
                                           : CPoint(work.right - rc.Width() / 2, work.top + 10);
            ::SetWindowPos(hDlg, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            Settings::Clear();
            ::SendMessageA(hDlg, c.nMessage, c.wParam, 0);
            const CPoint expected = c.bMoves ? CPoint(work.right - rc.Width(), work.bottom - rc.Height()) : at;
            EXPECT_EQ(WindowRect(hDlg).TopLeft(), expected);
            EXPECT_EQ(WindowRect(hDlg).Width(), rc.Width());
            EXPECT_EQ(Settings::ReadPosition(), c.bMoves ? PositionOf(WindowRect(hDlg)) : "") << "saved if moved";
        }
    });
}

TEST_F(RondixDlgTest, FocusRectanglesShowOnlyOnceTheKeyboardIsUsed)
{
    // Windows' default; Wine's is to show them always.
    BOOL bCues = FALSE;
    ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &bCues, 0);
    ::SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, (PVOID)FALSE, 0);
    CRondixDlg dlg;
    RunModal(dlg, [&](HWND hDlg) {
        auto pixels = [](HWND hButton) {
            CRect rc;
            ::GetClientRect(hButton, &rc);
            return ClientPixels(hButton, rc);
        };
        const HWND hStart = Button(hDlg, IDC_START_STOP), hReset = Button(hDlg, IDC_RESET);
        ASSERT_EQ(::GetFocus(), hStart);
        const std::vector<COLORREF> startAtRest = pixels(hStart), resetAtRest = pixels(hReset);
        // Focused or not, a button looks the same before the keyboard is used.
        ::SetFocus(hReset);
        PumpUntil([] { return true; });
        EXPECT_EQ(pixels(hStart), startAtRest);
        EXPECT_EQ(pixels(hReset), resetAtRest);
        ::SetFocus(hStart);

        // Through the modal loop, as a key press comes.
        ::PostMessageA(hStart, WM_KEYDOWN, VK_TAB, 0);
        ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == hReset; }));
        PumpUntil([] { return true; });
        EXPECT_NE(pixels(hReset), resetAtRest) << "Tab shows the focus rectangle";
        EXPECT_EQ(pixels(hStart), startAtRest);
        ::SetFocus(hStart);
        PumpUntil([] { return true; });
        EXPECT_NE(pixels(hStart), startAtRest) << "and it stays shown";
        EXPECT_EQ(pixels(hReset), resetAtRest);
    });
    ::SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, (PVOID)(INT_PTR)bCues, 0);
}

// Closes a popup menu as soon as it waits for input, and the options dialog on a
// message posted before it opens, from inside their own loops.
constexpr UINT WM_CLOSE_OPTIONS = WM_APP + 1;

class CRondixDlgInRounds : public CRondixDlg
{
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU)
            ::EndMenu();
        else if (message == WM_CLOSE_OPTIONS)
            ::PostMessageA(FindThreadWindowShownOrNot(OPTIONS_TITLE), WM_COMMAND, IDCANCEL, 0);
        else
            return CRondixDlg::WindowProc(message, wParam, lParam);
        return 0;
    }
};

TEST_F(RondixDlgTest, TemporaryWrappersGoWheneverTheMainLoopIdles)
{
    // Each round left two wrappers behind before they were freed in the loop, so
    // 200 rounds show a leak as plainly as 1,000, which take half a minute here.
    constexpr int ROUNDS = 200;
    constexpr int ROUNDS_PER_IDLE = 20;
    CRondixDlgInRounds dlg;
    HWND hDlg = nullptr;
    int nRounds = 0, nWaits = 0;
    std::vector<size_t> atIdle;              // each time the main loop has idled since the last batch
    size_t nAfterFirst = 0, nAfterLast = 0;  // right after round 1 and the last round, before it idles
    std::function<void()> batch = [&] {
        // A timer may fall due before the loop finds its queue empty: wait for that.
        if (AfxGetTempObjectCount() != 0 && ++nWaits < 50)
            return RunSoon(batch);
        nWaits = 0;
        atIdle.push_back(AfxGetTempObjectCount());
        if (nRounds == ROUNDS)
            return dlg.EndDialog(IDOK);
        // Round 1 alone, so that the loop idles right after it.
        for (int n = nRounds == 0 ? 1 : std::min(ROUNDS_PER_IDLE, ROUNDS - nRounds); n > 0; --n, ++nRounds) {
            dlg.ShowPopupMenu(300, 200);
            ::PostMessageA(hDlg, WM_CLOSE_OPTIONS, 0, 0);
            Command(hDlg, ID_TIMER_OPTIONS);
        }
        (nRounds == 1 ? nAfterFirst : nAfterLast) = AfxGetTempObjectCount();
        RunSoon(batch);
    };
    WhenFound([&] { return ::IsWindowVisible(dlg.m_hWnd) ? (hDlg = dlg.m_hWnd) : nullptr; },
              [&](HWND) { batch(); });
    AfxGetApp()->m_pMainWnd = &dlg;
    dlg.DoModal();
    AfxGetApp()->m_pMainWnd = nullptr;

    ASSERT_GE(atIdle.size(), 2u);
    EXPECT_EQ(nRounds, ROUNDS);
    EXPECT_GT(nAfterFirst, 0u) << "a round makes temporaries";
    EXPECT_EQ(atIdle.back(), atIdle[1]) << "as many live after the last round as after round 1";
    std::cout << "live temporaries after round 1: " << nAfterFirst << ", once the loop idled: " << atIdle[1]
              << "; after round " << nRounds << ": " << nAfterLast << ", once the loop idled: " << atIdle.back()
              << "\n";
}

}  // namespace
