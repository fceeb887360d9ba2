#include "settings/TimerOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/DialogDriver.h"

namespace {
enum class Action {
    Cancel,
    PressOk,
    ChooseAndOk,
    ChooseAndCancel,
    TypeAndOk,
};

// What a person does in the open dialog, and what the dialog showed when it opened.
struct Script {
    Action action = Action::Cancel;
    int nChoose = 0;
    const char* pszTyped = "";

    bool bOpened = false;
    std::vector<std::string> entries;
    int nSelected = -2;
    std::string strShown;
};

// A click on a button: it takes the focus, then tells the dialog.
void Click(HWND hDlg, int nID)
{
    HWND hButton = ::GetDlgItem(hDlg, nID);
    ::SetFocus(hButton);
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)hButton);
}

// Runs inside the dialog's modal loop: looks at the dialog once it is shown, then acts.
void Drive(HWND hDlg, Script& script)
{
    HWND hList = ::GetDlgItem(hDlg, IDC_HOTKEY_LIST);
    script.bOpened = true;

    LRESULT nCount = ::SendMessageA(hList, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < nCount; ++i) {
        char szEntry[64] = "";
        if (::SendMessageA(hList, CB_GETLBTEXTLEN, (WPARAM)i, 0) < (LRESULT)sizeof szEntry)
            ::SendMessageA(hList, CB_GETLBTEXT, (WPARAM)i, (LPARAM)szEntry);
        script.entries.push_back(szEntry);
    }
    script.nSelected = (int)::SendMessageA(hList, CB_GETCURSEL, 0, 0);
    script.strShown = DialogDriver::WindowText(hList);

    switch (script.action) {
    case Action::Cancel:
        Click(hDlg, IDCANCEL);
        break;
    case Action::PressOk:
        Click(hDlg, IDOK);
        break;
    case Action::ChooseAndOk:
    case Action::ChooseAndCancel:
        ::SendMessageA(hList, CB_SETCURSEL, (WPARAM)script.nChoose, 0);
        Click(hDlg, script.action == Action::ChooseAndOk ? IDOK : IDCANCEL);
        break;
    case Action::TypeAndOk: {
        // Typed into the edit field over whatever it showed, with the list closed.
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        ::GetComboBoxInfo(hList, &info);
        ::SetFocus(info.hwndItem);
        ::SendMessageA(info.hwndItem, EM_SETSEL, 0, -1);
        ::SendMessageA(info.hwndItem, WM_CHAR, VK_BACK, 1);
        for (const char* p = script.pszTyped; *p; ++p)
            ::SendMessageA(info.hwndItem, WM_CHAR, (WPARAM)(BYTE)*p, 1);
        Click(hDlg, IDOK);
        break;
    }
    }
}

// Runs the dialog with the given index; returns DoModal's result.
INT_PTR RunOptions(int nGiven, Script& script, int* pnIndexAfter)
{
    CTimerOptions dlg;
    dlg.m_nHotKeyIndex = nGiven;
    // A dialog the script left open is ended by the driver, so the test fails instead of hanging.
    INT_PTR nResult = DialogDriver::RunModal(dlg, [&](HWND hDlg) { Drive(hDlg, script); });
    *pnIndexAfter = dlg.m_nHotKeyIndex;
    return nResult;
}

const std::vector<std::string> ALL_ENTRIES = {"None", "F2", "F3", "F4",  "F5",  "F6",
                                              "F7",   "F8", "F9", "F10", "F11", "F12"};
}  // namespace

TEST(TimerOptions, ListsNoneAndF2ToF12WithTheGivenEntrySelected)
{
    const struct {
        int nGiven, nSelected;
        const char* pszShown;
    } cases[] = {{1, 1, "F2"}, {0, 0, "None"}, {11, 11, "F12"}, {12, -1, ""}, {-1, -1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nGiven);
        Script script;
        int nAfter = 0;
        EXPECT_EQ(RunOptions(c.nGiven, script, &nAfter), IDCANCEL);
        ASSERT_TRUE(script.bOpened);
        EXPECT_EQ(script.entries, ALL_ENTRIES);
        EXPECT_EQ(script.nSelected, c.nSelected);
        EXPECT_EQ(script.strShown, c.pszShown);
        EXPECT_EQ(nAfter, c.nGiven) << "cancel keeps the index";
    }
}

TEST(TimerOptions, OkTakesChosenOrTypedEntryAndOtherwiseKeepsTheIndex)
{
    const struct {
        int nGiven;
        Action action;
        int nChoose;
        const char* pszTyped;
        int nExpected;
    } cases[] = {
        {1, Action::ChooseAndOk, 4, "", 4},  // F5
        {1, Action::ChooseAndOk, 0, "", 0},  // None
        {5, Action::PressOk, 0, "", 5},
        {1, Action::TypeAndOk, 0, "f7", 6},
        {1, Action::TypeAndOk, 0, "none", 0},
        {1, Action::TypeAndOk, 0, "F12", 11},
        {3, Action::TypeAndOk, 0, "junk", 3},
        {3, Action::TypeAndOk, 0, "F1", 3},  // a prefix of F10 ... F12, but no entry
        {3, Action::TypeAndOk, 0, "", 3},
        {12, Action::PressOk, 0, "", 12},  // nothing selected, nothing typed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nGiven) + " \"" + c.pszTyped + "\" choose " + std::to_string(c.nChoose));
        Script script;
        script.action = c.action;
        script.nChoose = c.nChoose;
        script.pszTyped = c.pszTyped;
        int nAfter = -99;
        EXPECT_EQ(RunOptions(c.nGiven, script, &nAfter), IDOK);
        EXPECT_TRUE(script.bOpened);
        EXPECT_EQ(nAfter, c.nExpected);
    }
}

TEST(TimerOptions, CancelAfterChoosingKeepsTheGivenIndex)
{
    Script script;
    script.action = Action::ChooseAndCancel;
    script.nChoose = 7;
    int nAfter = 0;
    EXPECT_EQ(RunOptions(2, script, &nAfter), IDCANCEL);
    EXPECT_TRUE(script.bOpened);
    EXPECT_EQ(nAfter, 2);
}
