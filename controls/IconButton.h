#pragma once

#include <optional>

#include "framework/Afx.h"

// An owner-drawn push button: an icon beside its caption, a greyed idle copy of the
// icon, hover lighting in the flat look, six colour slots and its own tooltip.
class CIconButton : public CButton
{
public:
    // Results of the configuration operations; 2 and 4 are not used.
    enum ButtonStatus {
        Success = 0,
        BadImage = 1,
        BadColorSlot = 3,
        OffsetOutOfRange = 5,
        BadShiftMode = 6,
    };

    // Idle-icon arguments of AssignIcons and LoadIcons that ask for a derived copy.
    enum { IdleIconGray = -2, IdleIconDarker = -3 };

    // Indexes of m_colors.
    enum {
        ColorActiveBack = 0,
        ColorActiveText = 1,
        ColorIdleBack = 2,
        ColorIdleText = 3,
        ColorFocusBack = 4,
        ColorFocusText = 5,
        ColorCount = 6,
    };

    // SetPressShiftMode: (1, 1) or (0, 2) pixels while pressed.
    enum { PressShiftDiagonal = 0, PressShiftDown = 1 };

    // m_imageLayout: the image left of, above or right of the caption.
    enum { ImageLeft = 0, ImageAbove = 1, ImageRight = 2 };

    enum { LinkTargetSize = 260 };

    struct ButtonIcon {
        HICON handle;
        DWORD width;
        DWORD height;
    };

    struct ButtonBitmap {
        HBITMAP image;
        DWORD width;
        DWORD height;
        HBITMAP mask;
    };

    // Sent to target before an attached popup menu shows: wParam is the sub-menu.
    struct MenuNotify {
        HWND target;
        UINT message;
        LPARAM lParam;
    };

    CIconButton();
    ~CIconButton() override;

    // Icons are loaded unshared from the module holding activeId; sizes of 0 take the
    // resource's own size. idleId may be 0, IdleIconGray or IdleIconDarker.
    ButtonStatus LoadIcons(UINT activeId, int activeWidth, int activeHeight, int idleId, int idleWidth,
                           int idleHeight);
    ButtonStatus LoadIcons(UINT activeId, int idleId);
    // Both icons become the button's; idle may be NULL or a derived-copy value.
    ButtonStatus AssignIcons(HICON active, HICON idle);
    // Bitmap images with their monochrome masks: a set mask bit is transparent and
    // the image is black there. All four become the button's; the idle pair may be
    // NULL. An image without its mask is refused.
    ButtonStatus SetBitmaps(HBITMAP active, HBITMAP activeMask, HBITMAP idle, HBITMAP idleMask);
    void ReleaseImages(BOOL destroyHandles);

    ButtonStatus ApplySystemColors(BOOL repaint);
    ButtonStatus ShiftColor(BYTE slot, short offset, BOOL repaint);
    ButtonStatus SetPressShiftMode(BYTE mode, BOOL repaint);
    ButtonStatus SetCheckState(int check, BOOL repaint);
    int GetCheckState() const;

    void SetTipText(const char* text, BOOL activate);
    // The tip's text as given, without the spaces added for the font's ink; "" without a tip.
    CString GetTipText() const;
    void EnsureToolTip();
    // While suspended the tip is hidden and never shows; afterwards it is as
    // active as SetTipText last asked, also when it asked meanwhile, and a
    // pointer on the button lights it.
    void SuspendToolTip(BOOL suspend);
    // Style of the tooltip window; takes effect when the tooltip is created.
    void SetToolTipStyle(DWORD style);

    ButtonStatus SetLinkTarget(const char* target);
    const char* GetLinkTarget() const { return m_linkTarget; }

    // Popup menu shown under the button on click (its sub-menu 0); the menu becomes
    // the button's. The chosen command is posted to owner as WM_COMMAND.
    void SetMenu(HMENU menu, HWND owner, BOOL repaint = TRUE);
    void SetMenuNotify(HWND target, UINT message, LPARAM lParam);
    // The cursor becomes the button's and is destroyed with it.
    void SetBtnCursor(HCURSOR cursor);
    void SetTransparent(BOOL transparent, BOOL repaint = TRUE);
    void SetImageLayout(BYTE layout, BOOL repaint = TRUE);
    void SetImageMargins(int marginX, int marginY, BOOL repaint = TRUE);
    void SetFlat(BOOL flat, BOOL repaint = TRUE);
    void SetFlatBorder(BOOL flatBorder, BOOL repaint = TRUE);
    void SetFlatFocusRect(BOOL flatFocusRect, BOOL repaint = TRUE);
    void SetHoverWhenInactive(BOOL hoverWhenInactive);
    // The look's pixel figures (margins, press shift, focus inset, tip width) are given for
    // 96 DPI and drawn at this one; the button takes its window's DPI when subclassed and
    // when Windows says its parent moved to another.
    void SetDpi(UINT dpi, BOOL repaint = TRUE);
    UINT GetDpi() const { return m_dpi; }
    void SetGrayBitmapWhenDisabled(BOOL gray, BOOL repaint = TRUE);

    // Derived idle icons; the result is a new icon, NULL on failure.
    static HICON MakeGrayIcon(HICON source);
    static HICON MakeDarkIcon(HICON source);
    static COLORREF DimColor(COLORREF color, double fraction);

    // Copies source into dest (LinkTargetSize bytes, zero-filled first), at most
    // LinkTargetSize - 1 bytes, never splitting a double-byte character of codePage.
    static void CopyLinkTarget(char* dest, const char* source, UINT codePage);

protected:
    DECLARE_MESSAGE_MAP()

public:
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    // Paint steps of DrawItem, in the order it calls them.
    virtual DWORD PaintBackground(CDC* pDC, RECT* rect);
    virtual DWORD PaintBorder(CDC* pDC, RECT* rect);
    virtual void PaintIcon(CDC* pDC, BOOL hasCaption, const RECT* itemRect, RECT* captionRect, BOOL pressed,
                           BOOL disabled);
    virtual void PaintBitmap(CDC* pDC, BOOL hasCaption, const RECT* itemRect, RECT* captionRect, BOOL pressed,
                             BOOL disabled);
    virtual void PaintCaption(CDC* pDC, const char* text, const RECT* itemRect, RECT* captionRect, BOOL pressed,
                              BOOL disabled);

    void PlaceImage(BOOL hasCaption, const RECT* itemRect, RECT* captionRect, BOOL pressed, DWORD width,
                    DWORD height, RECT* imageRect);
    void PaintParentBackground(CDC* pDC);
    void EndHover();
    void FollowPointer();

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnClicked();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnCancelMode();
    afx_msg UINT OnGetDlgCode();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg LRESULT OnBmSetStyle(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBmSetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBmGetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDpiChangedAfterParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateUIState(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);

    // Repaints the whole button, erasing, when asked; never while there is no window.
    void Repaint(BOOL repaint = TRUE);
    // Sets a member of the look and repaints when asked.
    template <class T>
    void Assign(T& member, T value, BOOL repaint)
    {
        member = value;
        Repaint(repaint);
    }
    // Face and caption colour slots for the current paint: active, focus or idle.
    int BackSlot() const;
    // A 96-DPI pixel figure at the button's DPI.
    int Scaled(int pixels) const;
    // Throws the parent snapshot away; the next transparent paint takes it anew.
    void DiscardBackground();

    BOOL m_grayBitmapWhenDisabled;
    int m_imageMarginX;
    int m_imageMarginY;
    int m_pressShiftX;
    int m_pressShiftY;
    BOOL m_flat;
    BOOL m_hovering;
    BOOL m_transparent;
    BOOL m_drawPressed;
    UINT m_drawFocused;
    UINT m_drawDisabled;
    BOOL m_isDefault;
    BOOL m_isCheckBox;
    BYTE m_imageLayout;
    BOOL m_flatBorder;
    BOOL m_flatFocusRect;
    COLORREF m_colors[ColorCount];
    HWND m_menuOwner;
    BOOL m_menuShowing;
    HMENU m_popupMenu;
    HCURSOR m_cursor;
    CToolTipCtrl m_toolTip;
    CDC m_backDC;
    CBitmap m_backBitmap;
    // The snapshot bitmap in m_backDC while there is one; it leaves the DC before
    // either is deleted.
    std::optional<CDCSelection> m_selectBackBitmap;
    BOOL m_hoverWhenInactive;
    int m_checked;
    DWORD m_toolTipStyle;
    BOOL m_toolTipActive;
    BOOL m_toolTipSuspended;
    char m_linkTarget[LinkTargetSize];
    ButtonIcon m_icons[2];
    ButtonBitmap m_bitmaps[2];
    MenuNotify m_menuNotify;
    UINT m_dpi;
    // The keyboard cues hidden (UISF_ flags), as the last WM_UPDATEUISTATE said.
    UINT m_uiState;
};
