#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Afx.h"
#include "tests/framework/FrameworkTestRes.h"
#include "tests/framework/TestWindow.h"

using namespace fwtest;

namespace {

constexpr UINT WM_BASE_ONLY = WM_APP + 1;
constexpr UINT WM_IN_BOTH = WM_APP + 2;
constexpr UINT WM_DERIVED_ONLY = WM_APP + 3;

std::string PointText(CPoint pt)
{
    return std::to_string(pt.x) + "," + std::to_string(pt.y);
}

// A window class with a map of its own, for lookups through a base map.
class CBaseWnd : public CWnd
{
public:
    std::vector<std::string> m_log;
    int m_nPreSubclass = 0;
    WNDPROC m_pfnAtPreSubclass = nullptr;
    bool m_bPermanentAtPreSubclass = false;
    int m_nPostNcDestroy = 0;

    void PreSubclassWindow() override
    {
        ++m_nPreSubclass;
        m_pfnAtPreSubclass = (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC);
        m_bPermanentAtPreSubclass = FromHandlePermanent(m_hWnd) == this;
    }
    void PostNcDestroy() override { ++m_nPostNcDestroy; }

protected:
    afx_msg LRESULT OnBaseOnly(WPARAM wParam, LPARAM)
    {
        m_log.push_back("base-only");
        return 100 + (LRESULT)wParam;
    }
    afx_msg LRESULT OnInBothBase(WPARAM, LPARAM)
    {
        m_log.push_back("both-in-base");
        return 1;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_log.push_back("timer " + std::to_string(nIDEvent)); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(WM_BASE_ONLY, &CBaseWnd::OnBaseOnly)
    ON_MESSAGE(WM_IN_BOTH, &CBaseWnd::OnInBothBase)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// Overrides one base entry, adds its own, and decodes the window messages.
class CDerivedWnd : public CBaseWnd
{
protected:
    afx_msg LRESULT OnInBothDerived(WPARAM, LPARAM)
    {
        m_log.push_back("both-in-derived");
        return 2;
    }
    afx_msg LRESULT OnDerivedOnly(WPARAM wParam, LPARAM)
    {
        m_log.push_back("derived-only");
        return 200 + (LRESULT)wParam;
    }
    afx_msg LRESULT OnCallsDefault(WPARAM, LPARAM) { return Default() + 1; }
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos)
    {
        m_log.push_back(std::string("contextmenu ") + (pWnd == this ? "this " : "other ") + PointText(pos));
    }
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam)
    {
        m_log.push_back("syscommand " + std::to_string(nID) + " " + std::to_string(lParam));
    }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    {
        m_log.push_back(std::string("setcursor ") + (pWnd == this ? "this " : "other ") + std::to_string(nHitTest) +
                        " " + std::to_string(message));
        return TRUE;
    }
    afx_msg UINT OnGetDlgCode() { return (UINT)Default() | 0x10; }
    afx_msg HCURSOR OnQueryDragIcon() { return (HCURSOR)(INT_PTR)0x1234; }
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
    {
        m_log.push_back("activate " + std::to_string(nState) + (pWndOther ? " other " : " none ") +
                        std::to_string(bMinimized));
    }
    afx_msg void OnMouseMove(UINT nFlags, CPoint point)
    {
        m_log.push_back("mousemove " + std::to_string(nFlags) + " " + PointText(point));
    }
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point)
    {
        m_log.push_back("lbuttondblclk " + std::to_string(nFlags) + " " + PointText(point));
    }
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point)
    {
        m_log.push_back("nclbuttondblclk " + std::to_string(nHitTest) + " " + PointText(point));
    }
    afx_msg void OnKillFocus(CWnd* pNewWnd) { m_log.push_back(pNewWnd ? "killfocus other" : "killfocus none"); }
    afx_msg void OnEnable(BOOL bEnable) { m_log.push_back("enable " + std::to_string(bEnable)); }
    afx_msg void OnCancelMode() { m_log.push_back("cancelmode"); }
    afx_msg void OnSysColorChange() { m_log.push_back("syscolorchange"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_MESSAGE(WM_IN_BOTH, &CDerivedWnd::OnInBothDerived)
    ON_MESSAGE(WM_DERIVED_ONLY, &CDerivedWnd::OnDerivedOnly)
    ON_MESSAGE(WM_TEST_DEFAULT, &CDerivedWnd::OnCallsDefault)
    ON_WM_CONTEXTMENU()
    ON_WM_SYSCOMMAND()
    ON_WM_SETCURSOR()
    ON_WM_GETDLGCODE()
    ON_WM_QUERYDRAGICON()
    ON_WM_ACTIVATE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_KILLFOCUS()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWnd = CreateTestWindow();
        ASSERT_NE(m_hWnd, nullptr);
        OriginalCounts().clear();
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }
    HWND m_hWnd = nullptr;
};

TEST_F(MessageMapTest, DispatchesThroughDerivedThenBaseMapThenOriginalProcedure)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(m_hWnd));
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        const char* logged;  // nullptr: no handler runs
        int originalCalls;
    };
    const Case cases[] = {
        {"entry only in the base map", WM_BASE_ONLY, 5, 0, 105, "base-only", 0},
        {"derived entry wins over the base's", WM_IN_BOTH, 0, 0, 2, "both-in-derived", 0},
        {"entry only in the derived map", WM_DERIVED_ONLY, 7, 0, 207, "derived-only", 0},
        {"no entry: the original procedure answers", WM_TEST_UNMAPPED, 0, 0, kUnmappedAnswer, nullptr, 1},
        {"handler adding to Default()", WM_TEST_DEFAULT, 0, 0, kDefaultAnswer + 1, nullptr, 1},
        {"decoded timer in the base map", WM_TIMER, 9, 0, 0, "timer 9", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wnd.m_log.clear();
        OriginalCounts().clear();
        EXPECT_EQ(::SendMessageA(m_hWnd, c.message, c.wParam, c.lParam), c.result);
        if (c.logged)
            EXPECT_EQ(wnd.m_log, std::vector<std::string>{c.logged});
        else
            EXPECT_TRUE(wnd.m_log.empty());
        EXPECT_EQ(OriginalCounts()[c.message], c.originalCalls);
    }
}

TEST_F(MessageMapTest, DecodesWindowMessagesAsMfcHandlersExpectThem)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(m_hWnd));
    HWND hOther = CreateTestWindow();
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        std::string logged;
    };
    const Case cases[] = {
        {WM_CONTEXTMENU, (WPARAM)m_hWnd, MAKELPARAM(-1, -1), 0, "contextmenu this -1,-1"},
        {WM_CONTEXTMENU, (WPARAM)hOther, MAKELPARAM(300, 40), 0, "contextmenu other 300,40"},
        {WM_SYSCOMMAND, 16, 77, 0, "syscommand 16 77"},
        {WM_SETCURSOR, (WPARAM)m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), TRUE, "setcursor this 1 512"},
        {WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0, 0, "activate 0 none 1"},
        {WM_ACTIVATE, WA_CLICKACTIVE, (LPARAM)hOther, 0, "activate 2 other 0"},
        {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 7), 0, "mousemove 1 -5,7"},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(12, 34), 0, "lbuttondblclk 1 12,34"},
        {WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(-20, 600), 0, "nclbuttondblclk 2 -20,600"},
        {WM_KILLFOCUS, 0, 0, 0, "killfocus none"},
        {WM_ENABLE, FALSE, 0, 0, "enable 0"},
        {WM_CANCELMODE, 0, 0, 0, "cancelmode"},
        {WM_SYSCOLORCHANGE, 0, 0, 0, "syscolorchange"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logged);
        wnd.m_log.clear();
        EXPECT_EQ(::SendMessageA(m_hWnd, c.message, c.wParam, c.lParam), c.result);
        EXPECT_EQ(wnd.m_log, std::vector<std::string>{c.logged});
    }
    // Results carried back from decoded handlers.
    EXPECT_EQ(::SendMessageA(m_hWnd, WM_GETDLGCODE, 0, 0), kDlgCodeAnswer | 0x10);
    EXPECT_EQ(::SendMessageA(m_hWnd, WM_QUERYDRAGICON, 0, 0), 0x1234);
    ::DestroyWindow(hOther);
}

TEST_F(MessageMapTest, SubclassingRunsPreSubclassWindowAndUnsubclassesWhenTheObjectDiesFirst)
{
    WNDPROC pfnOriginal = (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC);
    {
        CBaseWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(m_hWnd));
        EXPECT_EQ(wnd.m_nPreSubclass, 1);
        EXPECT_EQ(wnd.m_pfnAtPreSubclass, pfnOriginal);  // before the procedure changes
        EXPECT_TRUE(wnd.m_bPermanentAtPreSubclass);
        EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC), &AfxWndProc);
        EXPECT_EQ(CWnd::FromHandlePermanent(m_hWnd), &wnd);
        EXPECT_EQ(CWnd::FromHandle(m_hWnd), &wnd);

        CBaseWnd second;
        EXPECT_FALSE(second.SubclassWindow(m_hWnd));  // one object per window
        EXPECT_EQ(second.m_nPreSubclass, 0);
        EXPECT_FALSE(wnd.SubclassWindow(m_hWnd));
    }
    EXPECT_TRUE(::IsWindow(m_hWnd));
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC), pfnOriginal);
    EXPECT_EQ(CWnd::FromHandlePermanent(m_hWnd), nullptr);
    EXPECT_EQ(::SendMessageA(m_hWnd, WM_BASE_ONLY, 5, 0), 0);  // no map any more
}

TEST_F(MessageMapTest, DestroyedWindowDetachesItsObject)
{
    CBaseWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(m_hWnd));
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.m_nPostNcDestroy, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(m_hWnd), nullptr);
    EXPECT_EQ(OriginalCounts()[WM_NCDESTROY], 1);  // the original procedure still saw it
}

// A push button that takes its own notifications first.
class CReflectButton : public CButton
{
public:
    std::vector<std::string>* m_pLog = nullptr;
    BOOL m_bStopClick = FALSE;
    HBRUSH m_hbrReflect = nullptr;
    UINT m_nCtlColor = 99;
    HDC m_hdcCtlColor = nullptr;
    int m_nDrawn = 0;
    int m_nSysColorChanges = 0;
    DRAWITEMSTRUCT m_dis = {};

    void DrawItem(LPDRAWITEMSTRUCT lpDis) override
    {
        ++m_nDrawn;
        m_dis = *lpDis;
    }

protected:
    afx_msg BOOL OnClicked()
    {
        m_pLog->push_back("child");
        return m_bStopClick;
    }
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        m_nCtlColor = nCtlColor;
        m_hdcCtlColor = pDC ? pDC->m_hDC : nullptr;
        return m_hbrReflect;
    }
    afx_msg void OnSysColorChange()
    {
        ++m_nSysColorChanges;
        Default();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CReflectButton::OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

class CClickParent : public CWnd
{
public:
    std::vector<std::string> m_log;

protected:
    afx_msg void OnButton() { m_log.push_back("parent"); }
    afx_msg void OnOtherButton() { m_log.push_back("parent-other"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClickParent, CWnd)
    ON_BN_CLICKED(IDC_TEST_BUTTON, &CClickParent::OnButton)
    ON_BN_CLICKED(IDC_TEST_OWNERDRAW, &CClickParent::OnOtherButton)
END_MESSAGE_MAP()

class ReflectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hParent = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        ASSERT_TRUE(m_parent.SubclassWindow(m_hParent));
        m_hButton = CreateChild(IDC_TEST_BUTTON, BS_PUSHBUTTON);
        ASSERT_TRUE(m_button.SubclassWindow(m_hButton));
        m_button.m_pLog = &m_parent.m_log;
        OriginalCounts().clear();
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    HWND CreateChild(int nID, DWORD dwStyle)
    {
        return ::CreateWindowExA(0, "BUTTON", "Click", WS_CHILD | WS_VISIBLE | dwStyle, 10, 10, 80, 24, m_hParent,
                                 (HMENU)(INT_PTR)nID, ::GetModuleHandleA(nullptr), nullptr);
    }

    HWND m_hParent = nullptr;
    HWND m_hButton = nullptr;
    CClickParent m_parent;
    CReflectButton m_button;
};

TEST_F(ReflectionTest, ClickReachesTheButtonFirstAndTheParentUnlessTheButtonStopsIt)
{
    struct Case {
        BOOL bStop;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {FALSE, {"child", "parent"}},
        {TRUE, {"child"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bStop ? "stopped by the button" : "passed on");
        m_button.m_bStopClick = c.bStop;
        // As the button itself notifies its parent...
        m_parent.m_log.clear();
        ::SendMessageA(m_hParent, WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_CLICKED), (LPARAM)m_hButton);
        EXPECT_EQ(m_parent.m_log, c.expected);
        // ...and through a real click of the control.
        m_parent.m_log.clear();
        ::SendMessageA(m_hButton, BM_CLICK, 0, 0);
        EXPECT_EQ(m_parent.m_log, c.expected);
    }
}

TEST_F(ReflectionTest, NotificationFromAControlWithoutObjectGoesToTheParentOnly)
{
    HWND hPlain = CreateChild(IDC_TEST_OWNERDRAW, BS_PUSHBUTTON);
    ::SendMessageA(m_hParent, WM_COMMAND, MAKEWPARAM(IDC_TEST_OWNERDRAW, BN_CLICKED), (LPARAM)hPlain);
    EXPECT_EQ(m_parent.m_log, std::vector<std::string>{"parent-other"});
}

TEST_F(ReflectionTest, DrawItemOfAnOwnerDrawnButtonReachesItsDrawItem)
{
    CReflectButton drawn;
    HWND hDrawn = CreateChild(IDC_TEST_OWNERDRAW, BS_OWNERDRAW);
    ASSERT_TRUE(drawn.SubclassWindow(hDrawn));
    ::InvalidateRect(hDrawn, nullptr, TRUE);
    ::UpdateWindow(hDrawn);  // the system asks the parent with WM_DRAWITEM
    EXPECT_GE(drawn.m_nDrawn, 1);
    EXPECT_EQ(drawn.m_dis.hwndItem, hDrawn);
    EXPECT_EQ(drawn.m_dis.CtlID, (UINT)IDC_TEST_OWNERDRAW);
    EXPECT_EQ(drawn.m_dis.CtlType, (UINT)ODT_BUTTON);
    EXPECT_EQ(OriginalCounts()[WM_DRAWITEM], 0);  // handled by the child, not by default

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = IDC_TEST_OWNERDRAW;
    dis.hwndItem = hDrawn;
    dis.itemState = ODS_SELECTED | ODS_FOCUS;
    int nBefore = drawn.m_nDrawn;
    EXPECT_EQ(::SendMessageA(m_hParent, WM_DRAWITEM, IDC_TEST_OWNERDRAW, (LPARAM)&dis), TRUE);
    EXPECT_EQ(drawn.m_nDrawn, nBefore + 1);
    EXPECT_EQ(drawn.m_dis.itemState, (UINT)(ODS_SELECTED | ODS_FOCUS));
}

TEST_F(ReflectionTest, ButtonColourQueryIsAnsweredByTheButtonsCtlColor)
{
    HDC hdc = ::GetDC(m_hButton);
    HBRUSH hbrHollow = (HBRUSH)::GetStockObject(NULL_BRUSH);
    m_button.m_hbrReflect = hbrHollow;
    EXPECT_EQ(::SendMessageA(m_hParent, WM_CTLCOLORBTN, (WPARAM)hdc, (LPARAM)m_hButton), (LRESULT)hbrHollow);
    EXPECT_EQ(m_button.m_nCtlColor, (UINT)CTLCOLOR_BTN);
    EXPECT_EQ(m_button.m_hdcCtlColor, hdc);
    EXPECT_EQ(OriginalCounts()[WM_CTLCOLORBTN], 0);

    // No brush from the button: the parent's own processing answers.
    m_button.m_hbrReflect = nullptr;
    ::SendMessageA(m_hParent, WM_CTLCOLORBTN, (WPARAM)hdc, (LPARAM)m_hButton);
    EXPECT_EQ(OriginalCounts()[WM_CTLCOLORBTN], 1);
    ::ReleaseDC(m_hButton, hdc);
}

}  // namespace

TEST_F(ReflectionTest, SystemColourChangeReachesTheChildrenOfATopLevelWindowOnly)
{
    // A grandchild too: a control may sit inside a group or a child dialog.
    HWND hGroup = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 50, 200, 60, m_hParent, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    HWND hInner = ::CreateWindowExA(0, "BUTTON", "Inner", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 80, 24,
                                    hGroup, (HMENU)(INT_PTR)77, ::GetModuleHandleA(nullptr), nullptr);
    CReflectButton inner;
    ASSERT_TRUE(inner.SubclassWindow(hInner));

    ::SendMessageA(m_hParent, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(m_button.m_nSysColorChanges, 1);
    EXPECT_EQ(inner.m_nSysColorChanges, 1);

    // A child passes nothing on: its parent has already told everyone.
    ::SendMessageA(hGroup, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(inner.m_nSysColorChanges, 1);
    inner.UnsubclassWindow();
}
