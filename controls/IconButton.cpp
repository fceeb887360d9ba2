#include "controls/IconButton.h"

#include <cstring>

#include "controls/ColorMath.h"
#include "controls/IconButtonInternal.h"

using namespace IconButtonInternal;

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
    SetLinkTarget(nullptr);
    m_imageMarginX = 3;
    m_imageMarginY = 3;
    m_cursor = nullptr;
    m_popupMenu = nullptr;
    m_menuOwner = nullptr;
    m_menuShowing = FALSE;
    m_grayBitmapWhenDisabled = TRUE;
    std::memset(&m_menuNotify, 0, sizeof(m_menuNotify));
    m_dpi = USER_DEFAULT_SCREEN_DPI;
    m_uiState = 0;
}

CIconButton::~CIconButton()
{
    ReleaseImages(TRUE);
    if (m_cursor)
        ::DestroyCursor(m_cursor);
    if (m_popupMenu)
        ::DestroyMenu(m_popupMenu);
    // m_backBitmap, m_backDC and m_toolTip free their handles as members, once the
    // snapshot bitmap has left its DC (m_selectBackBitmap, declared after them).
}

// --- configuration ---------------------------------------------------------------

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

void CIconButton::CopyLinkTarget(char* dest, const char* source, UINT codePage)
{
    std::memset(dest, 0, LinkTargetSize);
    if (source == nullptr)
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
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}
