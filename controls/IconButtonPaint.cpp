#include "controls/IconButton.h"

#include "controls/IconButtonInternal.h"
#include "framework/DCSelection.h"

using namespace IconButtonInternal;

namespace {
// Half of a difference, truncated toward zero; computed wide so it cannot overflow.
LONG HalfOf(long long difference)
{
    return (LONG)(difference / 2);
}
}  // namespace

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
    ::DrawStateA(pDC->GetSafeHdc(), nullptr, nullptr, (LPARAM)icon.handle, 0, imageRect.left, imageRect.top,
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
    maskDC.CreateCompatibleDC(nullptr);
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
        ::DrawStateA(pDC->GetSafeHdc(), nullptr, nullptr, (LPARAM)work.GetSafeHandle(), 0, imageRect.left,
                     imageRect.top, w, h, DST_BITMAP | DSS_DISABLED);
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

// --- parent snapshot ---------------------------------------------------------------

void CIconButton::PaintParentBackground(CDC* pDC)
{
    CWnd* parent = GetParent();
    if (parent == nullptr)
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
        m_selectBackBitmap.emplace(m_backDC.GetSafeHdc(), m_backBitmap.GetSafeHandle());
        m_backDC.BitBlt(0, 0, w, h, &parentDC, window.left, window.top, SRCCOPY);
    }
    pDC->BitBlt(0, 0, w, h, &m_backDC, 0, 0, SRCCOPY);
}

void CIconButton::DiscardBackground()
{
    m_selectBackBitmap.reset();
    m_backDC.DeleteDC();
    m_backBitmap.DeleteObject();
}
