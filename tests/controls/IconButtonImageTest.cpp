// Icons and bitmaps of the icon button: derived idle copies, loading, ownership.
#include "controls/IconButton.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "controls/ColorMath.h"
#include "res/resource.h"
#include "tests/controls/IconButtonProbe.h"
#include "tests/support/TestImages.h"

namespace {
BOOL IsIcon(HICON icon)
{
    ICONINFO info;
    if (!::GetIconInfo(icon, &info))
        return FALSE;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return TRUE;
}

HICON IdleValue(int value)
{
    return (HICON)(INT_PTR)value;
}

// Colours whose grey and darker copies are known, each with its expected results.
struct PixelCase {
    COLORREF color;
    int gray;
    COLORREF dark;
};
const PixelCase kPixels[] = {
    {RGB(255, 255, 255), 255, RGB(191, 191, 191)},
    {RGB(128, 128, 128), 127, RGB(96, 96, 96)},
    {RGB(255, 0, 0), 76, RGB(191, 0, 0)},
    {RGB(0, 255, 0), 149, RGB(0, 191, 0)},
    {RGB(0, 0, 255), 29, RGB(0, 0, 191)},
    {RGB(200, 100, 50), 124, RGB(150, 75, 37)},
    {RGB(1, 1, 1), 0, RGB(0, 0, 0)},
    {RGB(3, 200, 128), 132, RGB(2, 150, 96)},
    {RGB(0, 0, 0), 0, RGB(0, 0, 0)},
};
const size_t kPixelCount = sizeof(kPixels) / sizeof(kPixels[0]);

// 16 x 16: the cases repeated row by row; the last column is transparent black.
HICON MakeCaseIcon()
{
    std::vector<COLORREF> colors(256);
    std::vector<bool> transparent(256);
    for (size_t i = 0; i < 256; ++i) {
        transparent[i] = i % 16 == 15;
        colors[i] = transparent[i] ? 0 : kPixels[i % kPixelCount].color;
    }
    return MakeTestIcon(colors, transparent);
}

TEST(IconButtonImageTest, DerivedCopiesTransformEachPixelAndKeepTheMask)
{
    HICON source = MakeCaseIcon();
    ASSERT_TRUE(source);
    HICON gray = CIconButton::MakeGrayIcon(source);
    HICON dark = CIconButton::MakeDarkIcon(source);
    ASSERT_TRUE(gray);
    ASSERT_TRUE(dark);

    const std::vector<COLORREF> grayPixels = IconColors(gray);
    const std::vector<COLORREF> darkPixels = IconColors(dark);
    ASSERT_EQ(256u, grayPixels.size());
    ASSERT_EQ(256u, darkPixels.size());
    for (size_t i = 0; i < 256; ++i) {
        if (i % 16 == 15) {
            EXPECT_EQ(0u, grayPixels[i]) << i;
            EXPECT_EQ(0u, darkPixels[i]) << i;
            continue;
        }
        const PixelCase& c = kPixels[i % kPixelCount];
        EXPECT_EQ(RGB(c.gray, c.gray, c.gray), grayPixels[i]) << std::hex << c.color;
        EXPECT_EQ(c.dark, darkPixels[i]) << std::hex << c.color;
    }
    EXPECT_EQ(IconMask(source), IconMask(gray));
    EXPECT_EQ(IconMask(source), IconMask(dark));
    EXPECT_EQ(RGB(191, 96, 150), CIconButton::DimColor(RGB(255, 128, 200), 0.25));

    ::DestroyIcon(gray);
    ::DestroyIcon(dark);
    ::DestroyIcon(source);
}

TEST(IconButtonImageTest, DerivedCopiesOfAPictureWithAlphaKeepItsSoftEdges)
{
    // 16 x 16, 0xAARRGGBB: pure red with alpha growing along the row, transparent black at the end.
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = -16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP color = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(color && bits);
    DWORD* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < 256; ++i)
        pixels[i] = i % 16 == 15 ? 0 : (DWORD)(17 * (i % 16)) << 24 | 0xFF0000;
    HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, nullptr);
    ICONINFO info = {TRUE, 0, 0, mask, color};
    HICON source = ::CreateIconIndirect(&info);
    ::DeleteObject(mask);
    ::DeleteObject(color);
    ASSERT_TRUE(source);

    HICON gray = CIconButton::MakeGrayIcon(source);
    ASSERT_TRUE(gray);
    ICONINFO grayInfo = {};
    ASSERT_TRUE(::GetIconInfo(gray, &grayInfo));
    std::vector<DWORD> copied(256);
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(16, ::GetDIBits(screen, grayInfo.hbmColor, 0, 16, copied.data(), &bmi, DIB_RGB_COLORS));
    ::ReleaseDC(nullptr, screen);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(i % 16 == 15 ? 0u : (DWORD)(17 * (i % 16)) << 24 | 0x4C4C4C, copied[(size_t)i]) << i;
    ::DeleteObject(grayInfo.hbmColor);
    ::DeleteObject(grayInfo.hbmMask);
    ::DestroyIcon(gray);
    ::DestroyIcon(source);
}

TEST(IconButtonImageTest, DerivedCopyOfNothingIsNull)
{
    EXPECT_EQ(NULL, CIconButton::MakeGrayIcon(NULL));
    EXPECT_EQ(NULL, CIconButton::MakeDarkIcon((HICON)(INT_PTR)0x7FF0));
    // A monochrome icon has no colour bitmap to copy.
    BYTE andBits[32] = {0}, xorBits[32] = {0};
    HICON mono = ::CreateIcon(NULL, 16, 16, 1, 1, andBits, xorBits);
    ASSERT_TRUE(mono);
    EXPECT_EQ(NULL, CIconButton::MakeGrayIcon(mono));
    ::DestroyIcon(mono);
}

TEST(IconButtonImageTest, LoadIconsStoresTheIconAndItsDerivedCopy)
{
    CIconButtonProbe button;
    ASSERT_EQ(CIconButton::Success, button.LoadIcons(IDI_START, CIconButton::IdleIconGray));
    ASSERT_TRUE(button.m_icons[0].handle);
    ASSERT_TRUE(button.m_icons[1].handle);
    for (const CIconButton::ButtonIcon& icon : button.m_icons) {
        EXPECT_EQ(16u, icon.width);
        EXPECT_EQ(16u, icon.height);
    }
    const std::vector<COLORREF> active = IconColors(button.m_icons[0].handle);
    const std::vector<COLORREF> idle = IconColors(button.m_icons[1].handle);
    ASSERT_EQ(active.size(), idle.size());
    int coloured = 0;
    for (size_t i = 0; i < active.size(); ++i) {
        EXPECT_EQ(ColorMath::GrayPixel(active[i]), idle[i]) << i;
        coloured += GetRValue(active[i]) != GetGValue(active[i]) || GetGValue(active[i]) != GetBValue(active[i]);
    }
    EXPECT_GT(coloured, 0) << "the start icon should have colour to lose";
    EXPECT_EQ(IconMask(button.m_icons[0].handle), IconMask(button.m_icons[1].handle));

    ASSERT_EQ(CIconButton::Success, button.LoadIcons(IDI_STOP, 0, 0, CIconButton::IdleIconDarker, 0, 0));
    const std::vector<COLORREF> stop = IconColors(button.m_icons[0].handle);
    const std::vector<COLORREF> darker = IconColors(button.m_icons[1].handle);
    ASSERT_EQ(stop.size(), darker.size());
    for (size_t i = 0; i < stop.size(); ++i)
        EXPECT_EQ(ColorMath::DarkPixel(stop[i]), darker[i]) << i;

    // A given idle icon is loaded as it is, at the size asked for.
    ASSERT_EQ(CIconButton::Success, button.LoadIcons(IDI_START, 32, 32, IDI_RESET, 16, 16));
    EXPECT_EQ(32u, button.m_icons[0].width);
    EXPECT_EQ(16u, button.m_icons[1].width);
}

TEST(IconButtonImageTest, AnIconThatCannotBeLoadedIsABadImage)
{
    CIconButtonProbe button;
    ASSERT_EQ(CIconButton::Success, button.LoadIcons(IDI_START, CIconButton::IdleIconGray));
    const HICON before[2] = {button.m_icons[0].handle, button.m_icons[1].handle};

    EXPECT_EQ(CIconButton::BadImage, button.LoadIcons(9999, CIconButton::IdleIconGray));
    EXPECT_EQ(NULL, button.m_icons[0].handle);
    EXPECT_EQ(NULL, button.m_icons[1].handle);
    EXPECT_FALSE(IsIcon(before[0]));
    EXPECT_FALSE(IsIcon(before[1]));

    EXPECT_EQ(CIconButton::BadImage, button.LoadIcons(IDI_START, 9999));
    EXPECT_EQ(NULL, button.m_icons[0].handle);
    EXPECT_EQ(0u, button.m_icons[0].width);
}

TEST(IconButtonImageTest, AssignIconsTakesOwnershipWhateverTheOutcome)
{
    CIconButtonProbe button;
    HICON a = MakeSolidIcon(RGB(255, 0, 0));
    HICON b = MakeSolidIcon(RGB(0, 0, 255));
    ASSERT_EQ(CIconButton::Success, button.AssignIcons(a, b));
    EXPECT_EQ(a, button.m_icons[0].handle);
    EXPECT_EQ(b, button.m_icons[1].handle);

    // No active icon: nothing asked for, the button is cleared and the idle icon freed.
    HICON c = MakeSolidIcon(RGB(0, 255, 0));
    EXPECT_EQ(CIconButton::Success, button.AssignIcons(NULL, c));
    EXPECT_FALSE(IsIcon(a));
    EXPECT_FALSE(IsIcon(b));
    EXPECT_FALSE(IsIcon(c));
    EXPECT_EQ(NULL, button.m_icons[0].handle);

    // A failed derived copy releases the active icon too.
    BYTE andBits[32] = {0}, xorBits[32] = {0};
    HICON mono = ::CreateIcon(NULL, 16, 16, 1, 1, andBits, xorBits);
    EXPECT_EQ(CIconButton::BadImage, button.AssignIcons(mono, IdleValue(CIconButton::IdleIconGray)));
    EXPECT_FALSE(IsIcon(mono));
    EXPECT_EQ(NULL, button.m_icons[0].handle);
    EXPECT_EQ(NULL, button.m_icons[1].handle);

    HICON e = MakeSolidIcon(RGB(7, 7, 7));
    EXPECT_EQ(CIconButton::BadImage, button.AssignIcons((HICON)(INT_PTR)0x7FF0, e));
    EXPECT_EQ(NULL, button.m_icons[0].handle);
    EXPECT_FALSE(IsIcon(e));

    // The same handle twice is kept and freed once.
    HICON d = MakeSolidIcon(RGB(9, 9, 9));
    EXPECT_EQ(CIconButton::Success, button.AssignIcons(d, d));
    button.ReleaseImages(TRUE);
    EXPECT_FALSE(IsIcon(d));
}

TEST(IconButtonImageTest, IconsTheButtonHoldsMayBeHandedToItAgain)
{
    CIconButtonProbe button;
    HICON a = MakeSolidIcon(RGB(255, 0, 0));
    HICON b = MakeSolidIcon(RGB(0, 0, 255));
    ASSERT_EQ(CIconButton::Success, button.AssignIcons(a, b));

    // The same active icon with a fresh grey copy: the old idle icon goes, a stays.
    ASSERT_EQ(CIconButton::Success, button.AssignIcons(a, IdleValue(CIconButton::IdleIconGray)));
    EXPECT_EQ(a, button.m_icons[0].handle);
    EXPECT_TRUE(IsIcon(a));
    EXPECT_FALSE(IsIcon(b));
    HICON gray = button.m_icons[1].handle;
    ASSERT_TRUE(IsIcon(gray));

    // Swapped places: both kept.
    ASSERT_EQ(CIconButton::Success, button.AssignIcons(gray, a));
    EXPECT_EQ(gray, button.m_icons[0].handle);
    EXPECT_EQ(a, button.m_icons[1].handle);
    EXPECT_TRUE(IsIcon(gray));
    EXPECT_TRUE(IsIcon(a));

    button.ReleaseImages(TRUE);
    EXPECT_FALSE(IsIcon(gray));
    EXPECT_FALSE(IsIcon(a));
}

TEST(IconButtonImageTest, SetBitmapsNeedsAnImageWithAMask)
{
    CIconButtonProbe button;
    HBITMAP image = MakeSolidBitmap(12, 10, RGB(255, 0, 0));
    HBITMAP mask = MakeMask(12, 10, [](int, int) { return false; });
    ASSERT_EQ(CIconButton::Success, button.SetBitmaps(image, mask, NULL, NULL));
    EXPECT_EQ(12u, button.m_bitmaps[0].width);
    EXPECT_EQ(10u, button.m_bitmaps[0].height);

    // Without its mask the idle image is refused, and everything handed over freed.
    HBITMAP idle = MakeSolidBitmap(12, 10, RGB(0, 0, 255));
    HBITMAP image2 = MakeSolidBitmap(12, 10, RGB(255, 0, 0));
    HBITMAP mask2 = MakeMask(12, 10, [](int, int) { return false; });
    EXPECT_EQ(CIconButton::BadImage, button.SetBitmaps(image2, mask2, idle, NULL));
    EXPECT_EQ(NULL, button.m_bitmaps[0].image);
    for (HBITMAP gone : {image, mask, idle, image2, mask2})
        EXPECT_EQ(0u, ::GetObjectType(gone));
}

TEST(IconButtonImageTest, DestructionFreesEverythingTheButtonOwns)
{
    HICON active = MakeSolidIcon(RGB(255, 0, 0));
    HMENU menu = ::CreatePopupMenu();
    BYTE andBits[32], xorBits[32] = {0};
    std::memset(andBits, 0xFF, sizeof(andBits));
    HCURSOR cursor = ::CreateCursor(NULL, 0, 0, 16, 16, andBits, xorBits);
    HICON gray = NULL;
    {
        CIconButtonProbe button;
        ASSERT_EQ(CIconButton::Success, button.AssignIcons(active, IdleValue(CIconButton::IdleIconGray)));
        gray = button.m_icons[1].handle;
        button.SetMenu(menu, NULL, FALSE);
        button.SetBtnCursor(cursor);
        EXPECT_TRUE(IsIcon(gray));
    }
    EXPECT_FALSE(IsIcon(active));
    EXPECT_FALSE(IsIcon(gray));
    EXPECT_FALSE(::IsMenu(menu));
    EXPECT_FALSE(IsIcon(cursor));
}
}  // namespace
