// How real icon buttons in a dialog react to the mouse, focus and button messages.
#include "controls/IconButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/controls/ButtonTestDialog.h"
#include "tests/controls/ButtonTestRes.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TestImages.h"

namespace {
typedef CButtonTestDialog Dlg;

LPARAM Point(int x, int y)
{
    return MAKELPARAM(x, y);
}

// A mouse move to the middle of the button, with the pointer really there so
// the leave tracking does not fire at once.
void MoveOnto(CIconButtonProbe& button, WPARAM flags = 0)
{
    RECT r;
    button.GetClientRect(&r);
    POINT p = {r.right / 2, r.bottom / 2};
    POINT screen = p;
    button.ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    button.SendMessage(WM_MOUSEMOVE, flags, Point(p.x, p.y));
}

DWORD ButtonType(HWND button)
{
    return (DWORD)::GetWindowLongA(button, GWL_STYLE) & 0x0F;
}

int CountCommands(const Dlg& d, UINT id, int code)
{
    int n = 0;
    for (const Dlg::Command& c : d.m_commands)
        n += c.id == id && c.code == code;
    return n;
}

void Click(Dlg& d, CIconButtonProbe& button)
{
    d.SendMessage(WM_COMMAND, MAKEWPARAM(button.GetDlgCtrlID(), BN_CLICKED), (LPARAM)button.m_hWnd);
}

// One message sent to a button, and what a test expects of it.
struct MessageCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool expected;
};

TEST(IconButtonInputTest, HoverFollowsThePointerButNotADragFromElsewhere)
{
    Dlg::Run({[](Dlg& d) {
        CIconButtonProbe& b = d.m_first;
        MoveOnto(b, MK_LBUTTON);
        EXPECT_FALSE(b.m_hovering) << "a press that started elsewhere does not light it";
        MoveOnto(b);
        EXPECT_TRUE(b.m_hovering);
        MoveOnto(b, MK_LBUTTON);
        EXPECT_TRUE(b.m_hovering);
        // Dragged off while pressed: the point lies over the dialog.
        b.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Point(-5, 5));
        EXPECT_FALSE(b.m_hovering);
        MoveOnto(b, MK_LBUTTON);
        EXPECT_FALSE(b.m_hovering) << "dragging back does not light it again";

        b.SetFlat(FALSE, TRUE);
        MoveOnto(b);
        EXPECT_FALSE(b.m_hovering) << "no hover in the non-flat look";
        b.SetFlat(TRUE, TRUE);

        // In the background the button lights unless told to wait for activation.
        b.SendMessage(WM_MOUSELEAVE);
        ::SetActiveWindow(NULL);
        ASSERT_EQ(NULL, ::GetActiveWindow());
        MoveOnto(b);
        EXPECT_TRUE(b.m_hovering);
        b.SetHoverWhenInactive(FALSE);
        MoveOnto(b);
        EXPECT_FALSE(b.m_hovering) << "no active window: the light goes out";
        ::SetActiveWindow(d.m_hWnd);
        MoveOnto(b);
        EXPECT_TRUE(b.m_hovering);
        ::SetCursorPos(0, 0);
    }});
}

TEST(IconButtonInputTest, LeaveEventsPutTheLightOut)
{
    // expected: the button stays lit.
    const MessageCase events[] = {
        {"WM_MOUSELEAVE", WM_MOUSELEAVE, 0, false},  {"WM_KILLFOCUS", WM_KILLFOCUS, 0, false},
        {"WM_CANCELMODE", WM_CANCELMODE, 0, false},  {"WA_INACTIVE", WM_ACTIVATE, WA_INACTIVE, false},
        {"WA_ACTIVE", WM_ACTIVATE, WA_ACTIVE, true},
    };
    Dlg::Run({[&](Dlg& d) {
        CIconButtonProbe& b = d.m_second;
        for (const auto& e : events) {
            MoveOnto(b);
            ASSERT_TRUE(b.m_hovering) << e.name;
            b.SendMessage(e.message, e.wParam, 0);
            EXPECT_EQ(e.expected, b.m_hovering != FALSE) << e.name;
        }
        MoveOnto(b);
        b.EnableWindow(FALSE);
        EXPECT_FALSE(b.m_hovering) << "disabled";
        b.EnableWindow(TRUE);
        ::SetCursorPos(0, 0);
    }});
}

// What reached the platform's own procedure of a button the icon button subclassed.
std::vector<UINT> s_seenBelow;
WNDPROC s_buttonProc = NULL;

LRESULT CALLBACK LogBelow(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    s_seenBelow.push_back(message);
    return ::CallWindowProcA(s_buttonProc, hWnd, message, wParam, lParam);
}

TEST(IconButtonInputTest, HandlersLeaveTheDefaultProcessingToThePlatformButton)
{
    // expected: the platform's procedure sees the message.
    const MessageCase cases[] = {
        {"WM_MOUSEMOVE", WM_MOUSEMOVE, 0, true},
        {"WM_MOUSELEAVE", WM_MOUSELEAVE, 0, true},
        {"WM_KILLFOCUS", WM_KILLFOCUS, 0, true},
        {"WM_CANCELMODE", WM_CANCELMODE, 0, true},
        {"WM_ENABLE", WM_ENABLE, TRUE, true},
        {"WM_GETDLGCODE", WM_GETDLGCODE, 0, true},
        {"WM_SYSCOLORCHANGE", WM_SYSCOLORCHANGE, 0, true},
        {"BM_SETSTYLE", BM_SETSTYLE, BS_PUSHBUTTON, true},
        {"BM_SETCHECK", BM_SETCHECK, BST_CHECKED, false},
        {"BM_GETCHECK", BM_GETCHECK, 0, false},
    };
    HWND hWnd = ::CreateWindowExA(0, "BUTTON", "x", WS_POPUP | BS_PUSHBUTTON, 0, 0, 40, 20, NULL, NULL,
                                  ::GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(hWnd);
    s_buttonProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&LogBelow);
    {
        CIconButtonProbe button;
        ASSERT_TRUE(button.SubclassWindow(hWnd));
        for (const auto& c : cases) {
            s_seenBelow.clear();
            button.SendMessage(c.message, c.wParam, 0);
            const bool seen = std::find(s_seenBelow.begin(), s_seenBelow.end(), c.message) != s_seenBelow.end();
            EXPECT_EQ(c.expected, seen) << c.name;
        }
        button.UnsubclassWindow();
    }
    ::DestroyWindow(hWnd);
}

TEST(IconButtonInputTest, DoubleClickThroughTheModalLoopGivesTwoClicks)
{
    Dlg::Run({
        [](Dlg& d) {
            d.m_commands.clear();
            const LPARAM p = Point(20, 10);
            d.m_first.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, p);
            d.m_first.PostMessage(WM_LBUTTONUP, 0, p);
            d.m_first.PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, p);
            d.m_first.PostMessage(WM_LBUTTONUP, 0, p);
        },
        [](Dlg& d) {
            EXPECT_EQ(2, CountCommands(d, IDC_TEST_FIRST, BN_CLICKED));
            EXPECT_EQ(0, CountCommands(d, IDC_TEST_FIRST, BN_DOUBLECLICKED));
        },
    });
}

TEST(IconButtonInputTest, AClickTakesTheFocusBeforeTheDialogSeesIt)
{
    Dlg::Run({[](Dlg& d) {
        ::SetFocus(d.Plain());
        d.m_commands.clear();
        Click(d, d.m_second);
        ASSERT_EQ(1, CountCommands(d, IDC_TEST_SECOND, BN_CLICKED));
        EXPECT_EQ(d.m_second.m_hWnd, d.m_commands.back().focus);
    }});
}

TEST(IconButtonInputTest, TheDialogManagerMovesTheDefaultLookAndTheButtonsStayOwnerDrawn)
{
    Dlg::Run({[](Dlg& d) {
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ((DWORD)BS_OWNERDRAW, ButtonType(d.Button(i).m_hWnd)) << i;
        EXPECT_TRUE(d.m_default.m_isDefault);
        EXPECT_FALSE(d.m_first.m_isDefault);

        const UINT base = (UINT)d.m_first.DefWindowProc(WM_GETDLGCODE, 0, 0);
        EXPECT_EQ(base | DLGC_DEFPUSHBUTTON, (UINT)d.m_default.SendMessage(WM_GETDLGCODE));
        EXPECT_EQ(base | DLGC_UNDEFPUSHBUTTON, (UINT)d.m_first.SendMessage(WM_GETDLGCODE));

        // DM_SETDEFID restyles both buttons with BM_SETSTYLE.
        d.SendMessage(DM_SETDEFID, IDC_TEST_FIRST);
        EXPECT_TRUE(d.m_first.m_isDefault);
        EXPECT_FALSE(d.m_default.m_isDefault);
        EXPECT_EQ(base | DLGC_DEFPUSHBUTTON, (UINT)d.m_first.SendMessage(WM_GETDLGCODE));
        EXPECT_EQ((DWORD)BS_OWNERDRAW, ButtonType(d.m_first.m_hWnd));
        EXPECT_EQ((DWORD)BS_OWNERDRAW, ButtonType(d.m_default.m_hWnd));

        d.m_first.SendMessage(BM_SETSTYLE, BS_CHECKBOX, TRUE);
        EXPECT_TRUE(d.m_first.m_isDefault) << "other types leave it";
        d.m_first.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        EXPECT_FALSE(d.m_first.m_isDefault);
        EXPECT_EQ((DWORD)BS_OWNERDRAW, ButtonType(d.m_first.m_hWnd));

        // The parent's colour query for the button gets the hollow brush.
        HDC dc = ::GetDC(d.m_first.m_hWnd);
        EXPECT_EQ((LRESULT)::GetStockObject(NULL_BRUSH),
                  d.SendMessage(WM_CTLCOLORBTN, (WPARAM)dc, (LPARAM)d.m_first.m_hWnd));
        ::ReleaseDC(d.m_first.m_hWnd, dc);
    }});
}

TEST(IconButtonInputTest, CheckBoxTemplatesToggleOnClickAndAnswerTheCheckMessages)
{
    Dlg::Run({[](Dlg& d) {
        EXPECT_TRUE(d.m_check.m_isCheckBox);
        EXPECT_FALSE(d.m_first.m_isCheckBox);
        // BS_OWNERDRAW shares the BS_CHECKBOX bit but is no check box.
        EXPECT_FALSE(d.m_ownerDraw.m_isCheckBox);

        Click(d, d.m_check);
        EXPECT_EQ(1, d.m_check.GetCheckState());
        Click(d, d.m_check);
        EXPECT_EQ(0, d.m_check.GetCheckState());
        EXPECT_EQ(2, CountCommands(d, IDC_TEST_CHECK, BN_CLICKED));

        const struct {
            WPARAM set;
            LRESULT get;
        } cases[] = {{BST_INDETERMINATE, 1}, {BST_UNCHECKED, 0}, {BST_CHECKED, 1}, {7, 0}};
        for (const auto& c : cases) {
            EXPECT_EQ(0, d.m_check.SendMessage(BM_SETCHECK, c.set));
            EXPECT_EQ(c.get, d.m_check.SendMessage(BM_GETCHECK)) << c.set;
            d.m_first.SendMessage(BM_SETCHECK, c.set);
            EXPECT_EQ(0, d.m_first.SendMessage(BM_GETCHECK));
        }
    }});
}

// The popup-menu test drives the menu from a timer while TrackPopupMenuEx runs.
struct MenuDrive {
    CIconButtonProbe* button;
    HWND owner;
    WPARAM key;
    BOOL sawShowing;
    COLORREF cornerPixel;
};
MenuDrive s_menuDrive;

void CALLBACK DriveMenu(HWND hWnd, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(hWnd, id);
    s_menuDrive.sawShowing = s_menuDrive.button->m_menuShowing;
    s_menuDrive.cornerPixel = PixelAt(s_menuDrive.button->m_hWnd, 0, 5);
    if (s_menuDrive.key == VK_RETURN)
        ::PostMessageA(s_menuDrive.owner, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(s_menuDrive.owner, WM_KEYDOWN, s_menuDrive.key, 0);
}

TEST(IconButtonInputTest, AnAttachedMenuShowsUnderTheButtonAndPostsItsCommand)
{
    HMENU menu = ::CreateMenu();
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuA(sub, MF_STRING, 9201, "One");
    ::AppendMenuA(sub, MF_STRING, 9202, "Two");
    ::AppendMenuA(menu, MF_POPUP, (UINT_PTR)sub, "Sub");

    const auto open = [](WPARAM key) {
        return [key](Dlg& d) {
            s_menuDrive = {&d.m_first, d.m_hWnd, key, FALSE, 0};
            d.m_commands.clear();
            ::SetTimer(d.m_hWnd, 77, 50, &DriveMenu);
            Click(d, d.m_first);
            EXPECT_TRUE(s_menuDrive.sawShowing);
            EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), s_menuDrive.cornerPixel) << "drawn pressed";
            EXPECT_FALSE(d.m_first.m_menuShowing);
            EXPECT_EQ(1, CountCommands(d, IDC_TEST_FIRST, BN_CLICKED));
        };
    };
    Dlg::Run({
        [&](Dlg& d) {
            d.m_first.SetMenu(menu, d.m_hWnd);
            d.m_first.SetMenuNotify(d.m_hWnd, Dlg::kMenuNotify, 1234);
        },
        open(VK_RETURN),
        [&](Dlg& d) {
            ASSERT_EQ(1u, d.m_menuNotifies.size());
            EXPECT_EQ((WPARAM)sub, d.m_menuNotifies[0].first);
            EXPECT_EQ(1234, d.m_menuNotifies[0].second);
            EXPECT_EQ(1, CountCommands(d, 9201, 0));
        },
        open(VK_ESCAPE),
        [&](Dlg& d) {
            EXPECT_EQ(0, CountCommands(d, 9201, 0) + CountCommands(d, 9202, 0));
            EXPECT_EQ(2u, d.m_menuNotifies.size());
        },
    });
    // The menu was the button's and went with it.
    EXPECT_FALSE(::IsMenu(menu));
}

TEST(IconButtonInputTest, ALinkTargetIsOpenedOnClick)
{
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof(temp), temp);
    const std::string script = std::string(temp) + "tempik_link_test.cmd";
    const std::string marker = std::string(temp) + "tempik_link_test.txt";
    ::DeleteFileA(marker.c_str());
    HANDLE file = ::CreateFileA(script.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const std::string body = "@echo opened> \"" + marker + "\"\r\n";
    DWORD written = 0;
    ::WriteFile(file, body.data(), (DWORD)body.size(), &written, NULL);
    ::CloseHandle(file);

    Dlg::Run({[&](Dlg& d) {
        // Neither this program nor the buttons import the shell: it comes with the first link.
        EXPECT_EQ(nullptr, ::GetModuleHandleA("shell32.dll"));
        d.m_second.SetLinkTarget(script.c_str());
        Click(d, d.m_second);
        EXPECT_EQ(1, CountCommands(d, IDC_TEST_SECOND, BN_CLICKED));
        EXPECT_NE(nullptr, ::GetModuleHandleA("shell32.dll"));
    }});
    // The shell runs the script in a process of its own; give it time.
    bool opened = false;
    for (int i = 0; i < 600 && !opened; ++i) {
        opened = ::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!opened)
            ::Sleep(50);
    }
    EXPECT_TRUE(opened);
    ::DeleteFileA(marker.c_str());
    ::DeleteFileA(script.c_str());
}

TEST(IconButtonInputTest, AnAttachedCursorIsShownOverTheButton)
{
    BYTE andBits[128], xorBits[128] = {0};
    std::memset(andBits, 0xFF, sizeof(andBits));
    HCURSOR cursor = ::CreateCursor(NULL, 0, 0, 32, 32, andBits, xorBits);
    Dlg::Run({[&](Dlg& d) {
        const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
        const LRESULT plain = ::SendMessageA(d.Plain(), WM_SETCURSOR, (WPARAM)d.Plain(), hit);
        EXPECT_EQ(plain, d.m_first.SendMessage(WM_SETCURSOR, (WPARAM)d.m_first.m_hWnd, hit));

        d.m_first.SetBtnCursor(cursor);
        EXPECT_EQ(TRUE, d.m_first.SendMessage(WM_SETCURSOR, (WPARAM)d.m_first.m_hWnd, hit));
        EXPECT_EQ(cursor, ::GetCursor());
        ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    }});
    ICONINFO info;
    EXPECT_FALSE(::GetIconInfo(cursor, &info)) << "destroyed with the button";
}

TEST(IconButtonInputTest, DisablingMovesTheFocusToTheNextTabStop)
{
    Dlg::Run({[](Dlg& d) {
        d.m_first.SetFocus();
        d.m_first.EnableWindow(FALSE);
        EXPECT_EQ(d.m_second.m_hWnd, ::GetFocus());
        // Even when another control has the focus.
        ::SetFocus(d.Plain());
        d.m_second.EnableWindow(FALSE);
        EXPECT_EQ(d.m_default.m_hWnd, ::GetFocus());
        d.m_first.EnableWindow(TRUE);
        d.m_second.EnableWindow(TRUE);
    }});
}

TEST(IconButtonInputTest, ASystemColourChangeResetsTheColours)
{
    Dlg::Run({[](Dlg& d) {
        CIconButtonProbe& b = d.m_first;
        for (BYTE slot = 0; slot < CIconButton::ColorCount; ++slot)
            b.ShiftColor(slot, slot % 2 ? -40 : 40, TRUE);
        b.SendMessage(WM_SYSCOLORCHANGE);
        for (int slot = 0; slot < CIconButton::ColorCount; ++slot)
            EXPECT_EQ(::GetSysColor(slot % 2 ? COLOR_BTNTEXT : COLOR_BTNFACE), b.m_colors[slot]) << slot;
    }});
}

// Dispatches only: the tooltip sees what the modal loop around each step relays, no more.
// The program suspends tips only inside a menu's own loop, which relays nothing. Relayed
// here, the pointer move that SetCursorPos queues would reach the suspended tooltip, and
// Wine shows the tip when a wait begun while it was active ends.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return DialogDriver::PumpUntil(done, timeoutMs, false);
}

TEST(IconButtonInputTest, TheTooltipSeesTheRelayedMouseOnceActive)
{
    // The mouse move goes through the modal loop, which relays it to the tooltip.
    const auto point = [](Dlg& d) {
        MoveOnto(d.m_first);
        d.m_first.PostMessage(WM_MOUSEMOVE, 0, Point(40, 12));
    };
    const auto shown = [](Dlg& d) { return ::IsWindowVisible(d.m_first.m_toolTip.m_hWnd) != FALSE; };
    Dlg::Run({
        [](Dlg& d) {
            // Created inactive: a tool added behind the button's back stays hidden.
            d.m_first.EnsureToolTip();
            RECT client = {0, 0, 80, 24};
            d.m_first.m_toolTip.AddTool(&d.m_first, "tip", &client, 1);
        },
        point,
        [&](Dlg& d) {
            // Well past the delay after which an active tooltip shows.
            const int delay = (int)d.m_first.m_toolTip.SendMessage(TTM_GETDELAYTIME, TTDT_INITIAL);
            EXPECT_FALSE(PumpUntil([&] { return shown(d); }, delay + 1000)) << "inactive";
            d.m_first.SetTipText("tip", TRUE);
        },
        point,
        [&](Dlg& d) {
            EXPECT_TRUE(PumpUntil([&] { return shown(d); }, 10000));
            // Suspended and resumed, an inactive tip stays inactive.
            d.m_first.SetTipText("tip", FALSE);
            d.m_first.SuspendToolTip(TRUE);
            d.m_first.SuspendToolTip(FALSE);
        },
        point,
        [&](Dlg& d) {
            const int delay = (int)d.m_first.m_toolTip.SendMessage(TTM_GETDELAYTIME, TTDT_INITIAL);
            EXPECT_FALSE(PumpUntil([&] { return shown(d); }, delay + 1000)) << "inactive as before";
            d.m_first.SetTipText("tip", TRUE);
        },
        point,
        [&](Dlg& d) {
            // Suspended while the tip waits to show, and activated meanwhile.
            d.m_first.SuspendToolTip(TRUE);
            d.m_first.SetTipText("tip", TRUE);
            const int delay = (int)d.m_first.m_toolTip.SendMessage(TTM_GETDELAYTIME, TTDT_INITIAL);
            EXPECT_FALSE(PumpUntil([&] { return shown(d); }, delay + 1000)) << "suspended";
            d.m_first.SuspendToolTip(FALSE);
        },
        point,
        [&](Dlg& d) {
            EXPECT_TRUE(PumpUntil([&] { return shown(d); }, 10000)) << "active as last asked";
            // A menu opens over the lit button and closes with the pointer unmoved on it.
            d.m_first.SuspendToolTip(TRUE);
            d.m_first.SendMessage(WM_CANCELMODE);
            ASSERT_FALSE(d.m_first.m_hovering);
            ASSERT_FALSE(shown(d));
            d.m_first.SuspendToolTip(FALSE);
        },
        [&](Dlg& d) {
            EXPECT_TRUE(d.m_first.m_hovering) << "lit again with no move";
            EXPECT_TRUE(PumpUntil([&] { return shown(d); }, 10000)) << "and its tip shows";
            ::SetCursorPos(0, 0);
        },
    });
}

TEST(IconButtonInputTest, TheTooltipIsCreatedOnceWithOneTool)
{
    Dlg::Run({
        [](Dlg& d) {
            d.m_first.SetTipText(NULL, TRUE);
            EXPECT_EQ(NULL, d.m_first.m_toolTip.m_hWnd);
            for (const char* text : {"one", "two", "three"})
                d.m_first.SetTipText(text, TRUE);
            ASSERT_TRUE(::IsWindow(d.m_first.m_toolTip.m_hWnd));
            EXPECT_EQ(1, d.m_first.m_toolTip.SendMessage(TTM_GETTOOLCOUNT));
            char text[80] = "";
            TOOLINFOA ti = {};
            ti.cbSize = TTTOOLINFOA_V2_SIZE;
            ti.hwnd = d.m_first.m_hWnd;
            ti.uId = 1;
            ti.lpszText = text;
            d.m_first.m_toolTip.SendMessage(TTM_GETTEXTA, sizeof(text), (LPARAM)&ti);
            EXPECT_STREQ("three", text);
            ASSERT_TRUE(d.m_first.m_toolTip.SendMessage(TTM_GETTOOLINFOA, 0, (LPARAM)&ti));
            EXPECT_EQ(80, ti.rect.right) << "the tool covers the client area";
            EXPECT_EQ(24, ti.rect.bottom);
            EXPECT_EQ(400, d.m_first.m_toolTip.SendMessage(TTM_GETMAXTIPWIDTH));

            // Resized, at another DPI, the tool still covers the button and the lines scale.
            d.m_first.SetDpi(144);
            d.m_first.SetWindowPos(nullptr, 0, 0, 120, 36, SWP_NOMOVE | SWP_NOZORDER);
            ASSERT_TRUE(d.m_first.m_toolTip.SendMessage(TTM_GETTOOLINFOA, 0, (LPARAM)&ti));
            EXPECT_EQ(120, ti.rect.right);
            EXPECT_EQ(36, ti.rect.bottom);
            EXPECT_EQ(600, d.m_first.m_toolTip.SendMessage(TTM_GETMAXTIPWIDTH));
            d.m_first.SetDpi(96);

            // The tip is as wide as its text measures and clips there: in a font that draws
            // wider than it measures (Wine's Tahoma at 14 pixels), the text gets the room its ink needs.
            CFont font;
            LOGFONTA lf = {};
            lf.lfHeight = -14;
            ::lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
            ASSERT_TRUE(font.CreateFontIndirect(&lf));
            d.m_first.m_toolTip.SendMessage(WM_SETFONT, (WPARAM)(HFONT)font, FALSE);
            const char* const tip = "Start the timer";
            d.m_first.SetTipText(tip, TRUE);
            d.m_first.m_toolTip.SendMessage(TTM_GETTEXTA, sizeof(text), (LPARAM)&ti);
            EXPECT_EQ(0, std::strncmp(text, tip, std::strlen(tip))) << text;
            EXPECT_STREQ(tip, d.m_first.GetTipText()) << "read back without the room";
            CDC dc;
            ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
            CBitmap canvas;
            ASSERT_TRUE(canvas.CreateBitmap(300, 30, 1, 32, nullptr));
            HGDIOBJ oldBitmap = ::SelectObject(dc, canvas), oldFont = ::SelectObject(dc, font);
            RECT measured = {0, 0, 0, 0};
            dc.DrawText(text, -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            RECT all = {0, 0, 300, 30};
            ::FillRect(dc, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
            dc.DrawText(tip, -1, &all, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
            int inkEnd = 0;
            for (int x = 0; x < 300; ++x)
                for (int y = 0; y < 30; ++y)
                    if (::GetPixel(dc, x, y) != RGB(255, 255, 255))
                        inkEnd = x + 1;
            ::SelectObject(dc, oldFont);
            ::SelectObject(dc, oldBitmap);
            EXPECT_GE(measured.right, inkEnd) << "the last letter would be cut";
            d.m_first.m_toolTip.SendMessage(WM_SETFONT, 0, FALSE);

            // Any queued message for a button creates its tooltip.
            EXPECT_EQ(NULL, d.m_second.m_toolTip.m_hWnd);
            d.m_second.PostMessage(WM_NULL);
        },
        [](Dlg& d) {
            EXPECT_TRUE(::IsWindow(d.m_second.m_toolTip.m_hWnd));
            EXPECT_EQ(0, d.m_second.m_toolTip.SendMessage(TTM_GETTOOLCOUNT));
        },
    });
}
}  // namespace
