// The three dialog templates, read back from the test program's own
// resources and created as real windows.
#include "res/Version.h"
#include "res/resource.h"
#include "tests/res/DialogTemplate.h"
#include "tests/res/GuiHandleTest.h"
#include "tests/support/DialogDriver.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr WORD kButton = 0x0080;
constexpr WORD kStatic = 0x0082;
constexpr WORD kComboBox = 0x0085;

struct ExpectedItem {
    WORD classAtom;
    int id;
    const char* text;  // nullptr: any text that is not empty
    short x, y, cx, cy;
    DWORD typeMask;  // the low style bits that pick the control's type
    DWORD type;
    DWORD required;   // further style bits that must be set
    DWORD forbidden;  // and bits that must not be
};

struct ExpectedDialog {
    int id;
    bool extended;
    DWORD style;
    const char* caption;
    short cx, cy;
    WORD pointSize;
    const char* typeface;
    std::vector<ExpectedItem> items;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const std::vector<ExpectedDialog>& Dialogs()
{
    // A table laid out as the .rc file is: one control a line.
    // clang-format off
    static const std::vector<ExpectedDialog> dialogs = {
        {IDD_ABOUTBOX, false, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
         "About Tempik", 200, 40, 8, "MS Sans Serif",
         {
             {kStatic, IDC_STATIC, "Tempik Version " TEMPIK_VERSION_TEXT, 10, 10, 140, 8,
              SS_TYPEMASK, SS_LEFT, kChild | SS_NOPREFIX, 0},
             {kStatic, IDC_STATIC, nullptr, 10, 22, 165, 8, SS_TYPEMASK, SS_LEFT, kChild, 0},
             {kButton, IDOK, "OK", 140, 18, 40, 12, BS_TYPEMASK, BS_DEFPUSHBUTTON,
              kChild | WS_TABSTOP, 0},
         }},
        {IDD_RONDIX_DIALOG, true, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_VISIBLE, "", 128, 36,
         8, "Microsoft Sans Serif",
         {
             {kButton, IDC_START_STOP, "Start", 2, 25, 32, 10, BS_TYPEMASK, BS_PUSHBUTTON,
              kChild | WS_TABSTOP, 0},
             {kButton, IDC_RESET, "Reset", 45, 25, 36, 10, BS_TYPEMASK, BS_PUSHBUTTON,
              kChild | WS_TABSTOP, 0},
             {kButton, IDC_MORE, "More", 91, 25, 35, 10, BS_TYPEMASK, BS_PUSHBUTTON,
              kChild | WS_TABSTOP, 0},
         }},
        {IDD_TIMER_OPTIONS, false, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
         "Tempik Options", 159, 102, 8, "MS Sans Serif",
         {
             {kButton, IDOK, "OK", 102, 7, 50, 14, BS_TYPEMASK, BS_DEFPUSHBUTTON,
              kChild | WS_GROUP | WS_TABSTOP, 0},
             {kButton, IDCANCEL, "Cancel", 102, 25, 50, 14, BS_TYPEMASK, BS_PUSHBUTTON,
              kChild | WS_TABSTOP, 0},
             {kButton, IDC_STATIC, "Select Hotkey", 7, 7, 86, 88, BS_TYPEMASK, BS_GROUPBOX, kChild,
              WS_TABSTOP},
             // Not sorted: an entry's position is its hot-key index.
             {kComboBox, IDC_HOTKEY_LIST, "", 17, 25, 48, 70, 0x3, CBS_DROPDOWN,
              kChild | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, CBS_SORT},
         }},
    };
    // clang-format on
    return dialogs;
}

const char* WindowClassOf(WORD atom)
{
    switch (atom) {
    case kButton:
        return "Button";
    case kStatic:
        return "Static";
    case kComboBox:
        return "ComboBox";
    }
    return "?";
}

std::optional<DialogTemplate> LoadTemplate(int id)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_DIALOG);
    if (!found)
        return std::nullopt;
    const void* data = LockResource(LoadResource(nullptr, found));
    return DialogTemplate::Read(data, SizeofResource(nullptr, found));
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

TEST(DialogResource, TemplatesHoldTheirControlsInOrder)
{
    for (const ExpectedDialog& d : Dialogs()) {
        SCOPED_TRACE(d.id);
        std::optional<DialogTemplate> t = LoadTemplate(d.id);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(t->extended, d.extended);
        EXPECT_EQ(t->style, d.style) << std::hex << (t->style ^ d.style);
        EXPECT_EQ(t->exStyle, 0u);
        EXPECT_EQ(t->x, 0);
        EXPECT_EQ(t->y, 0);
        EXPECT_EQ(t->cx, d.cx);
        EXPECT_EQ(t->cy, d.cy);
        EXPECT_FALSE(t->hasMenu);
        EXPECT_EQ(t->caption, d.caption);
        EXPECT_EQ(t->pointSize, d.pointSize);
        EXPECT_EQ(t->typeface, d.typeface);
        if (d.extended) {
            EXPECT_EQ(t->weight, FW_NORMAL);
            EXPECT_EQ(t->italic, 0);
        }
        ASSERT_EQ(t->items.size(), d.items.size());
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            const ExpectedItem& e = d.items[i];
            const DialogItem& item = t->items[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(item.classAtom, e.classAtom);
            EXPECT_EQ(item.id, e.id);
            if (e.text) {
                EXPECT_EQ(item.text, e.text);
            } else {
                EXPECT_FALSE(item.text.empty());
            }
            EXPECT_EQ(item.x, e.x);
            EXPECT_EQ(item.y, e.y);
            EXPECT_EQ(item.cx, e.cx);
            EXPECT_EQ(item.cy, e.cy);
            EXPECT_EQ(item.style & e.typeMask, e.type);
            EXPECT_EQ(item.style & e.required, e.required);
            EXPECT_EQ(item.style & e.forbidden, 0u);
        }
    }
}

class DialogWindow : public GuiHandleTest
{
};

TEST_F(DialogWindow, CreatesWithEveryControl)
{
    for (const ExpectedDialog& d : Dialogs()) {
        SCOPED_TRACE(d.id);
        UniqueWindow dialog =
            Own(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(d.id), nullptr, QuietDialogProc, 0));
        ASSERT_TRUE(dialog);
        EXPECT_EQ(DialogDriver::WindowText(dialog.get()), d.caption);
        DWORD style = GetWindowLongA(dialog.get(), GWL_STYLE);
        EXPECT_EQ(style & WS_CAPTION, d.style & WS_CAPTION);
        EXPECT_EQ(IsWindowVisible(dialog.get()) != FALSE, (d.style & WS_VISIBLE) != 0);

        HWND child = GetWindow(dialog.get(), GW_CHILD);
        for (const ExpectedItem& e : d.items) {
            ASSERT_NE(child, nullptr) << "fewer controls than in the template";
            char cls[64] = "";
            GetClassNameA(child, cls, sizeof cls);
            EXPECT_STRCASEEQ(cls, WindowClassOf(e.classAtom));
            EXPECT_EQ(WORD(GetDlgCtrlID(child)), WORD(e.id));
            if (e.text) {
                EXPECT_EQ(DialogDriver::WindowText(child), e.text);
            }
            DWORD childStyle = GetWindowLongA(child, GWL_STYLE);
            // A combo box hands its scroll bar on to its list.
            DWORD required = e.classAtom == kComboBox ? e.required & ~WS_VSCROLL : e.required;
            EXPECT_EQ(childStyle & required, required) << cls << " " << e.id;
            EXPECT_EQ(childStyle & e.forbidden, 0u) << cls << " " << e.id;
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr) << "more controls than in the template";
    }
}

TEST_F(DialogWindow, MainWindowClientAreaIsTheTemplateSize)
{
    UniqueWindow dialog = Own(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_RONDIX_DIALOG),
                                                 nullptr, QuietDialogProc, 0));
    ASSERT_TRUE(dialog);
    RECT expected = {0, 0, 128, 36};
    ASSERT_TRUE(MapDialogRect(dialog.get(), &expected));
    RECT client{};
    GetClientRect(dialog.get(), &client);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);

    // The buttons sit side by side inside the window, below the readout.
    RECT previous{};
    for (int id : {IDC_START_STOP, IDC_RESET, IDC_MORE}) {
        SCOPED_TRACE(id);
        RECT r{};
        HWND button = GetDlgItem(dialog.get(), id);
        ASSERT_NE(button, nullptr);
        GetWindowRect(button, &r);
        MapWindowPoints(nullptr, dialog.get(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_GE(r.left, previous.right);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);
        EXPECT_GT(r.top, client.bottom / 2);
        previous = r;
    }
}

// The About box's text lines must end before the OK button begins, whatever
// font stands in for "MS Sans Serif".
TEST_F(DialogWindow, AboutTextStaysLeftOfTheOkButton)
{
    UniqueWindow dialog = Own(
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr, QuietDialogProc, 0));
    ASSERT_TRUE(dialog);
    RECT ok{};
    GetWindowRect(GetDlgItem(dialog.get(), IDOK), &ok);
    MapWindowPoints(nullptr, dialog.get(), reinterpret_cast<POINT*>(&ok), 2);

    int lines = 0;
    for (HWND child = GetWindow(dialog.get(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == IDOK)
            continue;
        ++lines;
        std::string text = DialogDriver::WindowText(child);
        RECT at{};
        GetWindowRect(child, &at);
        MapWindowPoints(nullptr, dialog.get(), reinterpret_cast<POINT*>(&at), 2);
        HDC dc = GetDC(child);
        HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)));
        RECT extent = {0, 0, 0, 0};
        DrawTextA(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
        ReleaseDC(child, dc);
        EXPECT_GT(extent.right, 0) << text;
        EXPECT_LT(at.left + extent.right, ok.left) << text;
    }
    EXPECT_EQ(lines, 2);
}

}  // namespace
