#include "tests/support/TestImages.h"

#include <algorithm>
#include <cstring>

namespace {
const int kIconSize = 16;

// Mask rows of a 16-pixel-wide monochrome bitmap are one WORD each.
std::vector<BYTE> MaskBits(int width, int height, const std::function<bool(int, int)>& set)
{
    const int stride = ((width + 15) / 16) * 2;
    std::vector<BYTE> bits((size_t)(stride * height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (set(x, y))
                bits[(size_t)(y * stride + x / 8)] |= (BYTE)(0x80 >> (x % 8));
    return bits;
}

std::vector<COLORREF> ReadPixels(HBITMAP bitmap, int width, int height)
{
    std::vector<COLORREF> pixels;
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return pixels;
}
}  // namespace

HICON MakeTestIcon(const std::vector<COLORREF>& colors, const std::vector<bool>& transparent)
{
    // 32-bit rows with a zero alpha byte, so the mask decides transparency.
    std::vector<DWORD> bits(kIconSize * kIconSize);
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = GetRValue(colors[i]) << 16 | GetGValue(colors[i]) << 8 | GetBValue(colors[i]);
    const std::vector<BYTE> mask = MaskBits(kIconSize, kIconSize, [&](int x, int y) {
        return (bool)transparent[(size_t)(y * kIconSize + x)];
    });

    ICONINFO info;
    std::memset(&info, 0, sizeof(info));
    info.fIcon = TRUE;
    info.hbmColor = ::CreateBitmap(kIconSize, kIconSize, 1, 32, bits.data());
    info.hbmMask = ::CreateBitmap(kIconSize, kIconSize, 1, 1, mask.data());
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return icon;
}

HICON MakeSolidIcon(COLORREF color)
{
    return MakeTestIcon(std::vector<COLORREF>(kIconSize * kIconSize, color),
                        std::vector<bool>(kIconSize * kIconSize, false));
}

std::vector<COLORREF> IconColors(HICON icon)
{
    ICONINFO info;
    if (!::GetIconInfo(icon, &info))
        return {};
    std::vector<COLORREF> pixels = ReadPixels(info.hbmColor, (int)info.xHotspot * 2, (int)info.yHotspot * 2);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return pixels;
}

std::vector<bool> IconMask(HICON icon)
{
    ICONINFO info;
    if (!::GetIconInfo(icon, &info))
        return {};
    std::vector<bool> mask;
    for (COLORREF c : ReadPixels(info.hbmMask, (int)info.xHotspot * 2, (int)info.yHotspot * 2))
        mask.push_back(c != 0);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return mask;
}

HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colorAt)
{
    HDC screen = ::GetDC(NULL);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(NULL, screen);
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ::SetPixel(dc, x, y, colorAt(x, y));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

HBITMAP MakeSolidBitmap(int width, int height, COLORREF color)
{
    return MakeBitmap(width, height, [color](int, int) { return color; });
}

HBITMAP MakeMask(int width, int height, const std::function<bool(int, int)>& transparent)
{
    const std::vector<BYTE> bits = MaskBits(width, height, transparent);
    return ::CreateBitmap(width, height, 1, 1, bits.data());
}

COLORREF PixelAt(HWND window, int x, int y)
{
    ::UpdateWindow(window);
    HDC dc = ::GetDC(window);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return c;
}

namespace {
// As the window shows them now, without letting it paint first.
void ForEachPixel(HWND window, const RECT& area, const std::function<void(int, int, COLORREF)>& visit)
{
    HDC dc = ::GetDC(window);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            visit(x, y, ::GetPixel(dc, x, y));
    ::ReleaseDC(window, dc);
}
}  // namespace

std::vector<COLORREF> ClientPixels(HWND window, const RECT& area)
{
    std::vector<COLORREF> pixels;
    ForEachPixel(window, area, [&](int, int, COLORREF c) { pixels.push_back(c); });
    return pixels;
}

RECT FindPixels(HWND window, const RECT& area, const std::function<bool(COLORREF)>& match)
{
    RECT box = {0, 0, 0, 0};
    bool found = false;
    ::UpdateWindow(window);
    ForEachPixel(window, area, [&](int x, int y, COLORREF c) {
        if (!match(c))
            return;
        if (!found) {
            box = {x, y, x + 1, y + 1};
            found = true;
        }
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
    });
    return box;
}

int CountPixels(HWND window, const RECT& area, const std::function<bool(COLORREF)>& match)
{
    int n = 0;
    ::UpdateWindow(window);
    ForEachPixel(window, area, [&](int, int, COLORREF c) { n += match(c) ? 1 : 0; });
    return n;
}

GuiCounts CountGuiObjects()
{
    HANDLE process = ::GetCurrentProcess();
    GuiCounts counts = {(long)::GetGuiResources(process, GR_GDIOBJECTS),
                        (long)::GetGuiResources(process, GR_USEROBJECTS)};
    if (counts.gdi || counts.user)
        return counts;
    // Wine: handles whose high word is 0 stand for any generation of the entry.
    for (ULONG_PTR h = 1; h < 0x10000; ++h)
        if (::GetObjectType((HGDIOBJ)h))
            ++counts.gdi;
    for (ULONG_PTR h = 1; h < 0x10000; ++h) {
        ICONINFO info;
        if (::GetIconInfo((HICON)h, &info)) {
            ++counts.user;
            ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
        } else if (::IsMenu((HMENU)h) || ::IsWindow((HWND)h)) {
            ++counts.user;
        }
    }
    return counts;
}
