// Images, pixel reads and handle counts shared by the tests that draw.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// A 16 x 16 icon from row-major colours; transparent pixels get the set mask bit
// (and should be black). The caller owns the icon.
HICON MakeTestIcon(const std::vector<COLORREF>& colors, const std::vector<bool>& transparent);
// The same colour everywhere, no transparent pixel.
HICON MakeSolidIcon(COLORREF color);
// Row-major colours and mask bits of an icon, read with GetPixel.
std::vector<COLORREF> IconColors(HICON icon);
std::vector<bool> IconMask(HICON icon);

// A screen-compatible bitmap coloured by colorAt(x, y), one of one colour, and a
// monochrome mask whose set bits are where transparent(x, y) holds. The caller
// owns each.
HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colorAt);
HBITMAP MakeSolidBitmap(int width, int height, COLORREF color);
HBITMAP MakeMask(int width, int height, const std::function<bool(int, int)>& transparent);

// A client pixel of a window, after letting it paint.
COLORREF PixelAt(HWND window, int x, int y);
// The client pixels inside area, row by row, as the window shows them now.
std::vector<COLORREF> ClientPixels(HWND window, const RECT& area);
// Bounding box of the client pixels inside area that match; empty when none.
RECT FindPixels(HWND window, const RECT& area, const std::function<bool(COLORREF)>& match);
// How many client pixels inside area match.
int CountPixels(HWND window, const RECT& area, const std::function<bool(COLORREF)>& match);

// Live GDI objects and USER objects (icons, cursors, menus, windows) of this
// process. GetGuiResources where it works; Wine's is a stub, so there the handle
// tables are probed.
struct GuiCounts {
    long gdi;
    long user;
};
GuiCounts CountGuiObjects();
