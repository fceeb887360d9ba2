// What real icon buttons in a dialog paint, read back pixel by pixel.
#include "controls/IconButton.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/controls/ButtonTestDialog.h"
#include "tests/controls/ButtonTestRes.h"
#include "tests/support/TestImages.h"

namespace {
typedef CButtonTestDialog Dlg;

// Every button is 80 x 24; a 16 x 16 image centred vertically spans rows 4..19.
const int kW = 80, kH = 24;
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGrayRed = RGB(76, 76, 76);  // the grey copy of pure red
const COLORREF kIdleBack = RGB(100, 150, 200), kIdleText = RGB(0, 0, 160);
const COLORREF kActiveBack = RGB(130, 180, 230);  // kIdleBack brightened by 30
const COLORREF kActiveText = RGB(160, 0, 0);
const COLORREF kFocusBack = RGB(90, 90, 40), kFocusText = RGB(0, 120, 0);

COLORREF Sys(int index)
{
    return ::GetSysColor(index);
}

// Known colours, a red icon with its grey copy, the focus elsewhere.
void Prepare(CIconButtonProbe& b)
{
    ::SetFocus(::GetDlgItem(::GetParent(b.m_hWnd), IDC_TEST_PLAIN));
    b.m_colors[CIconButton::ColorIdleBack] = kIdleBack;
    b.m_colors[CIconButton::ColorActiveBack] = kIdleBack;
    b.ShiftColor(CIconButton::ColorActiveBack, 30, FALSE);
    b.m_colors[CIconButton::ColorFocusBack] = kFocusBack;
    b.m_colors[CIconButton::ColorIdleText] = kIdleText;
    b.m_colors[CIconButton::ColorActiveText] = kActiveText;
    b.m_colors[CIconButton::ColorFocusText] = kFocusText;
    ASSERT_EQ(CIconButton::Success, b.AssignIcons(MakeSolidIcon(kRed), (HICON)(INT_PTR)CIconButton::IdleIconGray));
}

void Hover(CIconButtonProbe& b)
{
    POINT p = {kW / 2, kH / 2};
    b.ClientToScreen(&p);
    ::SetCursorPos(p.x, p.y);
    b.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(kW / 2, kH / 2));
    ASSERT_TRUE(b.m_hovering);
}

void Unhover(CIconButtonProbe& b)
{
    ::SetCursorPos(0, 0);
    b.SendMessage(WM_MOUSELEAVE);
}

COLORREF At(CIconButtonProbe& b, int x, int y)
{
    return PixelAt(b.m_hWnd, x, y);
}

// Where the pixels of one colour are, inside the frame.
RECT Find(CIconButtonProbe& b, COLORREF color)
{
    return FindPixels(b.m_hWnd, {1, 1, kW - 1, kH - 1}, [color](COLORREF c) { return c == color; });
}

// The caption's ink: what differs from the face right of the image.
RECT Ink(CIconButtonProbe& b, COLORREF face, LONG left = 20, LONG right = kW - 2)
{
    return FindPixels(b.m_hWnd, {left, 2, right, kH - 2}, [face](COLORREF c) { return c == face ? false : true; });
}

void ExpectRect(const RECT& expected, const RECT& actual, const char* what)
{
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

TEST(IconButtonPaintTest, FlatButtonAtRestLitAndPressed)
{
    Dlg::Run({[](Dlg& d) {
        CIconButtonProbe& b = d.m_first;  // caption "Go", layout 0
        Prepare(b);

        // At rest: idle face, no border, the grey icon at x = 3.
        EXPECT_EQ(kIdleBack, At(b, kW - 3, 2));
        EXPECT_EQ(kIdleBack, At(b, 0, 5));
        ExpectRect({3, 4, 19, 20}, Find(b, kGrayRed), "idle icon");
        // The caption is centred in the area right of the image, from x = 19.
        const RECT rest = Ink(b, kIdleBack);
        ASSERT_LT(rest.left, rest.right);
        EXPECT_NEAR((19 + kW) / 2.0, (rest.left + rest.right) / 2.0, 2.0);
        EXPECT_NEAR(kH / 2.0, (rest.top + rest.bottom) / 2.0, 2.0);

        // Lit: brightened face, raised border, active icon.
        Hover(b);
        EXPECT_EQ(kActiveBack, At(b, kW - 3, 2));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), At(b, 0, 5));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), At(b, 5, 0));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), At(b, kW - 1, 5));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), At(b, 5, kH - 1));
        ExpectRect({3, 4, 19, 20}, Find(b, kRed), "active icon");
        const RECT lit = Ink(b, kActiveBack);

        // Pressed: sunken border, icon and caption one pixel right and down.
        b.SendMessage(BM_SETSTATE, TRUE);
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), At(b, 0, 5));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), At(b, kW - 1, 5));
        ExpectRect({4, 5, 20, 21}, Find(b, kRed), "pressed icon");
        RECT shifted = lit;
        ::OffsetRect(&shifted, 1, 1);
        ExpectRect(shifted, Ink(b, kActiveBack, 21), "pressed caption");

        // Press shift mode 1 moves straight down by two.
        b.SetPressShiftMode(CIconButton::PressShiftDown, TRUE);
        ExpectRect({3, 6, 19, 22}, Find(b, kRed), "pressed down");
        b.SendMessage(BM_SETSTATE, FALSE);

        // Focused at rest: the focus colours and, in the flat look, a focus rectangle only while
        // the keyboard cues show (or when asked for always).
        Unhover(b);
        b.SetFocus();
        EXPECT_EQ(kFocusBack, At(b, kW - 3, 2));
        const auto focusRect = [&] {
            return CountPixels(b.m_hWnd, {20, 3, kW - 3, 4}, [](COLORREF c) { return c != kFocusBack; });
        };
        b.SendMessage(WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS));
        EXPECT_EQ(0, focusRect()) << "cues hidden";
        b.SendMessage(WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL));
        EXPECT_LT(0, focusRect()) << "cues shown";
        b.SendMessage(WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS));
        b.SetFlatFocusRect(TRUE);
        EXPECT_LT(0, focusRect()) << "always";

        // Without the flat border nothing frames the lit face.
        b.SetFlatBorder(FALSE);
        Hover(b);
        EXPECT_EQ(kActiveBack, At(b, 0, 5));
        Unhover(b);
    }});
}

TEST(IconButtonPaintTest, DisabledIconAndEmbossedCaption)
{
    Dlg::Run({[](Dlg& d) {
        CIconButtonProbe& b = d.m_first;
        Prepare(b);
        b.EnableWindow(FALSE);
        EXPECT_EQ(kIdleBack, At(b, kW - 3, 2));
        const RECT icon = {3, 4, 19, 20};
        EXPECT_EQ(0, CountPixels(b.m_hWnd, icon, [](COLORREF c) { return c == kRed || c == kGrayRed; }));
        EXPECT_LT(0, CountPixels(b.m_hWnd, icon, [](COLORREF c) { return c != kIdleBack; }));
        const RECT caption = {20, 2, kW - 2, kH - 2};
        EXPECT_EQ(0, CountPixels(b.m_hWnd, caption, [](COLORREF c) { return c == kIdleText; }));
        EXPECT_LT(0, CountPixels(b.m_hWnd, caption, [](COLORREF c) { return c == Sys(COLOR_BTNSHADOW); }));
        EXPECT_LT(0, CountPixels(b.m_hWnd, caption, [](COLORREF c) { return c == Sys(COLOR_BTNHIGHLIGHT); }));
    }});
}

TEST(IconButtonPaintTest, ImageLayouts)
{
    // The margins are 96-DPI figures: 3 pixels are 5 at 144 DPI.
    const struct {
        BYTE layout;
        bool caption;
        RECT icon;
        UINT dpi;
    } cases[] = {
        {CIconButton::ImageLeft, false, {32, 4, 48, 20}, 96},
        {CIconButton::ImageAbove, true, {32, 3, 48, 19}, 96},
        {CIconButton::ImageAbove, false, {32, 4, 48, 20}, 96},
        {CIconButton::ImageRight, true, {61, 4, 77, 20}, 96},
        {CIconButton::ImageRight, false, {32, 0, 48, 16}, 96},
        {CIconButton::ImageAbove, true, {32, 5, 48, 21}, 144},
        {CIconButton::ImageRight, true, {59, 4, 75, 20}, 144},
    };
    Dlg::Run({[&](Dlg& d) {
        CIconButtonProbe& b = d.m_first;
        Prepare(b);
        for (const auto& c : cases) {
            b.SetDpi(c.dpi, FALSE);
            b.SetWindowText(c.caption ? "Go" : "");
            b.SetImageLayout(c.layout);
            b.SetFlatBorder(FALSE);  // so that layout 2's top row is all icon
            Hover(b);
            const RECT found = FindPixels(b.m_hWnd, {0, 0, kW, kH}, [](COLORREF p) { return p == kRed; });
            ExpectRect(c.icon, found, c.caption ? "with caption" : "without caption");
        }
        b.SetDpi(96, FALSE);
        // Layout 2: the caption sits between the margin and the image.
        b.SetWindowText("Go");
        const RECT ink = Ink(b, kActiveBack, 2, 60);
        EXPECT_NEAR((3 + 61) / 2.0, (ink.left + ink.right) / 2.0, 2.0);
        Unhover(b);
    }});
}

TEST(IconButtonPaintTest, NonFlatFramesDefaultAndFocus)
{
    Dlg::Run({[](Dlg& d) {
        CIconButtonProbe& plain = d.m_second;  // no caption
        CIconButtonProbe& def = d.m_default;
        for (CIconButtonProbe* b : {&plain, &def}) {
            Prepare(*b);
            b->SetFlat(FALSE);
        }
        // Four-line raised frame at the edge.
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), At(plain, 0, 5));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), At(plain, 5, 0));
        EXPECT_EQ(Sys(COLOR_3DLIGHT), At(plain, 1, 5));
        EXPECT_EQ(Sys(COLOR_3DLIGHT), At(plain, 5, 1));
        EXPECT_EQ(Sys(COLOR_3DDKSHADOW), At(plain, kW - 1, 5));
        EXPECT_EQ(Sys(COLOR_3DDKSHADOW), At(plain, 5, kH - 1));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), At(plain, kW - 2, 5));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), At(plain, 5, kH - 2));
        EXPECT_EQ(kIdleBack, At(plain, 5, 5));

        // The default button: a black frame, everything else one pixel in.
        EXPECT_EQ(RGB(0, 0, 0), At(def, 0, 5));
        EXPECT_EQ(RGB(0, 0, 0), At(def, kW - 1, 5));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), At(def, 1, 5));
        EXPECT_EQ(Sys(COLOR_3DDKSHADOW), At(def, kW - 2, 5));
        // Its focus rectangle lies three pixels inside the black frame.
        const RECT row = {30, 4, 50, 5};
        auto notFace = [](COLORREF c) { return c != kIdleBack && c != kFocusBack; };
        EXPECT_EQ(0, CountPixels(def.m_hWnd, row, notFace));
        def.SetFocus();
        EXPECT_LT(0, CountPixels(def.m_hWnd, row, notFace));

        // Pressed: a one-pixel shadow frame.
        plain.SendMessage(BM_SETSTATE, TRUE);
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), At(plain, 0, 5));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), At(plain, kW - 1, 5));
        EXPECT_EQ(kActiveBack, At(plain, 1, 5));
        plain.SendMessage(BM_SETSTATE, FALSE);
    }});
}

TEST(IconButtonPaintTest, CheckedBoxLooksActiveButIsNotShifted)
{
    Dlg::Run({[](Dlg& d) {
        CIconButtonProbe& b = d.m_check;  // caption "Check"
        Prepare(b);
        EXPECT_EQ(kIdleBack, At(b, kW - 3, 2));
        ExpectRect({3, 4, 19, 20}, Find(b, kGrayRed), "unchecked");
        b.SendMessage(BM_SETCHECK, BST_CHECKED);
        EXPECT_EQ(kActiveBack, At(b, kW - 3, 2));
        ExpectRect({3, 4, 19, 20}, Find(b, kRed), "checked");
        // Lit but unchecked, the idle icon stays.
        b.SendMessage(BM_SETCHECK, BST_UNCHECKED);
        Hover(b);
        ExpectRect({3, 4, 19, 20}, Find(b, kGrayRed), "lit check box");
        Unhover(b);
    }});
}

TEST(IconButtonPaintTest, BitmapsWithMasksAndTheirDisabledLook)
{
    Dlg::Run({[](Dlg& d) {
        CIconButtonProbe& b = d.m_second;  // no caption: a 16 x 16 image at (32, 4)
        Prepare(b);
        // Active: red, its left half transparent (black under the mask). Idle: blue.
        const auto leftHalf = [](int x, int) { return x < 8; };
        b.SetBitmaps(MakeBitmap(16, 16, [&](int x, int y) { return leftHalf(x, y) ? RGB(0, 0, 0) : kRed; }),
                     MakeMask(16, 16, leftHalf), MakeSolidBitmap(16, 16, kBlue),
                     MakeMask(16, 16, [](int, int) { return false; }));
        EXPECT_EQ(NULL, b.m_icons[0].handle) << "bitmaps replace the icons";
        ExpectRect({32, 4, 48, 20}, Find(b, kBlue), "idle bitmap");
        Hover(b);
        ExpectRect({40, 4, 48, 20}, Find(b, kRed), "active bitmap, masked");
        EXPECT_EQ(kActiveBack, At(b, 35, 10));
        Unhover(b);

        b.EnableWindow(FALSE);
        const RECT image = {32, 4, 48, 20};
        auto coloured = [](COLORREF c) { return c == kRed || c == kBlue; };
        EXPECT_EQ(0, CountPixels(b.m_hWnd, image, coloured));
        EXPECT_LT(0, CountPixels(b.m_hWnd, image, [](COLORREF c) { return c != kIdleBack; }));
        b.SetGrayBitmapWhenDisabled(FALSE);
        ExpectRect(image, Find(b, kBlue), "disabled, not greyed");
        b.EnableWindow(TRUE);
    }});
}

TEST(IconButtonPaintTest, TransparentModeShowsTheParentSnapshotUntilColoursChange)
{
    HBRUSH green = ::CreateSolidBrush(RGB(0, 128, 0));
    HBRUSH yellow = ::CreateSolidBrush(RGB(255, 255, 0));
    const auto redrawAll = [](Dlg& d) {
        ::RedrawWindow(d.m_hWnd, NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    Dlg::Run({[&](Dlg& d) {
        CIconButtonProbe& b = d.m_second;
        b.SetTransparent(TRUE, FALSE);
        d.m_background = green;
        redrawAll(d);
        EXPECT_EQ(RGB(0, 128, 0), At(b, 40, 12));
        EXPECT_EQ(RGB(0, 128, 0), At(b, 1, 1));

        // The snapshot is kept while the parent changes...
        d.m_background = yellow;
        redrawAll(d);
        EXPECT_EQ(RGB(0, 128, 0), At(b, 40, 12));
        // ...and taken again after a system colour change.
        b.SendMessage(WM_SYSCOLORCHANGE);
        redrawAll(d);
        EXPECT_EQ(RGB(255, 255, 0), At(b, 40, 12));
        d.m_background = NULL;
    }});
    ::DeleteObject(green);
    ::DeleteObject(yellow);
}

TEST(IconButtonPaintTest, SwitchingIconsAndRepaintingLeaksNoHandles)
{
    Dlg::Run({[](Dlg& d) {
        CIconButtonProbe& b = d.m_first;
        const auto cycle = [&](int times) {
            for (int i = 0; i < times; ++i) {
                ASSERT_EQ(CIconButton::Success,
                          b.LoadIcons(i % 2 ? IDI_START : IDI_STOP, CIconButton::IdleIconGray));
                b.SetTipText(i % 2 ? "Start the timer" : "Stop the timer", TRUE);
                ::UpdateWindow(b.m_hWnd);
            }
        };
        cycle(2);  // let the system make what it makes once
        const GuiCounts before = CountGuiObjects();
        cycle(100);
        const GuiCounts after = CountGuiObjects();
        EXPECT_EQ(before.gdi, after.gdi);
        EXPECT_EQ(before.user, after.user);
    }});
}
}  // namespace
