#include "controls/IconButton.h"

#include <cstring>
#include <vector>

#include "controls/ColorMath.h"

namespace {
HICON AsIcon(int idleValue)
{
    return (HICON)(INT_PTR)idleValue;
}

BOOL IsDerivedIdle(HICON idle)
{
    return idle == AsIcon(CIconButton::IdleIconGray) || idle == AsIcon(CIconButton::IdleIconDarker);
}

// Frees an idle icon that was handed over but will not be kept.
void DiscardIdle(HICON idle, HICON active)
{
    if (idle && !IsDerivedIdle(idle) && idle != active)
        ::DestroyIcon(idle);
}

// Reads an icon's size (twice its hot spot) and frees the bitmaps GetIconInfo copies.
BOOL QueryIcon(CIconButton::ButtonIcon& icon)
{
    ICONINFO info;
    std::memset(&info, 0, sizeof(info));
    if (!::GetIconInfo(icon.handle, &info))
        return FALSE;
    icon.width = info.xHotspot * 2;
    icon.height = info.yHotspot * 2;
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return TRUE;
}

// A copy of source whose every pixel went through transform; black stays black. The mask is
// the source's own; the colour bitmap has the source's planes and depth, and keeps its alpha,
// so a picture with soft edges keeps them.
HICON MakeDerivedIcon(HICON source, COLORREF (*transform)(COLORREF))
{
    ICONINFO info;
    std::memset(&info, 0, sizeof(info));
    if (!::GetIconInfo(source, &info))
        return nullptr;
    // GetIconInfo hands over copies of both bitmaps; they are ours to free.
    CBitmap sourceMask, sourceColor;
    sourceMask.Attach(info.hbmMask);
    sourceColor.Attach(info.hbmColor);

    CClientDC screenDC(nullptr);
    if (!screenDC.GetSafeHdc())
        return nullptr;

    BITMAP bm;
    if (!sourceColor.GetSafeHandle() || !sourceColor.GetObject(sizeof(bm), &bm))
        return nullptr;
    const DWORD width = info.xHotspot * 2;
    const DWORD height = info.yHotspot * 2;
    CBitmap target;
    if (width == 0 || height == 0 ||
        !target.CreateBitmap((int)width, (int)height, bm.bmPlanes, bm.bmBitsPixel, nullptr))
        return nullptr;

    // Read and written as 32-bit pixels, top-down, 0xAARRGGBB.
    BITMAPINFO bmi = AfxDib32Info((int)width, (int)height);
    std::vector<DWORD> pixels((size_t)width * height);
    if (::GetDIBits(screenDC.GetSafeHdc(), (HBITMAP)sourceColor.GetSafeHandle(), 0, height, pixels.data(), &bmi,
                    DIB_RGB_COLORS) != (int)height)
        return nullptr;
    for (DWORD& pixel : pixels) {
        const COLORREF c = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
        const COLORREF t = c == 0 ? 0 : transform(c);
        pixel = (pixel & 0xFF000000) | ((DWORD)GetRValue(t) << 16) | ((DWORD)GetGValue(t) << 8) | GetBValue(t);
    }
    if (::SetDIBits(screenDC.GetSafeHdc(), (HBITMAP)target.GetSafeHandle(), 0, height, pixels.data(), &bmi,
                    DIB_RGB_COLORS) != (int)height)
        return nullptr;

    ICONINFO derived;
    std::memset(&derived, 0, sizeof(derived));
    derived.fIcon = TRUE;
    derived.hbmMask = (HBITMAP)sourceMask.GetSafeHandle();
    derived.hbmColor = (HBITMAP)target.GetSafeHandle();
    // The icon keeps copies of both bitmaps; ours go with their wrappers.
    return ::CreateIconIndirect(&derived);
}
}  // namespace

CIconButton::ButtonStatus CIconButton::LoadIcons(UINT activeId, int activeWidth, int activeHeight, int idleId,
                                                 int idleWidth, int idleHeight)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(activeId), RT_GROUP_ICON);
    HICON active = (HICON)::LoadImageA(module, MAKEINTRESOURCEA(activeId), IMAGE_ICON, activeWidth, activeHeight,
                                       LR_DEFAULTCOLOR);
    HICON idle = AsIcon(idleId);
    BOOL idleMissing = FALSE;
    if (idleId != 0 && idleId != IdleIconGray && idleId != IdleIconDarker) {
        idle = (HICON)::LoadImageA(module, MAKEINTRESOURCEA((UINT)idleId), IMAGE_ICON, idleWidth, idleHeight,
                                   LR_DEFAULTCOLOR);
        idleMissing = idle == nullptr;
    }
    // An icon that was asked for and cannot be loaded is a failure, not an empty button.
    if (active == nullptr || idleMissing) {
        DiscardIdle(idle, active);
        if (active)
            ::DestroyIcon(active);
        ReleaseImages(TRUE);
        Repaint();
        return BadImage;
    }
    return AssignIcons(active, idle);
}

CIconButton::ButtonStatus CIconButton::LoadIcons(UINT activeId, int idleId)
{
    return LoadIcons(activeId, 0, 0, idleId, 0, 0);
}

CIconButton::ButtonStatus CIconButton::AssignIcons(HICON active, HICON idle)
{
    // An icon the button holds and is handed again stays alive for its new place.
    for (ButtonIcon& icon : m_icons) {
        if (icon.handle && (icon.handle == active || icon.handle == idle))
            icon.handle = nullptr;
    }
    ReleaseImages(TRUE);
    if (active == nullptr) {
        // The idle icon was handed over too; with no active icon it is not kept.
        DiscardIdle(idle, active);
        Repaint();
        return Success;
    }

    m_icons[0].handle = active;
    if (!QueryIcon(m_icons[0])) {
        DiscardIdle(idle, active);
        ReleaseImages(TRUE);
        return BadImage;
    }

    if (idle) {
        if (idle == AsIcon(IdleIconDarker))
            idle = MakeDarkIcon(active);
        else if (idle == AsIcon(IdleIconGray))
            idle = MakeGrayIcon(active);
        m_icons[1].handle = idle;
        if (!QueryIcon(m_icons[1])) {
            ReleaseImages(TRUE);
            return BadImage;
        }
    }

    Repaint();
    return Success;
}

CIconButton::ButtonStatus CIconButton::SetBitmaps(HBITMAP active, HBITMAP activeMask, HBITMAP idle,
                                                  HBITMAP idleMask)
{
    ReleaseImages(TRUE);
    // Everything handed over is the button's from here on, kept or not.
    m_bitmaps[0].image = active;
    m_bitmaps[0].mask = activeMask;
    m_bitmaps[1].image = idle;
    m_bitmaps[1].mask = idleMask;
    if (active == nullptr) {
        ReleaseImages(TRUE);
        Repaint();
        return Success;
    }
    for (ButtonBitmap& bitmap : m_bitmaps) {
        if (!bitmap.image && !bitmap.mask)
            continue;
        BITMAP image, mask;
        if (!::GetObjectA(bitmap.image, sizeof(image), &image) || !::GetObjectA(bitmap.mask, sizeof(mask), &mask)) {
            ReleaseImages(TRUE);
            return BadImage;
        }
        bitmap.width = (DWORD)image.bmWidth;
        bitmap.height = (DWORD)image.bmHeight;
    }
    Repaint();
    return Success;
}

void CIconButton::ReleaseImages(BOOL destroyHandles)
{
    if (destroyHandles) {
        if (m_icons[0].handle)
            ::DestroyIcon(m_icons[0].handle);
        // The same handle given twice is destroyed once.
        if (m_icons[1].handle && m_icons[1].handle != m_icons[0].handle)
            ::DestroyIcon(m_icons[1].handle);
        HBITMAP bitmaps[4] = {m_bitmaps[0].image, m_bitmaps[1].image, m_bitmaps[0].mask, m_bitmaps[1].mask};
        for (int i = 0; i < 4; ++i) {
            BOOL seen = FALSE;
            for (int j = 0; j < i; ++j)
                seen = seen || bitmaps[j] == bitmaps[i];
            if (bitmaps[i] && !seen)
                ::DeleteObject(bitmaps[i]);
        }
    }
    std::memset(m_icons, 0, sizeof(m_icons));
    std::memset(m_bitmaps, 0, sizeof(m_bitmaps));
}

// --- derived icons -----------------------------------------------------------------

HICON CIconButton::MakeGrayIcon(HICON source)
{
    return MakeDerivedIcon(source, ColorMath::GrayPixel);
}

HICON CIconButton::MakeDarkIcon(HICON source)
{
    return MakeDerivedIcon(source, ColorMath::DarkPixel);
}

COLORREF CIconButton::DimColor(COLORREF color, double fraction)
{
    return ColorMath::DimColor(color, fraction);
}
