#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include "tests/framework/FrameworkTestRes.h"

namespace {

constexpr UINT WM_TEST_POSTED = WM_APP + 7;
constexpr UINT WM_TEST_NESTED = WM_APP + 8;
constexpr UINT ID_TEST_APP_COMMAND = 9500;

// A button bound by data exchange that records what the modal loop offers it.
class CRecordingButton : public CButton
{
public:
    std::vector<std::string>* m_pLog = nullptr;
    int m_nPreSubclass = 0;
    bool m_bPermanentAtPreSubclass = false;
    BOOL m_bEatPosted = FALSE;

    void PreSubclassWindow() override
    {
        ++m_nPreSubclass;
        m_bPermanentAtPreSubclass = FromHandlePermanent(m_hWnd) == this;
        CButton::PreSubclassWindow();
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_TEST_POSTED && m_pLog) {
            m_pLog->push_back("button");
            return m_bEatPosted;
        }
        return CButton::PreTranslateMessage(pMsg);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TEST_POSTED && m_pLog)
            m_pLog->push_back("dispatched");
        return CButton::WindowProc(message, wParam, lParam);
    }
};

// A dialog whose initialisation, timer and nested step each test fills in.
class CTestDialog : public CDialog
{
public:
    explicit CTestDialog(UINT nIDTemplate, CWnd* pParent = nullptr) : CDialog(nIDTemplate, pParent)
    {
        m_button.m_pLog = &m_log;
    }

    std::function<void(CTestDialog&)> m_onInit;
    std::function<void(CTestDialog&, UINT_PTR)> m_onTimer;
    std::function<void(CTestDialog&)> m_onNested;
    std::vector<std::string> m_log;
    std::vector<UINT> m_beforeInit;
    CRecordingButton m_button;
    bool m_bBindButton = true;
    bool m_bInitDone = false;
    int m_nExchanges = 0;
    BOOL m_bLastSave = -1;
    int m_nOK = 0;
    int m_nCancel = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        ++m_nExchanges;
        m_bLastSave = pDX->m_bSaveAndValidate;
        EXPECT_EQ(pDX->m_pDlgWnd, this);
        if (m_bBindButton)
            DDX_Control(pDX, IDC_TEST_BUTTON, m_button);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_bInitDone = true;
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (!m_bInitDone)
            m_beforeInit.push_back(message);
        return CDialog::WindowProc(message, wParam, lParam);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_TEST_POSTED)
            m_log.push_back("dialog");
        return CDialog::PreTranslateMessage(pMsg);
    }
    void OnOK() override
    {
        ++m_nOK;
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        ++m_nCancel;
        CDialog::OnCancel();
    }

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        if (m_onTimer)
            m_onTimer(*this, nIDEvent);
    }
    afx_msg LRESULT OnNested(WPARAM, LPARAM)
    {
        if (m_onNested)
            m_onNested(*this);
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDialog, CDialog)
    ON_WM_TIMER()
    ON_MESSAGE(WM_TEST_NESTED, &CTestDialog::OnNested)
END_MESSAGE_MAP()

bool Contains(const std::vector<UINT>& v, UINT message)
{
    for (UINT m : v)
        if (m == message)
            return true;
    return false;
}

TEST(DialogTest, DataExchangeSubclassesTheControlOnceBeforeInitialisationEnds)
{
    CTestDialog dlg(IDD_TEST_VISIBLE);
    HWND hButtonSeen = nullptr;
    dlg.m_onInit = [&](CTestDialog& d) {
        hButtonSeen = ::GetDlgItem(d.m_hWnd, IDC_TEST_BUTTON);
        EXPECT_EQ(d.m_button.m_hWnd, hButtonSeen);
        EXPECT_EQ(CWnd::FromHandlePermanent(hButtonSeen), &d.m_button);
        d.UpdateData(FALSE);  // a second exchange does not subclass again
        d.EndDialog(42);
    };
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_NE(hButtonSeen, nullptr);
    EXPECT_EQ(dlg.m_button.m_nPreSubclass, 1);
    EXPECT_TRUE(dlg.m_button.m_bPermanentAtPreSubclass);
    EXPECT_EQ(dlg.m_nExchanges, 2);
    EXPECT_FALSE(dlg.m_bLastSave);
    // The object was the window's before its first message.
    EXPECT_TRUE(Contains(dlg.m_beforeInit, WM_NCCREATE));
    EXPECT_TRUE(Contains(dlg.m_beforeInit, WM_CREATE));
    // The window is gone, and with it the control.
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_button.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(hButtonSeen));
}

TEST(DialogTest, DoModalReturnsTheValueThatEndedTheDialog)
{
    struct Case {
        const char* name;
        std::function<void(CTestDialog&)> end;
        INT_PTR result;
        int nOK;
        int nCancel;
    };
    const Case cases[] = {
        {"EndDialog(-1)", [](CTestDialog& d) { d.EndDialog(-1); }, -1, 0, 0},
        {"EndDialog(1234)", [](CTestDialog& d) { d.EndDialog(1234); }, 1234, 0, 0},
        {"WM_COMMAND IDCANCEL",
         [](CTestDialog& d) { d.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }, IDCANCEL, 0, 1},
        {"Esc on a control", [](CTestDialog& d) { d.m_button.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0x00010001); },
         IDCANCEL, 0, 1},
        {"WM_CLOSE", [](CTestDialog& d) { d.PostMessage(WM_CLOSE); }, IDCANCEL, 0, 1},
        {"WM_COMMAND IDOK", [](CTestDialog& d) { d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); },
         IDOK, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestDialog dlg(IDD_TEST_VISIBLE);
        dlg.m_onInit = c.end;
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(dlg.m_nOK, c.nOK);
        EXPECT_EQ(dlg.m_nCancel, c.nCancel);
        if (c.nOK) {
            EXPECT_TRUE(dlg.m_bLastSave);  // OnOK saved the controls first
        }
        EXPECT_EQ(dlg.m_hWnd, nullptr);
    }
}

TEST(DialogTest, TemplateThatCannotBeCreatedReturnsMinusOneAndLeavesTheOwnerEnabled)
{
    CTestDialog owner(IDD_TEST_VISIBLE);
    INT_PTR missing = 0;
    INT_PTR broken = 0;
    bool bBrokenObjectDetached = false;
    owner.m_onInit = [&](CTestDialog& d) {
        CTestDialog noTemplate(IDD_TEST_MISSING, &d);
        missing = noTemplate.DoModal();
        CTestDialog badControl(IDD_TEST_BROKEN, &d);
        badControl.m_bBindButton = false;
        broken = badControl.DoModal();
        bBrokenObjectDetached = badControl.m_hWnd == nullptr;
        EXPECT_TRUE(::IsWindowEnabled(d.m_hWnd));
        d.EndDialog(3);
    };
    EXPECT_EQ(owner.DoModal(), 3);
    EXPECT_EQ(missing, -1);
    EXPECT_EQ(broken, -1);
    EXPECT_TRUE(bBrokenObjectDetached);
}

// A template naming a window class of its own makes a window the dialog
// object cannot take over; it must not be left on the screen.
TEST(DialogTest, TemplateWithAClassOfItsOwnLeavesNoWindowBehind)
{
    static const char szClass[] = "TempikTestOwnDialogClass";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &::DefDlgProcA;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = szClass;
    ASSERT_NE(::RegisterClassA(&wc), 0);

    // Asked while the owner lives: owned windows would go with it.
    CTestDialog owner(IDD_TEST_VISIBLE);
    INT_PTR result = 0;
    HWND hLeft = nullptr;
    owner.m_onInit = [&](CTestDialog& d) {
        CTestDialog own(IDD_TEST_OWN_CLASS, &d);
        own.m_bBindButton = false;
        result = own.DoModal();
        hLeft = ::FindWindowA(szClass, nullptr);
        EXPECT_TRUE(::IsWindowEnabled(d.m_hWnd));
        d.EndDialog(0);
    };
    EXPECT_EQ(owner.DoModal(), 0);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(hLeft, nullptr);
    ::UnregisterClassA(szClass, wc.hInstance);
}

TEST(DialogTest, ModalLoopOffersAQueuedMessageToTheControlThenToTheDialog)
{
    struct Case {
        BOOL bButtonEats;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {FALSE, {"button", "dialog", "dispatched"}},
        {TRUE, {"button"}},  // translated: not dispatched, the dialog never sees it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bButtonEats ? "button eats it" : "button passes it on");
        CTestDialog dlg(IDD_TEST_VISIBLE);
        dlg.m_button.m_bEatPosted = c.bButtonEats;
        dlg.m_onInit = [](CTestDialog& d) {
            d.m_button.PostMessage(WM_TEST_POSTED);
            d.PostMessage(WM_COMMAND, IDCANCEL, 0);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_log, c.expected);
    }
}

TEST(DialogTest, TimerKeepsTickingWhileANestedModalDialogRuns)
{
    struct Case {
        const char* name;
        bool bDestroy;  // the nested window is destroyed instead of ended
        INT_PTR innerResult;
    };
    const Case cases[] = {{"ended", false, 7}, {"destroyed", true, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWinApp app("FrameworkDialogTest");
        CTestDialog outer(IDD_TEST_VISIBLE);
        CTestDialog inner(IDD_TEST_HIDDEN);
        inner.m_bBindButton = false;
        app.m_pMainWnd = &outer;

        int nTicksDuringInner = 0;
        INT_PTR innerResult = 0;
        BOOL bOwnerEnabledDuringInner = TRUE;
        HWND hInnerOwner = nullptr;
        BOOL bOwnerEnabledAfter = FALSE;
        outer.m_onInit = [](CTestDialog& d) {
            d.SetTimer(1, 15, nullptr);
            d.PostMessage(WM_TEST_NESTED);
        };
        outer.m_onNested = [&](CTestDialog& d) {
            innerResult = inner.DoModal();  // no parent: owned by the main window
            bOwnerEnabledAfter = ::IsWindowEnabled(d.m_hWnd);
            d.KillTimer(1);
            d.EndDialog(100);
        };
        outer.m_onTimer = [&](CTestDialog&, UINT_PTR nIDEvent) {
            if (nIDEvent != 1 || !inner.m_hWnd || ++nTicksDuringInner != 3)
                return;
            if (c.bDestroy)
                inner.DestroyWindow();
            else
                inner.EndDialog(7);
        };
        inner.m_onInit = [&](CTestDialog& d) {
            bOwnerEnabledDuringInner = ::IsWindowEnabled(outer.m_hWnd);
            hInnerOwner = ::GetWindow(d.m_hWnd, GW_OWNER);
        };
        EXPECT_EQ(outer.DoModal(), 100);
        EXPECT_EQ(innerResult, c.innerResult);
        EXPECT_EQ(nTicksDuringInner, 3);
        EXPECT_FALSE(bOwnerEnabledDuringInner);
        EXPECT_NE(hInnerOwner, nullptr);
        EXPECT_TRUE(bOwnerEnabledAfter);
        EXPECT_EQ(app.m_pMainWnd, nullptr);  // cleared when the main window went
    }
}

TEST(DialogTest, TimerKeepsTickingWhileAPopupMenuIsTracked)
{
    CTestDialog dlg(IDD_TEST_VISIBLE);
    int nTicksInMenu = 0;
    bool bInMenu = false;
    dlg.m_onInit = [](CTestDialog& d) {
        d.SetTimer(1, 15, nullptr);
        d.PostMessage(WM_TEST_NESTED);
    };
    dlg.m_onNested = [&](CTestDialog& d) {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDM_TEST_MENU));
        ::SetForegroundWindow(d.m_hWnd);
        bInMenu = true;
        menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN, 200, 200, &d);
        bInMenu = false;
        d.KillTimer(1);
        d.EndDialog(5);
    };
    dlg.m_onTimer = [&](CTestDialog&, UINT_PTR) {
        if (bInMenu && ++nTicksInMenu == 2)
            ::EndMenu();
    };
    EXPECT_EQ(dlg.DoModal(), 5);
    EXPECT_GE(nTicksInMenu, 2);
}

TEST(DialogTest, TemporariesLiveUntilALoopIdlesWithNoHandlerRunning)
{
    CTestDialog outer(IDD_TEST_VISIBLE);
    CTestDialog inner(IDD_TEST_HIDDEN);
    inner.m_bBindButton = false;
    HWND hForeign = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    bool bKept = false;
    size_t nAtTick = 99;
    int nTicks = 0;
    outer.m_onInit = [](CTestDialog& d) { d.PostMessage(WM_TEST_NESTED); };
    outer.m_onNested = [&](CTestDialog& d) {
        CWnd* pHeld = CWnd::FromHandle(hForeign);
        inner.DoModal();  // its loop runs dry inside this handler
        size_t nCount = AfxGetTempObjectCount();
        bKept = CWnd::FromHandle(hForeign) == pHeld && AfxGetTempObjectCount() == nCount;
        d.SetTimer(1, 10, nullptr);
    };
    // Timers fire when a queue is empty, but may fall due before the loop found it so.
    inner.m_onInit = [](CTestDialog& d) { d.SetTimer(1, 10, nullptr); };
    inner.m_onTimer = [&](CTestDialog& d, UINT_PTR) { d.EndDialog(1); };
    outer.m_onTimer = [&](CTestDialog& d, UINT_PTR) {
        nAtTick = AfxGetTempObjectCount();
        if (nAtTick == 0 || ++nTicks == 20) {
            d.KillTimer(1);
            d.EndDialog(2);
        }
    };
    EXPECT_EQ(outer.DoModal(), 2);
    ::DestroyWindow(hForeign);
    EXPECT_TRUE(bKept) << "the handler's temporary outlived the nested loop";
    EXPECT_EQ(nAtTick, 0u) << "deleted once the outer loop ran dry";
}

TEST(DialogTest, HiddenDialogIsShownWhenItsQueueFirstRunsDry)
{
    struct Case {
        UINT nIDTemplate;
        bool bDropStyle;  // as a dialog that replaces its whole style while initialising
    };
    const Case cases[] = {{IDD_TEST_HIDDEN, false}, {IDD_TEST_VISIBLE, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nIDTemplate);
        CTestDialog dlg(c.nIDTemplate);
        BOOL bVisibleAtInit = TRUE;
        BOOL bVisibleLater = FALSE;
        dlg.m_bBindButton = false;
        dlg.m_onInit = [&](CTestDialog& d) {
            if (c.bDropStyle)
                ::SetWindowLongA(d.m_hWnd, GWL_STYLE, WS_CLIPCHILDREN);
            bVisibleAtInit = d.IsWindowVisible();
            d.SetTimer(2, 20, nullptr);
        };
        // A tick that expired before the loop first went idle comes first; the
        // window must be shown by one of the next few ticks.
        int nTicks = 0;
        dlg.m_onTimer = [&](CTestDialog& d, UINT_PTR) {
            bVisibleLater = d.IsWindowVisible();
            if (bVisibleLater || ++nTicks == 50) {
                d.KillTimer(2);
                d.EndDialog(1);
            }
        };
        EXPECT_EQ(dlg.DoModal(), 1);
        EXPECT_FALSE(bVisibleAtInit);
        EXPECT_TRUE(bVisibleLater);
    }
}

TEST(DialogTest, QuitMessageEndsTheDialogAndIsPassedOn)
{
    CTestDialog dlg(IDD_TEST_VISIBLE);
    dlg.m_onInit = [](CTestDialog&) { ::PostQuitMessage(5); };
    EXPECT_EQ(dlg.DoModal(), -1);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

// An application whose map takes one command.
class CCommandApp : public CWinApp
{
public:
    CCommandApp() : CWinApp("FrameworkCommandTest") {}
    int m_nCommands = 0;

protected:
    afx_msg void OnAppCommand() { ++m_nCommands; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandApp, CWinApp)
    ON_COMMAND(ID_TEST_APP_COMMAND, &CCommandApp::OnAppCommand)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

TEST(DialogTest, CommandsTheDialogDoesNotHandleGoOnToTheApplication)
{
    CCommandApp app;
    CTestDialog dlg(IDD_TEST_VISIBLE);
    dlg.m_onInit = [](CTestDialog& d) {
        d.SendMessage(WM_COMMAND, ID_TEST_APP_COMMAND, 0);
        // A control's notification other than a click is no command.
        d.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_APP_COMMAND, EN_CHANGE), (LPARAM)d.m_button.m_hWnd);
        d.EndDialog(0);
    };
    EXPECT_EQ(dlg.DoModal(), 0);
    EXPECT_EQ(app.m_nCommands, 1);
    // ID_HELP has its entry and its handler; a bare CWinApp has neither.
    EXPECT_TRUE(app.OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, nullptr));
    CWinApp bare("FrameworkBareApp");
    EXPECT_FALSE(bare.OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, nullptr));
}

TEST(DialogTest, CenterWindowCentresOverTheOwner)
{
    CTestDialog owner(IDD_TEST_VISIBLE);
    RECT rcOwner = {};
    RECT rcBox = {};
    owner.m_onInit = [](CTestDialog& d) {
        d.SetWindowPos(nullptr, 400, 300, 400, 300, SWP_NOZORDER);
        d.PostMessage(WM_TEST_NESTED);  // once the owner is shown
    };
    owner.m_onNested = [&](CTestDialog& d) {
        d.GetWindowRect(&rcOwner);
        CTestDialog box(IDD_TEST_HIDDEN, &d);
        box.m_bBindButton = false;
        box.m_onInit = [&](CTestDialog& b) {
            b.CenterWindow();
            b.GetWindowRect(&rcBox);
            b.EndDialog(0);
        };
        box.DoModal();
        d.EndDialog(0);
    };
    owner.DoModal();
    int cxBox = rcBox.right - rcBox.left;
    int cyBox = rcBox.bottom - rcBox.top;
    EXPECT_GT(cxBox, 0);
    EXPECT_LE(std::abs((rcBox.left + rcBox.right) - (rcOwner.left + rcOwner.right)), 2) << cxBox;
    EXPECT_LE(std::abs((rcBox.top + rcBox.bottom) - (rcOwner.top + rcOwner.bottom)), 2) << cyBox;
}

}  // namespace
