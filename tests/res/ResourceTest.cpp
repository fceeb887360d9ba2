// Menus, strings, icons, manifest and version of the program, loaded from
// the test program's own resources.
#include "res/Version.h"
#include "res/resource.h"
#include "tests/res/GuiHandleTest.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

HINSTANCE Module()
{
    return GetModuleHandleA(nullptr);
}

std::string ResourceText(int id, LPCSTR type)
{
    HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), type);
    if (!found)
        return {};
    const char* data = static_cast<const char*>(LockResource(LoadResource(Module(), found)));
    return std::string(data, SizeofResource(Module(), found));
}

// ------------------------------------------------------------------- menus

class MenuResource : public GuiHandleTest
{
};

TEST_F(MenuResource, EachHoldsOnePopupWithItsItemsInOrder)
{
    struct Item {
        const char* text;  // nullptr for a separator
        UINT id;
    };
    struct Menu {
        int id;
        std::vector<Item> items;
    };
    const Menu menus[] = {
        {IDR_MENU_STOPPED,
         {{"&Start", ID_TIMER_START},
          {nullptr, 0},
          {"&Options...", ID_TIMER_OPTIONS},
          {"&About Tempik...", ID_TIMER_ABOUT},
          {"Exit", ID_TIMER_EXIT}}},
        {IDR_MENU_RUNNING, {{"&Stop", ID_TIMER_STOP}, {nullptr, 0}, {"&About Tempik...", ID_TIMER_ABOUT}}},
    };
    for (const Menu& m : menus) {
        SCOPED_TRACE(m.id);
        UniqueMenu menu = Own(LoadMenuA(Module(), MAKEINTRESOURCEA(m.id)));
        ASSERT_TRUE(menu);
        ASSERT_EQ(GetMenuItemCount(menu.get()), 1);
        char text[64] = "";
        GetMenuStringA(menu.get(), 0, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "Rondix");
        HMENU popup = GetSubMenu(menu.get(), 0);  // destroyed with its menu
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(GetMenuItemCount(popup), int(m.items.size()));
        for (UINT i = 0; i < m.items.size(); ++i) {
            SCOPED_TRACE(i);
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
            info.dwTypeData = text;
            info.cch = sizeof text;
            text[0] = '\0';
            ASSERT_TRUE(GetMenuItemInfoA(popup, i, TRUE, &info));
            EXPECT_EQ(info.hSubMenu, nullptr);
            if (!m.items[i].text) {
                EXPECT_TRUE(info.fType & MFT_SEPARATOR);
            } else {
                EXPECT_FALSE(info.fType & MFT_SEPARATOR);
                EXPECT_EQ(info.fState & (MFS_DISABLED | MFS_CHECKED), 0u);
                EXPECT_STREQ(text, m.items[i].text);
                EXPECT_EQ(info.wID, m.items[i].id);
            }
        }
    }
}

// ----------------------------------------------------------------- strings

TEST(StringResource, ProgramAndFrameworkTablesBothLoad)
{
    struct Case {
        UINT id;
        const char* text;  // nullptr: any text that is not empty
    };
    const Case cases[] = {
        {IDS_ABOUTBOX, "&About Tempik..."},
        {IDS_ELAPSED_TIME, "Elapsed time"},
        {AFX_IDS_APP_TITLE, "Tempik"},
        {AFX_IDS_INVALID_SPAN, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        char text[256] = "";
        int length = LoadStringA(Module(), c.id, text, sizeof text);
        EXPECT_GT(length, 0);
        if (c.text) {
            EXPECT_STREQ(text, c.text);
        }
    }
}

// ------------------------------------------------------------------- icons

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::vector<GroupIconEntry> GroupIcon(int id)
{
    std::string data = ResourceText(id, RT_GROUP_ICON);
    std::vector<GroupIconEntry> entries;
    if (data.size() < 6)
        return entries;
    WORD count;
    std::memcpy(&count, data.data() + 4, sizeof count);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupIconEntry) <= data.size(); ++i) {
        GroupIconEntry e;
        std::memcpy(&e, data.data() + 6 + i * sizeof e, sizeof e);
        entries.push_back(e);
    }
    return entries;
}

// An icon drawn over a plain background, as 0x00RRGGBB pixels.
struct DrawnIcon {
    int size = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[y * size + x]; }
};

struct IconPixels {
    std::vector<DWORD> colour;
    std::vector<bool> masked;
};

class IconResource : public GuiHandleTest
{
protected:
    // Loads icon id at the given size (0: the resource's own size) and checks
    // that GetIconInfo reports the expected size through the hot spot.
    UniqueIcon Load(int id, int size, int expectedSize)
    {
        UniqueIcon icon = Own(static_cast<HICON>(
            LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        if (!icon)
            return icon;
        ICONINFO info{};
        EXPECT_TRUE(GetIconInfo(icon.get(), &info));
        UniqueBitmap colour = Own(info.hbmColor);
        UniqueBitmap mask = Own(info.hbmMask);
        EXPECT_TRUE(info.fIcon);
        EXPECT_EQ(info.xHotspot, DWORD(expectedSize / 2));
        EXPECT_EQ(info.yHotspot, DWORD(expectedSize / 2));
        BITMAP bm{};
        GetObjectA(colour.get(), sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, expectedSize);
        EXPECT_EQ(bm.bmHeight, expectedSize);
        return icon;
    }

    DrawnIcon Draw(HICON icon, int size, DWORD background)
    {
        DrawnIcon drawn;
        drawn.size = size;
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = size;
        bi.bmiHeader.biHeight = -size;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        UniqueBitmap target = Own(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        UniqueDC dc = Own(CreateCompatibleDC(nullptr));
        if (!target || !dc)
            return drawn;
        DWORD* pixels = static_cast<DWORD*>(bits);
        std::fill(pixels, pixels + size * size, background);
        HGDIOBJ old = SelectObject(dc.get(), target.get());
        EXPECT_TRUE(DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
        GdiFlush();
        drawn.pixels.assign(pixels, pixels + size * size);
        for (DWORD& p : drawn.pixels)
            p &= 0xFFFFFF;
        SelectObject(dc.get(), old);
        return drawn;
    }

    // The colour pixels (0xAARRGGBB) and mask an icon holds, top-down.
    IconPixels Pixels(HICON icon, int size)
    {
        IconPixels stored;
        ICONINFO info{};
        if (!GetIconInfo(icon, &info))
            return stored;
        UniqueBitmap colour = Own(info.hbmColor);
        UniqueBitmap mask = Own(info.hbmMask);
        UniqueDC dc = Own(CreateCompatibleDC(nullptr));
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = size;
        bi.bmiHeader.biHeight = -size;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        std::vector<DWORD> pixels(size * size), maskPixels(size * size);
        if (!colour || !mask || !dc ||
            GetDIBits(dc.get(), colour.get(), 0, size, pixels.data(), &bi, DIB_RGB_COLORS) != size ||
            GetDIBits(dc.get(), mask.get(), 0, size, maskPixels.data(), &bi, DIB_RGB_COLORS) != size)
            return stored;
        stored.colour = std::move(pixels);
        for (DWORD m : maskPixels)
            stored.masked.push_back((m & 0xFFFFFF) != 0);
        return stored;
    }
};

constexpr DWORD kMagenta = 0xFF00FF;
constexpr DWORD kGreen = 0x00FF00;

TEST_F(IconResource, ButtonIconsHave16ColoursAt16PxAndAlphaAtTheLargerSizes)
{
    struct Image {
        int size;
        int colours;  // in the group entry; 0 for more than 256
        int bits;
    };
    const Image images[] = {{16, 16, 4}, {20, 0, 32}, {24, 0, 32}, {32, 0, 32}};
    for (int id : {IDI_START, IDI_RESET, IDI_MORE, IDI_STOP}) {
        SCOPED_TRACE(id);
        std::vector<GroupIconEntry> entries = GroupIcon(id);
        ASSERT_EQ(entries.size(), std::size(images));
        for (size_t i = 0; i < std::size(images); ++i) {
            const int size = images[i].size;
            SCOPED_TRACE(size);
            EXPECT_EQ(entries[i].width, size);
            EXPECT_EQ(entries[i].height, size);
            EXPECT_EQ(entries[i].colours, images[i].colours);
            EXPECT_EQ(entries[i].bitCount, images[i].bits);

            UniqueIcon icon = Load(id, size, size);
            ASSERT_TRUE(icon);
            // Pixels that follow the background are transparent, those that
            // differ over the two are partly so; the rest are never pure
            // black, which the greyed copy would keep as it is.
            DrawnIcon overMagenta = Draw(icon.get(), size, kMagenta);
            DrawnIcon overGreen = Draw(icon.get(), size, kGreen);
            const size_t count = size * size;
            ASSERT_EQ(overMagenta.pixels.size(), count);
            ASSERT_EQ(overGreen.pixels.size(), count);
            int covered = 0, soft = 0;
            for (size_t p = 0; p < count; ++p) {
                DWORD m = overMagenta.pixels[p], g = overGreen.pixels[p];
                if (m == kMagenta && g == kGreen)
                    continue;
                ++covered;
                if (m != g)
                    ++soft;
                else
                    EXPECT_NE(m, 0u) << "pixel " << p;
            }
            EXPECT_EQ(overMagenta.At(0, 0), kMagenta);
            EXPECT_EQ(overMagenta.At(size - 1, size - 1), kMagenta);
            EXPECT_GT(covered, size * size / 5);
            EXPECT_LT(covered, size * size * 3 / 4);
            if (images[i].bits != 32) {
                EXPECT_EQ(soft, 0);
                continue;
            }
            EXPECT_GT(soft, 0);
            // The greyed copy maps the pixels as they are stored: a fully
            // transparent one must be all zero and masked, any other one
            // unmasked and not black.
            IconPixels stored = Pixels(icon.get(), size);
            ASSERT_EQ(stored.colour.size(), count);
            for (size_t p = 0; p < count; ++p) {
                SCOPED_TRACE(p);
                DWORD argb = stored.colour[p];
                if (argb >> 24 == 0) {
                    EXPECT_EQ(argb, 0u);
                    EXPECT_TRUE(stored.masked[p]);
                } else {
                    EXPECT_NE(argb & 0xFFFFFF, 0u);
                    EXPECT_FALSE(stored.masked[p]);
                }
            }
        }
    }
}

TEST_F(IconResource, ApplicationIconComesInEightSizesWithSoftEdges)
{
    std::vector<GroupIconEntry> entries = GroupIcon(IDR_MAINFRAME);
    const int sizes[] = {16, 20, 22, 24, 32, 40, 48, 64};
    ASSERT_EQ(entries.size(), std::size(sizes));
    for (size_t i = 0; i < std::size(sizes); ++i) {
        SCOPED_TRACE(sizes[i]);
        EXPECT_EQ(entries[i].width, sizes[i]);
        EXPECT_EQ(entries[i].bitCount, 32);

        UniqueIcon icon = Load(IDR_MAINFRAME, sizes[i], sizes[i]);
        ASSERT_TRUE(icon);
        DrawnIcon drawn = Draw(icon.get(), sizes[i], kMagenta);
        ASSERT_EQ(drawn.pixels.size(), size_t(sizes[i] * sizes[i]));
        int mixed = 0;  // anti-aliased edge pixels, neither background nor picture
        for (DWORD p : drawn.pixels) {
            BYTE r = p >> 16, g = p >> 8, b = p;
            mixed += p != kMagenta && r > g + 40 && b > g + 40 && (r < 250 || b < 250);
        }
        EXPECT_EQ(drawn.At(0, sizes[i] - 1), kMagenta);
        EXPECT_EQ(drawn.At(sizes[i] - 1, sizes[i] - 1), kMagenta);
        EXPECT_NE(drawn.At(sizes[i] / 2, sizes[i] * 3 / 4), kMagenta);
        EXPECT_GT(mixed, sizes[i]);
    }
    // The shared copy that a window's class or WM_SETICON uses.
    EXPECT_NE(LoadIconA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME)), nullptr);
}

// ---------------------------------------------------------------- manifest

TEST(ManifestResource, RunsAsInvokerPerMonitorAwareWithCommonControls6)
{
    std::string manifest = ResourceText(1, RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    for (const char* part : {
             "level=\"asInvoker\"", "uiAccess=\"false\"", ">PerMonitorV2, PerMonitor</dpiAwareness>",
             ">true/pm</dpiAware>", "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
         })
        EXPECT_NE(manifest.find(part), std::string::npos) << part;

    // Windows refuses to start a program whose manifest it cannot read.
    char path[MAX_PATH] = "";
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    ACTCTXA context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path;
    context.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE activation = CreateActCtxA(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE) << GetLastError();
    if (activation != INVALID_HANDLE_VALUE)
        ReleaseActCtx(activation);
}

// ----------------------------------------------------------------- version

TEST(VersionResource, CarriesTheProjectVersion)
{
    char path[MAX_PATH] = "";
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &unused);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    const DWORD ms = MAKELONG(TEMPIK_VERSION_MINOR, TEMPIK_VERSION_MAJOR);
    const DWORD ls = MAKELONG(TEMPIK_VERSION_TWEAK, TEMPIK_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, ms);
    EXPECT_EQ(fixed->dwFileVersionLS, ls);
    EXPECT_EQ(fixed->dwProductVersionMS, ms);
    EXPECT_EQ(fixed->dwProductVersionLS, ls);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    auto value = [&](const char* name) -> std::string {
        char* text = nullptr;
        UINT chars = 0;
        std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &chars))
            return "(none)";
        return text;
    };
    EXPECT_EQ(value("ProductName"), "Tempik");
    EXPECT_EQ(value("OriginalFilename"), "Tempik.exe");
    EXPECT_EQ(value("FileVersion"), TEMPIK_FILE_VERSION_TEXT);
    EXPECT_EQ(value("ProductVersion"), TEMPIK_FILE_VERSION_TEXT);
    EXPECT_NE(value("FileDescription"), "(none)");
    EXPECT_EQ(value("CompanyName"), "(none)");
    EXPECT_EQ(value("LegalCopyright"), "(none)");
}

}  // namespace
