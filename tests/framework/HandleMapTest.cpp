#include <gtest/gtest.h>

#include "framework/Afx.h"
#include "tests/framework/TestWindow.h"

using namespace fwtest;

namespace {

TEST(HandleMapTest, ForeignWindowGetsOneTemporaryObjectThatNeverTouchesIt)
{
    HWND hForeign = CreateTestWindow();
    WNDPROC pfnOriginal = (WNDPROC)::GetWindowLongPtrA(hForeign, GWLP_WNDPROC);

    CWnd* pTemp = CWnd::FromHandle(hForeign);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->m_hWnd, hForeign);
    EXPECT_EQ(CWnd::FromHandle(hForeign), pTemp);  // reused while it lives
    EXPECT_EQ(CWnd::FromHandlePermanent(hForeign), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    // A temporary object only wraps: operations work, nothing is subclassed.
    pTemp->SetWindowText("renamed");
    CString text;
    pTemp->GetWindowText(text);
    EXPECT_STREQ(text, "renamed");
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(hForeign, GWLP_WNDPROC), pfnOriginal);

    AfxDeleteTempObjects();
    EXPECT_TRUE(::IsWindow(hForeign));  // deleting the wrapper left the window alone
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(hForeign, GWLP_WNDPROC), pfnOriginal);
    CWnd* pAgain = CWnd::FromHandle(hForeign);
    ASSERT_NE(pAgain, nullptr);
    EXPECT_EQ(pAgain->m_hWnd, hForeign);
    ::DestroyWindow(hForeign);
    AfxDeleteTempObjects();
}

TEST(HandleMapTest, PermanentObjectWinsOverTemporaryOnes)
{
    HWND hParent = CreateTestWindow();
    HWND hChild = CreateTestWindow(hParent, WS_CHILD);
    CWnd* pTempParent = CWnd::FromHandle(hParent);
    CWnd child;
    ASSERT_TRUE(child.SubclassWindow(hChild));
    EXPECT_EQ(child.GetParent(), pTempParent);  // the parent has no object of its own

    CWnd parent;
    ASSERT_TRUE(parent.SubclassWindow(hParent));
    EXPECT_EQ(CWnd::FromHandle(hParent), &parent);
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(CWnd::FromHandle(hChild), &child);
    parent.DestroyWindow();
    EXPECT_EQ(child.m_hWnd, nullptr);
    AfxDeleteTempObjects();
}

TEST(HandleMapTest, TemporaryMenuAndDeviceContextWrappersFreeNothing)
{
    HWND hWnd = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW);
    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));

    CMenu* pSystemMenu = wnd.GetSystemMenu(FALSE);
    ASSERT_NE(pSystemMenu, nullptr);
    HMENU hSystemMenu = pSystemMenu->GetSafeHmenu();
    EXPECT_TRUE(::IsMenu(hSystemMenu));

    CDC* pWindowDC = wnd.GetDC();
    ASSERT_NE(pWindowDC, nullptr);
    HDC hdc = pWindowDC->GetSafeHdc();
    EXPECT_EQ(CDC::FromHandle(hdc), pWindowDC);

    AfxDeleteTempObjects();
    EXPECT_TRUE(::IsMenu(hSystemMenu));
    EXPECT_NE(::GetDeviceCaps(hdc, LOGPIXELSY), 0);  // still a live DC
    EXPECT_EQ(::ReleaseDC(hWnd, hdc), 1);            // released once, by its owner
    wnd.DestroyWindow();
}

}  // namespace
