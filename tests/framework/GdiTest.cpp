#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "framework/Afx.h"
#include "tests/framework/FrameworkTestRes.h"
#include "tests/framework/TestWindow.h"

using namespace fwtest;

namespace {

constexpr int kRounds = 1000;

// GDI and USER object counts of this process. Wine reports 0 for both, so
// under Wine the per-handle checks below are the ones that bite.
struct GuiCounts {
    DWORD gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
};

void ExpectSameCounts(const GuiCounts& before)
{
    GuiCounts after;
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

// Runs make() kRounds times; each returns the handle its wrapper owned, which
// must be gone once the wrapper is.
void ExpectEachHandleFreed(const char* name, const std::function<HGDIOBJ()>& make)
{
    SCOPED_TRACE(name);
    GuiCounts before;
    for (int i = 0; i < kRounds; ++i) {
        HGDIOBJ h = make();
        ASSERT_NE(h, nullptr);
        ASSERT_EQ(::GetObjectType(h), 0u) << "round " << i;
    }
    ExpectSameCounts(before);
}

TEST(GdiTest, EachWrapperFreesItsObjectExactlyOnce)
{
    CClientDC screen(nullptr);
    ExpectEachHandleFreed("CBrush", [] {
        CBrush brush(RGB(1, 2, 3));
        return brush.GetSafeHandle();
    });
    ExpectEachHandleFreed("CPen", [] {
        CPen pen(PS_SOLID, 0, RGB(4, 5, 6));
        return pen.GetSafeHandle();
    });
    ExpectEachHandleFreed("CFont", [] {
        CFont font;
        font.CreatePointFont(200, "Verdana");
        return font.GetSafeHandle();
    });
    ExpectEachHandleFreed("CBitmap", [&] {
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, 190, 36);
        return bitmap.GetSafeHandle();
    });
    ExpectEachHandleFreed("CBitmap on the heap, selected and restored", [&] {
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        auto* pBitmap = new CBitmap;
        pBitmap->CreateCompatibleBitmap(&screen, 16, 16);
        HGDIOBJ h = pBitmap->GetSafeHandle();
        CBitmap* pOld = memory.SelectObject(pBitmap);
        EXPECT_EQ(memory.SelectObject(pOld), pBitmap);  // the owner comes back, not a temporary
        delete pBitmap;
        return h;
    });
    ExpectEachHandleFreed("CDC", [&] {
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        return (HGDIOBJ)dc.GetSafeHdc();
    });
    ExpectEachHandleFreed("CDC attached", [&] {
        CDC dc;
        dc.Attach(::CreateCompatibleDC(screen.GetSafeHdc()));
        return (HGDIOBJ)dc.GetSafeHdc();
    });
}

TEST(GdiTest, DetachedAndTemporaryWrappersLeaveTheObjectAlive)
{
    HBRUSH hBrush = nullptr;
    {
        CBrush brush(RGB(9, 9, 9));
        hBrush = (HBRUSH)brush.Detach();
        EXPECT_FALSE(brush.DeleteObject());  // owns nothing now
    }
    ASSERT_EQ(::GetObjectType(hBrush), (DWORD)OBJ_BRUSH);

    CBrush* pTemp = CBrush::FromHandle(hBrush);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->GetSafeHandle(), hBrush);
    EXPECT_EQ(CBrush::FromHandle(hBrush), pTemp);
    AfxDeleteTempObjects();
    EXPECT_EQ(::GetObjectType(hBrush), (DWORD)OBJ_BRUSH);

    {
        CBrush owner;
        ASSERT_TRUE(owner.Attach(hBrush));
        EXPECT_EQ(CBrush::FromHandle(hBrush), &owner);
        EXPECT_EQ(CGdiObject::FromHandle(hBrush), &owner);
        CBrush second;
        EXPECT_FALSE(second.Attach(hBrush));  // one owner per object
    }
    EXPECT_EQ(::GetObjectType(hBrush), 0u);
}

// Paints the window many times through CPaintDC; records each paint's DC.
class CPaintCounter : public CWnd
{
public:
    std::set<HDC> m_dcs;
    int m_nPaints = 0;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        ++m_nPaints;
        m_dcs.insert(dc.GetSafeHdc());
        dc.FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0));
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintCounter, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(GdiTest, WindowDeviceContextsAreReturnedEveryTime)
{
    CPaintCounter wnd;
    ASSERT_TRUE(wnd.SubclassWindow(CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE)));
    GuiCounts before;
    std::set<HDC> clientDCs;
    for (int i = 0; i < kRounds; ++i) {
        CClientDC dc(&wnd);
        clientDCs.insert(dc.GetSafeHdc());
    }
    for (int i = 0; i < kRounds; ++i) {
        wnd.Invalidate(FALSE);
        wnd.UpdateWindow();
    }
    ExpectSameCounts(before);
    EXPECT_EQ(wnd.m_nPaints, kRounds);
    // A DC that is never given back makes the system hand out a new one.
    EXPECT_LE(clientDCs.size(), 4u);
    EXPECT_LE(wnd.m_dcs.size(), 4u);
    RECT rcUpdate;
    EXPECT_FALSE(::GetUpdateRect(wnd.m_hWnd, &rcUpdate, FALSE));  // EndPaint validated
    wnd.DestroyWindow();
}

TEST(GdiTest, MenusAndToolTipsAreDestroyedWithTheirWrappers)
{
    HWND hOwner = CreateTestWindow();
    CWnd owner;
    ASSERT_TRUE(owner.SubclassWindow(hOwner));
    GuiCounts before;
    for (int i = 0; i < kRounds; ++i) {
        HMENU hLoaded = nullptr;
        HMENU hCreated = nullptr;
        {
            CMenu loaded;
            ASSERT_TRUE(loaded.LoadMenu(IDM_TEST_MENU));
            hLoaded = loaded.GetSafeHmenu();
            CMenu created;
            ASSERT_TRUE(created.CreatePopupMenu());
            hCreated = created.GetSafeHmenu();
        }
        ASSERT_FALSE(::IsMenu(hLoaded));
        ASSERT_FALSE(::IsMenu(hCreated));
    }
    for (int i = 0; i < kRounds / 10; ++i) {
        HWND hTip = nullptr;
        {
            CToolTipCtrl tip;
            ASSERT_TRUE(tip.Create(&owner));
            hTip = tip.m_hWnd;
        }
        ASSERT_FALSE(::IsWindow(hTip));
    }
    ExpectSameCounts(before);
    owner.DestroyWindow();
}

TEST(GdiTest, ToolTipKeepsOneToolWhoseTextChanges)
{
    HWND hOwner = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    CWnd owner;
    ASSERT_TRUE(owner.SubclassWindow(hOwner));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&owner));
    EXPECT_FALSE(tip.Create(&owner));
    EXPECT_EQ(tip.GetToolCount(), 0);
    CRect rc(0, 0, 50, 20);
    ASSERT_TRUE(tip.AddTool(&owner, "Start the timer", &rc, 1));
    EXPECT_EQ(tip.GetToolCount(), 1);
    tip.UpdateTipText("Stop the timer", &owner, 1);
    tip.Activate(TRUE);
    EXPECT_EQ(tip.GetToolCount(), 1);

    char buffer[80] = {};
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = hOwner;
    ti.uId = 1;
    ti.lpszText = buffer;
    tip.SendMessage(TTM_GETTEXTA, sizeof buffer, (LPARAM)&ti);
    EXPECT_STREQ(buffer, "Stop the timer");
    MSG msg = {hOwner, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, {5, 5}};
    tip.RelayEvent(&msg);
    HWND hTip = tip.m_hWnd;
    owner.DestroyWindow();  // takes the tooltip window with it
    EXPECT_FALSE(::IsWindow(hTip));
    EXPECT_EQ(tip.m_hWnd, nullptr);
}

// A 12 x 12 white memory surface for reading pixels back.
class Surface
{
public:
    Surface()
    {
        CClientDC screen(nullptr);
        m_dc.CreateCompatibleDC(&screen);
        m_bitmap.CreateCompatibleBitmap(&screen, 12, 12);
        m_pOld = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, 12, 12, RGB(255, 255, 255));
    }
    ~Surface() { m_dc.SelectObject(m_pOld); }
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOld = nullptr;
};

TEST(GdiTest, Draw3dRectPutsTopLeftColourOnTopAndLeftEdgesOnly)
{
    const COLORREF kTL = RGB(255, 0, 0);
    const COLORREF kBR = RGB(0, 0, 255);
    const COLORREF kWhite = RGB(255, 255, 255);
    Surface s;
    s.m_dc.SetBkColor(RGB(1, 2, 3));
    CRect rc(2, 3, 9, 8);  // 7 x 5
    s.m_dc.Draw3dRect(&rc, kTL, kBR);
    EXPECT_EQ(s.m_dc.SetBkColor(0), RGB(1, 2, 3));  // left as it was
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            COLORREF expected = kWhite;
            bool inside = x >= 2 && x <= 8 && y >= 3 && y <= 7;
            if (inside && (x == 8 || y == 7))
                expected = kBR;  // right column and bottom row, both far corners included
            else if (inside && (x == 2 || y == 3))
                expected = kTL;
            EXPECT_EQ(s.m_dc.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(GdiTest, PointFontHeightFollowsTheScreenResolution)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(200, "Verdana"));
    LOGFONTA lf = {};
    ASSERT_EQ(font.GetObject(sizeof lf, &lf), (int)sizeof lf);
    HDC hScreen = ::GetDC(nullptr);
    int nExpected = -::MulDiv(200, ::GetDeviceCaps(hScreen, LOGPIXELSY), 720);
    ::ReleaseDC(nullptr, hScreen);
    EXPECT_EQ(lf.lfHeight, nExpected);
    EXPECT_STREQ(lf.lfFaceName, "Verdana");
    EXPECT_FALSE(font.CreatePointFont(100, "Verdana"));  // holds one already
}

}  // namespace
