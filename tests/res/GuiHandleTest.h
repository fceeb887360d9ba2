#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

struct WindowDeleter {
    void operator()(HWND h) const { DestroyWindow(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct IconDeleter {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DCDeleter {
    void operator()(HDC h) const { DeleteDC(h); }
};

using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueDC = std::unique_ptr<std::remove_pointer_t<HDC>, DCDeleter>;

// Test fixture that fails a test which leaves behind a window, menu, icon,
// bitmap or DC it made. Under Wine GetGuiResources counts nothing, so each
// handle handed to Own() is also checked to be gone when the test ends.
class GuiHandleTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    UniqueWindow Own(HWND window);
    UniqueMenu Own(HMENU menu);
    UniqueIcon Own(HICON icon);
    UniqueBitmap Own(HBITMAP bitmap);
    UniqueDC Own(HDC dc);

private:
    void Track(const void* handle, const char* kind, std::function<bool()> alive);

    struct Tracked {
        std::string what;
        std::function<bool()> alive;
    };
    DWORD m_gdiObjects = 0;
    DWORD m_userObjects = 0;
    std::vector<Tracked> m_tracked;
};
