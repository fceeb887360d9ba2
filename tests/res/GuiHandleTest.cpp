#include "tests/res/GuiHandleTest.h"

#include <cstdio>

namespace {

DWORD GuiObjects(DWORD kind)
{
    return GetGuiResources(GetCurrentProcess(), kind);
}

}  // namespace

void GuiHandleTest::SetUp()
{
    m_gdiObjects = GuiObjects(GR_GDIOBJECTS);
    m_userObjects = GuiObjects(GR_USEROBJECTS);
}

void GuiHandleTest::TearDown()
{
    for (const Tracked& t : m_tracked)
        EXPECT_FALSE(t.alive()) << t.what << " outlived the test";
    EXPECT_EQ(GuiObjects(GR_GDIOBJECTS), m_gdiObjects);
    EXPECT_EQ(GuiObjects(GR_USEROBJECTS), m_userObjects);
}

void GuiHandleTest::Track(const void* handle, const char* kind, std::function<bool()> alive)
{
    EXPECT_NE(handle, nullptr) << kind << " could not be made";
    if (!handle)
        return;
    char what[64];
    std::snprintf(what, sizeof what, "%s %p", kind, handle);
    m_tracked.push_back({what, std::move(alive)});
}

UniqueWindow GuiHandleTest::Own(HWND window)
{
    Track(window, "window", [window] { return IsWindow(window) != FALSE; });
    return UniqueWindow(window);
}

UniqueMenu GuiHandleTest::Own(HMENU menu)
{
    Track(menu, "menu", [menu] { return IsMenu(menu) != FALSE; });
    return UniqueMenu(menu);
}

UniqueIcon GuiHandleTest::Own(HICON icon)
{
    Track(icon, "icon", [icon] {
        ICONINFO info{};
        if (!GetIconInfo(icon, &info))
            return false;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return true;
    });
    return UniqueIcon(icon);
}

UniqueBitmap GuiHandleTest::Own(HBITMAP bitmap)
{
    Track(bitmap, "bitmap", [bitmap] { return GetObjectType(bitmap) != 0; });
    return UniqueBitmap(bitmap);
}

UniqueDC GuiHandleTest::Own(HDC dc)
{
    Track(dc, "DC", [dc] { return GetObjectType(dc) != 0; });
    return UniqueDC(dc);
}
