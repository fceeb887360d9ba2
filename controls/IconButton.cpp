#include "controls/IconButton.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/ColorMath.h"
#include "controls/DCSelection.h"

namespace
{
// Width of a wrapped tooltip line, in pixels.
const int kMaxTipWidth = 400;
// Tool id of the button's single tooltip tool.
const UINT_PTR kToolId = 1;
// The button type bits of a window style (BS_TYPEMASK).
const DWORD kTypeMask = 0x0F;

// Half of a difference, truncated toward zero; computed wide so it cannot overflow.
LONG HalfOf(long long difference)
{
    return (LONG)(difference / 2);
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

HICON AsIcon(int idleValue) { return (HICON)(INT_PTR)idleValue; }

// The shell is loaded on the first link opened, not at start-up: it brings ole32, combase,
// rpcrt4 and shlwapi along, which nothing else in the program needs.
HMODULE s_hShellLibrary = NULL;
decltype(&::ShellExecuteExA) s_pfnShellExecuteExA = nullptr;

// Once loaded, the shell stays until the process ends: an open may leave threads or COM
// objects of the shell's behind, whose code must stay mapped.
BOOL BindShell()
{
    if (s_pfnShellExecuteExA)
        return TRUE;
    if (!s_hShellLibrary) {
        // From the system directory: a bare name would be searched for beside the
        // program first, where a planted copy would run inside it.
        static const char szName[] = "\\SHELL32.DLL";
        char szPath[MAX_PATH];
        const UINT nLength = ::GetSystemDirectoryA(szPath, MAX_PATH);
        if (nLength == 0 || nLength + sizeof szName > MAX_PATH)
            return FALSE;
        std::memcpy(szPath + nLength, szName, sizeof szName);
        s_hShellLibrary = ::LoadLibraryExA(szPath, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!s_hShellLibrary)
            return FALSE;
    }
    s_pfnShellExecuteExA = reinterpret_cast<decltype(&::ShellExecuteExA)>(
        reinterpret_cast<void*>(::GetProcAddress(s_hShellLibrary, "ShellExecuteExA")));
    return s_pfnShellExecuteExA != nullptr;
}

// The text a tooltip shows for text. The tip sizes itself to the text's measured width and
// clips there; some fonts at some sizes draw wider than they measure (Wine's Tahoma at 14
// pixels, the tips' font at 125 %, by 3 pixels), and the last letter would be cut. Then
// trailing spaces widen the measure to cover the ink.
std::string TipTextWithRoom(HWND tip, const char* text)
{
    std::string shown = text;
    CClientDC screenDC(NULL);
    CDC dc;
    if (!tip || shown.empty() || !screenDC.GetSafeHdc() || !dc.CreateCompatibleDC(&screenDC))
        return shown;
    CDCSelection selectFont(dc, (HFONT)::SendMessageA(tip, WM_GETFONT, 0, 0));
    const UINT flags = DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX;
    RECT measured = {0, 0, 0, 0};
    dc.DrawText(text, -1, &measured, flags);
    const int cx = Width(measured) * 2, cy = Height(measured);
    if (Width(measured) <= 0 || cy <= 0)
        return shown;

    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    CBitmap canvas;
    if (!canvas.Attach(::CreateDIBSection(dc.GetSafeHdc(), &bmi, DIB_RGB_COLORS, &bits, NULL, 0)) || !bits)
        return shown;
    LONG inkEnd = 0;
    {
        CDCSelection selectCanvas(dc, canvas);
        std::memset(bits, 0, (size_t)cx * (size_t)cy * 4);
        dc.SetTextColor(RGB(255, 255, 255));
        dc.SetBkMode(TRANSPARENT);
        RECT all = {0, 0, cx, cy};
        dc.DrawText(text, -1, &all, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        ::GdiFlush();
        const DWORD* pixel = static_cast<const DWORD*>(bits);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                if (pixel[(size_t)y * (size_t)cx + (size_t)x] & 0xFFFFFF)
                    inkEnd = x + 1 > inkEnd ? x + 1 : inkEnd;
    }
    for (int spaces = 0; Width(measured) < inkEnd && spaces < 8; ++spaces) {
        shown += ' ';
        measured = {0, 0, 0, 0};
        dc.DrawText(shown.c_str(), -1, &measured, flags);
    }
    return shown;
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
        return NULL;
    // GetIconInfo hands over copies of both bitmaps; they are ours to free.
    CBitmap sourceMask, sourceColor;
    sourceMask.Attach(info.hbmMask);
    sourceColor.Attach(info.hbmColor);

    CClientDC screenDC(NULL);
    if (!screenDC.GetSafeHdc())
        return NULL;

    BITMAP bm;
    if (!sourceColor.GetSafeHandle() || !sourceColor.GetObject(sizeof(bm), &bm))
        return NULL;
    const DWORD width = info.xHotspot * 2;
    const DWORD height = info.yHotspot * 2;
    CBitmap target;
    if (width == 0 || height == 0 || !target.CreateBitmap((int)width, (int)height, bm.bmPlanes, bm.bmBitsPixel, NULL))
        return NULL;

    // Read and written as 32-bit pixels, top-down, 0xAARRGGBB.
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = (LONG)width;
    bmi.bmiHeader.biHeight = -(LONG)height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels((size_t)width * height);
    if (::GetDIBits(screenDC.GetSafeHdc(), (HBITMAP)sourceColor.GetSafeHandle(), 0, height, pixels.data(), &bmi,
                    DIB_RGB_COLORS) != (int)height)
        return NULL;
    for (DWORD& pixel : pixels) {
        const COLORREF c = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
        const COLORREF t = c == 0 ? 0 : transform(c);
        pixel = (pixel & 0xFF000000) | ((DWORD)GetRValue(t) << 16) | ((DWORD)GetGValue(t) << 8) | GetBValue(t);
    }
    if (::SetDIBits(screenDC.GetSafeHdc(), (HBITMAP)target.GetSafeHandle(), 0, height, pixels.data(), &bmi,
                    DIB_RGB_COLORS) != (int)height)
        return NULL;

    ICONINFO derived;
    std::memset(&derived, 0, sizeof(derived));
    derived.fIcon = TRUE;
    derived.hbmMask = (HBITMAP)sourceMask.GetSafeHandle();
    derived.hbmColor = (HBITMAP)target.GetSafeHandle();
    // The icon keeps copies of both bitmaps; ours go with their wrappers.
    return ::CreateIconIndirect(&derived);
}
} // namespace

BEGIN_MESSAGE_MAP(CIconButton, CButton)
    ON_WM_SETCURSOR()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_SYSCOLORCHANGE()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CIconButton::OnClicked)
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_GETDLGCODE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(BM_SETSTYLE, &CIconButton::OnBmSetStyle)
    ON_MESSAGE(WM_MOUSELEAVE, &CIconButton::OnMouseLeave)
    ON_MESSAGE(BM_SETCHECK, &CIconButton::OnBmSetCheck)
    ON_MESSAGE(BM_GETCHECK, &CIconButton::OnBmGetCheck)
    ON_MESSAGE(WM_DPICHANGED_AFTERPARENT, &CIconButton::OnDpiChangedAfterParent)
    ON_MESSAGE(WM_UPDATEUISTATE, &CIconButton::OnUpdateUIState)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CIconButton::CIconButton()
{
    m_drawPressed = FALSE;
    m_drawFocused = 0;
    m_drawDisabled = 0;
    m_hovering = FALSE;
    ReleaseImages(FALSE);
    m_flat = TRUE;
    m_hoverWhenInactive = TRUE;
    m_flatBorder = TRUE;
    m_imageLayout = ImageLeft;
    SetPressShiftMode(PressShiftDiagonal, FALSE);
    m_flatFocusRect = FALSE;
    m_isDefault = FALSE;
    m_isCheckBox = FALSE;
    m_checked = 0;
    // Colours come from the system now, before any window exists.
    ApplySystemColors(FALSE);
    m_toolTipStyle = 0;
    m_toolTipActive = FALSE;
    m_toolTipSuspended = FALSE;
    m_transparent = FALSE;
    m_oldBackBitmap = NULL;
    SetLinkTarget(NULL);
    m_imageMarginX = 3;
    m_imageMarginY = 3;
    m_cursor = NULL;
    m_popupMenu = NULL;
    m_menuOwner = NULL;
    m_menuShowing = FALSE;
    m_grayBitmapWhenDisabled = TRUE;
    std::memset(&m_menuNotify, 0, sizeof(m_menuNotify));
    m_dpi = USER_DEFAULT_SCREEN_DPI;
    m_uiState = 0;
}

CIconButton::~CIconButton()
{
    // The snapshot bitmap leaves its DC before either is deleted by its member.
    if (m_backDC.GetSafeHdc() && m_oldBackBitmap)
        ::SelectObject(m_backDC.GetSafeHdc(), m_oldBackBitmap);
    m_oldBackBitmap = NULL;
    ReleaseImages(TRUE);
    if (m_cursor)
        ::DestroyCursor(m_cursor);
    if (m_popupMenu)
        ::DestroyMenu(m_popupMenu);
    // m_backBitmap, m_backDC and m_toolTip free their handles as members.
}

// --- configuration ---------------------------------------------------------------

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
        idleMissing = idle == NULL;
    }
    // An icon that was asked for and cannot be loaded is a failure, not an empty button.
    if (active == NULL || idleMissing) {
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
            icon.handle = NULL;
    }
    ReleaseImages(TRUE);
    if (active == NULL) {
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
    if (active == NULL) {
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

CIconButton::ButtonStatus CIconButton::ApplySystemColors(BOOL repaint)
{
    for (int slot = ColorActiveBack; slot < ColorCount; slot += 2) {
        m_colors[slot] = ::GetSysColor(COLOR_BTNFACE);
        m_colors[slot + 1] = ::GetSysColor(COLOR_BTNTEXT);
    }
    Repaint(repaint);
    return Success;
}

CIconButton::ButtonStatus CIconButton::ShiftColor(BYTE slot, short offset, BOOL repaint)
{
    if (slot >= ColorCount)
        return BadColorSlot;
    if (offset < -255 || offset > 255)
        return OffsetOutOfRange;
    m_colors[slot] = ColorMath::ShiftColor(m_colors[slot], offset);
    Repaint(repaint);
    return Success;
}

CIconButton::ButtonStatus CIconButton::SetPressShiftMode(BYTE mode, BOOL repaint)
{
    if (mode == PressShiftDiagonal) {
        m_pressShiftX = 1;
        m_pressShiftY = 1;
    } else if (mode == PressShiftDown) {
        m_pressShiftX = 0;
        m_pressShiftY = 2;
    } else {
        return BadShiftMode;
    }
    Repaint(repaint);
    return Success;
}

CIconButton::ButtonStatus CIconButton::SetCheckState(int check, BOOL repaint)
{
    if (m_isCheckBox) {
        m_checked = check ? 1 : 0;
        Repaint(repaint);
    }
    return Success;
}

int CIconButton::GetCheckState() const
{
    return m_checked;
}

void CIconButton::EnsureToolTip()
{
    if (m_toolTip.m_hWnd)
        return;
    m_toolTip.Create(this, m_toolTipStyle);
    m_toolTipActive = FALSE;
    m_toolTip.Activate(FALSE);
    m_toolTip.SetMaxTipWidth(Scaled(kMaxTipWidth));
}

void CIconButton::SetTipText(const char* text, BOOL activate)
{
    if (text == NULL)
        return;
    EnsureToolTip();
    const std::string shown = TipTextWithRoom(m_toolTip.m_hWnd, text);
    if (m_toolTip.GetToolCount() == 0) {
        // The tool covers the client area; a new size moves its edges (OnSize).
        RECT client = {0, 0, 0, 0};
        GetClientRect(&client);
        m_toolTip.AddTool(this, shown.c_str(), &client, kToolId);
    }
    m_toolTip.UpdateTipText(shown.c_str(), this, kToolId);
    m_toolTipActive = activate;
    m_toolTip.Activate(activate && !m_toolTipSuspended);
}

CString CIconButton::GetTipText() const
{
    if (!m_toolTip.m_hWnd)
        return CString();
    char text[512] = "";
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = m_hWnd;
    info.uId = kToolId;
    info.lpszText = text;
    ::SendMessageA(m_toolTip.m_hWnd, TTM_GETTEXTA, sizeof text, (LPARAM)&info);
    text[sizeof text - 1] = '\0';
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ')
        --length;
    return CString(text, (int)length);
}

void CIconButton::SuspendToolTip(BOOL suspend)
{
    m_toolTipSuspended = suspend;
    if (!m_toolTip.m_hWnd)
        return;
    // Inactive, a tooltip starts no new wait to show; a tip already up is popped.
    m_toolTip.Activate(m_toolTipActive && !suspend);
    if (!suspend)
        return;
    m_toolTip.Pop();
    // A wait that began when the pointer came onto the button may still end in a
    // tip: a move off every tool cancels it.
    MSG away = {};
    away.hwnd = m_hWnd;
    away.message = WM_MOUSEMOVE;
    away.lParam = MAKELPARAM(-1, -1);
    m_toolTip.RelayEvent(&away);
}

void CIconButton::SetToolTipStyle(DWORD style)
{
    m_toolTipStyle = style;
}

void CIconButton::CopyLinkTarget(char* dest, const char* source, UINT codePage)
{
    std::memset(dest, 0, LinkTargetSize);
    if (source == NULL)
        return;
    // Room for LinkTargetSize - 1 bytes and the terminator; a lead byte whose trail
    // byte would not fit stays out with it.
    size_t n = 0;
    while (source[n] && n < LinkTargetSize - 1) {
        if (::IsDBCSLeadByteEx(codePage, (BYTE)source[n])) {
            if (n + 2 > LinkTargetSize - 1 || source[n + 1] == 0)
                break;
            n += 2;
        } else {
            n += 1;
        }
    }
    std::memcpy(dest, source, n);
}

CIconButton::ButtonStatus CIconButton::SetLinkTarget(const char* target)
{
    CopyLinkTarget(m_linkTarget, target, CP_ACP);
    return Success;
}

void CIconButton::SetMenu(HMENU menu, HWND owner, BOOL repaint)
{
    if (m_popupMenu && m_popupMenu != menu)
        ::DestroyMenu(m_popupMenu);
    m_popupMenu = menu;
    m_menuOwner = owner;
    Repaint(repaint);
}

void CIconButton::SetMenuNotify(HWND target, UINT message, LPARAM lParam)
{
    m_menuNotify.target = target;
    m_menuNotify.message = message;
    m_menuNotify.lParam = lParam;
}

void CIconButton::SetBtnCursor(HCURSOR cursor)
{
    if (m_cursor && m_cursor != cursor)
        ::DestroyCursor(m_cursor);
    m_cursor = cursor;
}

void CIconButton::SetTransparent(BOOL transparent, BOOL repaint)
{
    Assign(m_transparent, transparent, repaint);
}

void CIconButton::SetImageLayout(BYTE layout, BOOL repaint)
{
    Assign(m_imageLayout, layout, repaint);
}

void CIconButton::SetImageMargins(int marginX, int marginY, BOOL repaint)
{
    m_imageMarginX = marginX;
    Assign(m_imageMarginY, marginY, repaint);
}

void CIconButton::SetFlat(BOOL flat, BOOL repaint)
{
    // Hover exists only in the flat look.
    if (!flat)
        m_hovering = FALSE;
    Assign(m_flat, flat, repaint);
}

void CIconButton::SetFlatBorder(BOOL flatBorder, BOOL repaint)
{
    Assign(m_flatBorder, flatBorder, repaint);
}

void CIconButton::SetFlatFocusRect(BOOL flatFocusRect, BOOL repaint)
{
    Assign(m_flatFocusRect, flatFocusRect, repaint);
}

void CIconButton::SetHoverWhenInactive(BOOL hoverWhenInactive)
{
    m_hoverWhenInactive = hoverWhenInactive;
}

void CIconButton::SetDpi(UINT dpi, BOOL repaint)
{
    if (dpi == 0)
        return;
    m_dpi = dpi;
    if (m_toolTip.m_hWnd)
        m_toolTip.SetMaxTipWidth(Scaled(kMaxTipWidth));
    Repaint(repaint);
}

void CIconButton::SetGrayBitmapWhenDisabled(BOOL gray, BOOL repaint)
{
    Assign(m_grayBitmapWhenDisabled, gray, repaint);
}

void CIconButton::Repaint(BOOL repaint)
{
    // InvalidateRect with no window would invalidate every window on the desktop.
    if (repaint && m_hWnd)
        ::InvalidateRect(m_hWnd, NULL, TRUE);
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

// --- input -------------------------------------------------------------------------

void CIconButton::PreSubclassWindow()
{
    const DWORD style = (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE) & 0xFFFF;
    const DWORD type = style & kTypeMask;
    // Only the check-box types; BS_OWNERDRAW and others share the BS_CHECKBOX bit.
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE)
        m_isCheckBox = TRUE;
    if (type == BS_DEFPUSHBUTTON)
        m_isDefault = TRUE;
    ModifyStyle(kTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    m_dpi = AfxGetWindowDpi(m_hWnd);
    m_uiState = (UINT)::SendMessageA(m_hWnd, WM_QUERYUISTATE, 0, 0);
    CButton::PreSubclassWindow();
}

BOOL CIconButton::PreTranslateMessage(MSG* pMsg)
{
    EnsureToolTip();
    m_toolTip.RelayEvent(pMsg);
    // An owner-drawn button reports a double click instead of pressing again;
    // as a second press it gives a second BN_CLICKED.
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

void CIconButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);

    ClientToScreen(&point);
    CWnd* under = WindowFromPoint(point);

    // A press that started elsewhere and is dragged onto the button does not light it.
    if ((nFlags & MK_LBUTTON) && !m_hovering)
        return;
    if (!m_flat)
        return;

    HWND reference = m_hoverWhenInactive ? m_hWnd : ::GetActiveWindow();
    if (under && under->m_hWnd == m_hWnd && reference) {
        if (m_hovering)
            return;
        m_hovering = TRUE;
        Repaint();
        TRACKMOUSEEVENT track;
        std::memset(&track, 0, sizeof(track));
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        ::_TrackMouseEvent(&track);
    } else {
        EndHover();
    }
}

void CIconButton::EndHover()
{
    if (m_flat && m_hovering) {
        m_hovering = FALSE;
        Repaint();
    }
}

LRESULT CIconButton::OnMouseLeave(WPARAM, LPARAM)
{
    // The platform's button tracks its own hot state from the same notification.
    Default();
    EndHover();
    return 0;
}

void CIconButton::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    EndHover();
}

void CIconButton::OnCancelMode()
{
    CButton::OnCancelMode();
    EndHover();
}

void CIconButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        EndHover();
}

void CIconButton::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    if (bEnable)
        return;
    // A disabled button must not keep the focus.
    HWND parent = ::GetParent(m_hWnd);
    HWND next = parent ? ::GetNextDlgTabItem(parent, m_hWnd, FALSE) : NULL;
    if (next == NULL)
        next = parent;
    if (next)
        ::SetFocus(next);
    EndHover();
}

BOOL CIconButton::OnClicked()
{
    SetFocus();
    if (m_isCheckBox) {
        m_checked = m_checked ? 0 : 1;
        Repaint();
    } else if (m_popupMenu) {
        RECT rect;
        GetWindowRect(&rect);
        m_menuShowing = TRUE;
        Repaint();
        HMENU subMenu = ::GetSubMenu(m_popupMenu, 0);
        if (m_menuNotify.target)
            ::SendMessageA(m_menuNotify.target, m_menuNotify.message, (WPARAM)subMenu, m_menuNotify.lParam);
        const UINT command = (UINT)::TrackPopupMenuEx(subMenu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                      rect.left, rect.bottom, m_menuOwner, NULL);
        m_menuShowing = FALSE;
        Repaint();
        if (command)
            ::PostMessageA(m_menuOwner, WM_COMMAND, MAKEWPARAM(command & 0xFFFF, 0), 0);
    } else if (m_linkTarget[0] && BindShell()) {
        SHELLEXECUTEINFOA info;
        std::memset(&info, 0, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.lpVerb = "open";
        info.lpFile = m_linkTarget;
        info.nShow = SW_SHOWMAXIMIZED;
        s_pfnShellExecuteExA(&info);
    }
    // The parent handles the click as well.
    return FALSE;
}

BOOL CIconButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_cursor) {
        ::SetCursor(m_cursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

UINT CIconButton::OnGetDlgCode()
{
    UINT code = CButton::OnGetDlgCode();
    code |= m_isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return code;
}

LRESULT CIconButton::OnBmSetStyle(WPARAM wParam, LPARAM lParam)
{
    const WPARAM type = wParam & kTypeMask;
    if (type == BS_DEFPUSHBUTTON)
        m_isDefault = TRUE;
    else if (type == BS_PUSHBUTTON)
        m_isDefault = FALSE;
    // Whatever look the dialog manager asks for, the control stays owner-drawn.
    return DefWindowProc(BM_SETSTYLE, (wParam & ~(WPARAM)kTypeMask) | BS_OWNERDRAW, lParam);
}

LRESULT CIconButton::OnBmSetCheck(WPARAM wParam, LPARAM)
{
    SetCheckState(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, TRUE);
    return 0;
}

LRESULT CIconButton::OnBmGetCheck(WPARAM, LPARAM)
{
    return GetCheckState();
}

LRESULT CIconButton::OnDpiChangedAfterParent(WPARAM, LPARAM)
{
    SetDpi(AfxGetWindowDpi(m_hWnd), TRUE);
    return Default();
}

LRESULT CIconButton::OnUpdateUIState(WPARAM wParam, LPARAM)
{
    // Kept from the message itself: Wine answers WM_QUERYUISTATE with 0 whatever it was told.
    const UINT before = m_uiState;
    const UINT flags = HIWORD(wParam);
    const LRESULT result = Default();
    if (LOWORD(wParam) == UIS_SET)
        m_uiState |= flags;
    else if (LOWORD(wParam) == UIS_CLEAR)
        m_uiState &= ~flags;
    else
        m_uiState = (UINT)::SendMessageA(m_hWnd, WM_QUERYUISTATE, 0, 0);
    // The focus rectangle shows or goes with the cues.
    if ((before ^ m_uiState) & UISF_HIDEFOCUS)
        Repaint();
    return result;
}

void CIconButton::OnSize(UINT nType, int cx, int cy)
{
    CButton::OnSize(nType, cx, cy);
    // The tip's tool and the parent snapshot were made for the old size.
    if (m_toolTip.m_hWnd && m_toolTip.GetToolCount() > 0) {
        RECT client = {0, 0, cx, cy};
        m_toolTip.SetToolRect(this, kToolId, &client);
    }
    DiscardBackground();
}

HBRUSH CIconButton::CtlColor(CDC*, UINT)
{
    // The button paints its whole face; no brush of the parent's is wanted.
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

void CIconButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    // The parent snapshot is taken again on the next paint, in the new colours.
    DiscardBackground();
    ApplySystemColors(TRUE);
}

void CIconButton::DiscardBackground()
{
    if (m_backDC.GetSafeHdc() && m_oldBackBitmap)
        ::SelectObject(m_backDC.GetSafeHdc(), m_oldBackBitmap);
    m_backDC.DeleteDC();
    m_backBitmap.DeleteObject();
    m_oldBackBitmap = NULL;
}

// --- painting ----------------------------------------------------------------------

int CIconButton::Scaled(int pixels) const
{
    return AfxScaleForDpi(pixels, m_dpi);
}

int CIconButton::BackSlot() const
{
    if (m_hovering || m_drawPressed)
        return ColorActiveBack;
    if (m_drawFocused)
        return ColorFocusBack;
    return ColorIdleBack;
}

void CIconButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const UINT state = lpDrawItemStruct->itemState;

    if (m_isCheckBox) {
        m_drawPressed = (state & ODS_SELECTED) || m_checked ? TRUE : FALSE;
    } else {
        m_drawPressed = (state & ODS_SELECTED) ? TRUE : FALSE;
        // The button looks pressed while its menu is up.
        if (m_popupMenu && m_menuShowing)
            m_drawPressed = TRUE;
    }
    m_drawFocused = state & ODS_FOCUS;
    m_drawDisabled = state & ODS_DISABLED;

    RECT faceRect = lpDrawItemStruct->rcItem;
    pDC->SetBkMode(TRANSPARENT);
    if (m_transparent)
        PaintParentBackground(pDC);
    else
        PaintBackground(pDC, &faceRect);
    PaintBorder(pDC, &faceRect);

    CString text;
    GetWindowText(text);
    const BOOL hasCaption = !text.IsEmpty();
    RECT captionRect = lpDrawItemStruct->rcItem;

    if (m_icons[0].handle)
        PaintIcon(pDC, hasCaption, &lpDrawItemStruct->rcItem, &captionRect, m_drawPressed, m_drawDisabled);
    if (m_bitmaps[0].image) {
        // The colour that the mask's set bits take when blitted onto the face.
        pDC->SetBkColor(RGB(255, 255, 255));
        PaintBitmap(pDC, hasCaption, &lpDrawItemStruct->rcItem, &captionRect, m_drawPressed, m_drawDisabled);
    }
    if (hasCaption)
        PaintCaption(pDC, text, &lpDrawItemStruct->rcItem, &captionRect, m_drawPressed, m_drawDisabled);

    // Flat, the rectangle follows Windows' keyboard cues: hidden until the keyboard is used.
    const BOOL focusCues = !(m_uiState & UISF_HIDEFOCUS);
    if ((!m_flat || m_flatFocusRect || focusCues) && m_drawFocused) {
        RECT focusRect = faceRect;
        ::InflateRect(&focusRect, -Scaled(3), -Scaled(3));
        ::DrawFocusRect(pDC->GetSafeHdc(), &focusRect);
    }
}

DWORD CIconButton::PaintBackground(CDC* pDC, RECT* rect)
{
    if (!m_flat && (m_drawFocused || m_isDefault)) {
        CBrush black(RGB(0, 0, 0));
        pDC->FrameRect(rect, &black);
        ::InflateRect(rect, -1, -1);
    }
    CBrush face(m_colors[BackSlot()]);
    pDC->FillRect(rect, &face);
    return 0;
}

DWORD CIconButton::PaintBorder(CDC* pDC, RECT* rect)
{
    if (m_drawPressed) {
        if (m_flat) {
            if (m_flatBorder)
                pDC->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        } else {
            CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
            pDC->FrameRect(rect, &shadow);
        }
        return 0;
    }
    if (m_flat) {
        if (m_hovering && m_flatBorder)
            pDC->Draw3dRect(rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        return 0;
    }

    // Raised four-line frame of the non-flat look.
    CPen highlight(PS_SOLID, 0, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    CPen light(PS_SOLID, 0, ::GetSysColor(COLOR_3DLIGHT));
    CPen shadow(PS_SOLID, 0, ::GetSysColor(COLOR_BTNSHADOW));
    CPen darkShadow(PS_SOLID, 0, ::GetSysColor(COLOR_3DDKSHADOW));
    const LONG l = rect->left, t = rect->top, r = rect->right, b = rect->bottom;

    // The pen that was in the DC goes back when the frame is done.
    CDCSelection keepPen(pDC->GetSafeHdc(), highlight);
    pDC->MoveTo(l, b - 1);
    pDC->LineTo(l, t);
    pDC->LineTo(r, t);
    pDC->SelectObject(&light);
    pDC->MoveTo(l + 1, b - 1);
    pDC->LineTo(l + 1, t + 1);
    pDC->LineTo(r, t + 1);
    pDC->SelectObject(&darkShadow);
    pDC->MoveTo(l, b - 1);
    pDC->LineTo(r - 1, b - 1);
    pDC->LineTo(r - 1, t - 1);
    pDC->SelectObject(&shadow);
    pDC->MoveTo(l + 1, b - 2);
    pDC->LineTo(r - 2, b - 2);
    pDC->LineTo(r - 2, t);
    return 0;
}

void CIconButton::PlaceImage(BOOL hasCaption, const RECT* itemRect, RECT* captionRect, BOOL pressed, DWORD width,
                             DWORD height, RECT* imageRect)
{
    ::CopyRect(imageRect, itemRect);
    const LONG areaWidth = Width(*imageRect);
    const LONG areaHeight = Height(*imageRect);
    const LONG w = (LONG)width;
    const LONG h = (LONG)height;
    const LONG marginX = Scaled(m_imageMarginX);
    const LONG marginY = Scaled(m_imageMarginY);

    switch (m_imageLayout) {
    case ImageLeft:
        if (hasCaption) {
            imageRect->left += marginX;
            captionRect->left += marginX + w;
        } else {
            imageRect->left += HalfOf((long long)areaWidth - width);
        }
        imageRect->top += HalfOf((long long)areaHeight - height);
        break;
    case ImageAbove:
        imageRect->left += HalfOf((long long)areaWidth - width);
        if (hasCaption) {
            imageRect->top = marginY;
            captionRect->top += h;
        } else {
            imageRect->top += HalfOf((long long)areaHeight - height);
        }
        break;
    case ImageRight:
        if (hasCaption) {
            RECT client;
            GetClientRect(&client);
            captionRect->right -= captionRect->left + marginX + w;
            captionRect->left = marginX;
            imageRect->left = client.right - marginX - w;
            imageRect->top += HalfOf((long long)areaHeight - height);
        } else {
            imageRect->left += HalfOf((long long)areaWidth - width);
        }
        break;
    default:
        break;
    }

    if (pressed && !m_isCheckBox)
        ::OffsetRect(imageRect, Scaled(m_pressShiftX), Scaled(m_pressShiftY));
}

void CIconButton::PaintIcon(CDC* pDC, BOOL hasCaption, const RECT* itemRect, RECT* captionRect, BOOL pressed,
                            BOOL disabled)
{
    const BOOL idle = m_icons[1].handle && !pressed && (m_isCheckBox || !m_hovering);
    const ButtonIcon& icon = m_icons[idle ? 1 : 0];

    RECT imageRect;
    PlaceImage(hasCaption, itemRect, captionRect, pressed, icon.width, icon.height, &imageRect);
    ::DrawStateA(pDC->GetSafeHdc(), NULL, NULL, (LPARAM)icon.handle, 0, imageRect.left, imageRect.top,
                 Width(imageRect), Height(imageRect), DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
}

void CIconButton::PaintBitmap(CDC* pDC, BOOL hasCaption, const RECT* itemRect, RECT* captionRect, BOOL pressed,
                              BOOL disabled)
{
    const BOOL idle = m_bitmaps[1].image && !pressed && (m_isCheckBox || !m_hovering);
    const ButtonBitmap& bitmap = m_bitmaps[idle ? 1 : 0];
    const int w = (int)bitmap.width;
    const int h = (int)bitmap.height;

    RECT imageRect;
    PlaceImage(hasCaption, itemRect, captionRect, pressed, bitmap.width, bitmap.height, &imageRect);

    CDC imageDC, maskDC;
    imageDC.CreateCompatibleDC(pDC);
    maskDC.CreateCompatibleDC(NULL);
    CDCSelection selectImage(imageDC, bitmap.image);
    CDCSelection selectMask(maskDC, bitmap.mask);

    if (disabled && m_grayBitmapWhenDisabled) {
        // Compose image over white, then let DrawState emboss the result.
        CBitmap work;
        work.CreateCompatibleBitmap(pDC, w, h);
        {
            CDC workDC;
            workDC.CreateCompatibleDC(pDC);
            CDCSelection selectWork(workDC, work);
            workDC.FillSolidRect(0, 0, w, h, RGB(255, 255, 255));
            const COLORREF oldBack = workDC.SetBkColor(RGB(255, 255, 255));
            workDC.BitBlt(0, 0, w, h, &maskDC, 0, 0, SRCAND);
            workDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCPAINT);
            workDC.SetBkColor(oldBack);
        }
        ::DrawStateA(pDC->GetSafeHdc(), NULL, NULL, (LPARAM)work.GetSafeHandle(), 0, imageRect.left, imageRect.top,
                     w, h, DST_BITMAP | DSS_DISABLED);
    } else {
        pDC->BitBlt(imageRect.left, imageRect.top, w, h, &maskDC, 0, 0, SRCAND);
        pDC->BitBlt(imageRect.left, imageRect.top, w, h, &imageDC, 0, 0, SRCPAINT);
    }
}

void CIconButton::PaintCaption(CDC* pDC, const char* text, const RECT*, RECT* captionRect, BOOL pressed,
                               BOOL disabled)
{
    if (pressed && !m_isCheckBox)
        ::OffsetRect(captionRect, Scaled(m_pressShiftX), Scaled(m_pressShiftY));

    const RECT target = *captionRect;
    pDC->DrawText(text, -1, captionRect, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    ::OffsetRect(captionRect, HalfOf((long long)Width(target) - Width(*captionRect)),
                 HalfOf((long long)Height(target) - Height(*captionRect)));
    pDC->SetBkMode(TRANSPARENT);

    if (disabled) {
        // Embossed: highlight one pixel down and right under the shadow.
        ::OffsetRect(captionRect, 1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->DrawText(text, -1, captionRect, DT_WORDBREAK | DT_CENTER);
        ::OffsetRect(captionRect, -1, -1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        pDC->DrawText(text, -1, captionRect, DT_WORDBREAK | DT_CENTER);
        return;
    }

    const int back = BackSlot();
    pDC->SetTextColor(m_colors[back + 1]);
    pDC->SetBkColor(m_colors[back]);
    pDC->DrawText(text, -1, captionRect, DT_WORDBREAK | DT_CENTER);
}

void CIconButton::PaintParentBackground(CDC* pDC)
{
    CWnd* parent = GetParent();
    if (parent == NULL)
        return;
    CClientDC parentDC(parent);
    RECT client, window;
    GetClientRect(&client);
    GetWindowRect(&window);
    parent->ScreenToClient(&window);
    const int w = Width(client);
    const int h = Height(client);

    // Taken once and reused until a system colour change throws it away.
    if (!m_backDC.GetSafeHdc()) {
        // Without a DC there is no snapshot, and no bitmap is made that a later
        // attempt could not attach.
        if (!m_backDC.Attach(::CreateCompatibleDC(parentDC.GetSafeHdc())))
            return;
        m_backBitmap.CreateCompatibleBitmap(&parentDC, w, h);
        m_oldBackBitmap = ::SelectObject(m_backDC.GetSafeHdc(), m_backBitmap.GetSafeHandle());
        m_backDC.BitBlt(0, 0, w, h, &parentDC, window.left, window.top, SRCCOPY);
    }
    pDC->BitBlt(0, 0, w, h, &m_backDC, 0, 0, SRCCOPY);
}
