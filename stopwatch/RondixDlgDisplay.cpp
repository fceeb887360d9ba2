#include "stopwatch/RondixDlg.h"

#include <cstdlib>

namespace {

// The readout: the top strip of the client area, drawn off-screen. Pixel figures are for
// 96 DPI; the window draws them at its own.
constexpr int READOUT_LEFT = 1;
constexpr int READOUT_TOP = 0;
constexpr int READOUT_WIDTH = 190;
constexpr int READOUT_HEIGHT = 36;
constexpr COLORREF READOUT_BACK = RGB(0, 0, 0);
constexpr COLORREF READOUT_TEXT = RGB(255, 255, 0);
constexpr int READOUT_POINTS = 20;
const char* const READOUT_FONT = "Verdana";
// The buttons' icons at 96 DPI; each resource has pictures for the common scales.
constexpr int ICON_SIZE = 16;

}  // namespace

CIconButton* CRondixDlg::Buttons(int i)
{
    return &m_buttons[i];
}

CRect CRondixDlg::ReadoutRect() const
{
    const int x = AfxScaleForDpi(READOUT_LEFT, m_nDpi), y = AfxScaleForDpi(READOUT_TOP, m_nDpi);
    return CRect(x, y, x + AfxScaleForDpi(READOUT_WIDTH, m_nDpi), y + AfxScaleForDpi(READOUT_HEIGHT, m_nDpi));
}

void CRondixDlg::CreateReadout()
{
    m_readout.Destroy();
    m_fontReadout.DeleteObject();
    // As CreatePointFont makes it, but for the window's DPI rather than the screen's.
    LOGFONTA lf = {};
    lf.lfHeight = -::MulDiv(READOUT_POINTS, (int)m_nDpi, 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynA(lf.lfFaceName, READOUT_FONT, LF_FACESIZE);
    m_fontReadout.CreateFontIndirect(&lf);
    const CRect rc = ReadoutRect();
    m_readout.Create(m_pWindowDC->GetSafeHdc(), m_fontReadout, READOUT_TEXT, READOUT_BACK, rc.Width(), rc.Height());
}

void CRondixDlg::LoadButtonIcons(int i)
{
    const int nSize = AfxScaleForDpi(ICON_SIZE, m_nDpi);
    m_buttons[i].LoadIcons(m_nIcons[i], nSize, nSize, CIconButton::IdleIconGray, 0, 0);
}

CRondixDlg::Layout CRondixDlg::LayoutFor(UINT nDpi) const
{
    // Scaled from the dialog manager's own layout, so that its DPI gives exactly that layout
    // back, however often the window went to other monitors meanwhile.
    auto scale = [&](LONG n) { return (LONG)::MulDiv(n, (int)nDpi, (int)m_nLayoutDpi); };
    Layout layout;
    layout.size = {scale(m_layout.size.cx), scale(m_layout.size.cy)};
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        const CRect& rc = m_layout.buttons[i];
        layout.buttons[i] = CRect(scale(rc.left), scale(rc.top), scale(rc.right), scale(rc.bottom));
    }
    // The template's width in dialog units may come out narrower than the readout, whose
    // font grows with the DPI as the dialog's does not quite: then the window widens, with
    // the readout's margin on both sides and the buttons centred under it.
    const LONG cxNeeded = 2 * AfxScaleForDpi(READOUT_LEFT, nDpi) + AfxScaleForDpi(READOUT_WIDTH, nDpi);
    if (layout.size.cx < cxNeeded) {
        const LONG cxShift = (cxNeeded - layout.size.cx) / 2;
        layout.size.cx = cxNeeded;
        for (CRect& rc : layout.buttons)
            rc.OffsetRect(cxShift, 0);
    }
    return layout;
}

void CRondixDlg::ApplyDpi(const RECT* prcSuggested)
{
    const Layout layout = LayoutFor(m_nDpi);

    // The captions' font: the dialog manager's at its DPI, else the same face made for this one.
    HFONT hFont = m_hTemplateFont;
    CFont fontButtons;
    LOGFONTA lf = {};
    if (m_nDpi != m_nLayoutDpi && m_hTemplateFont && ::GetObjectA(m_hTemplateFont, sizeof lf, &lf)) {
        const int nPoints = ::MulDiv(std::abs(lf.lfHeight), 72, (int)m_nLayoutDpi);
        lf.lfHeight = -::MulDiv(nPoints, (int)m_nDpi, 72);
        if (fontButtons.CreateFontIndirect(&lf))
            hFont = fontButtons;
    }

    UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0, y = 0;
    if (prcSuggested) {
        x = prcSuggested->left;
        y = prcSuggested->top;
    } else {
        nFlags |= SWP_NOMOVE;
    }
    SetWindowPos(nullptr, x, y, layout.size.cx, layout.size.cy, nFlags);
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        const CRect& rc = layout.buttons[i];
        m_buttons[i].SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (hFont)
            m_buttons[i].SendMessage(WM_SETFONT, (WPARAM)hFont, FALSE);
    }
    // The old font goes only once no button draws with it.
    m_fontButtons.DeleteObject();
    if (hFont == fontButtons.GetSafeHandle())
        m_fontButtons.Attach(fontButtons.Detach());

    // Until the set-up has made them, there are no icons or readout to remake.
    if (m_pWindowDC) {
        for (int i = 0; i < BUTTON_COUNT; ++i) {
            m_buttons[i].SetDpi(m_nDpi, FALSE);
            LoadButtonIcons(i);
        }
        CreateReadout();
    }
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CRondixDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    const UINT nDpi = HIWORD(wParam);  // the same as the horizontal DPI in the low word
    if (nDpi == 0)
        return 0;
    m_nDpi = nDpi;
    ApplyDpi((const RECT*)lParam);
    return 0;
}

LRESULT CRondixDlg::OnGetDpiScaledSize(WPARAM wParam, LPARAM lParam)
{
    // Windows' suggestion for the next WM_DPICHANGED then has the size the window takes.
    if (wParam == 0 || lParam == 0)
        return FALSE;
    *(SIZE*)lParam = LayoutFor((UINT)wParam).size;
    return TRUE;
}

void CRondixDlg::PaintReadout(CString text)
{
    m_strReadout = text;
    ShowReadout(FALSE);
}

void CRondixDlg::ShowReadout(BOOL bFull)
{
    if (!m_pWindowDC || m_pWindowDC->GetSafeHdc() == nullptr)
        return;
    const CRect rc = ReadoutRect();
    m_readout.Paint(m_pWindowDC->GetSafeHdc(), rc.left, rc.top, m_strReadout, m_strReadout.GetLength(), bFull);
}

void CRondixDlg::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, (WPARAM)dc.GetSafeHdc(), 0);
        CRect rect;
        GetClientRect(&rect);
        int x = (rect.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (rect.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
        return;
    }
    {
        // The background is never erased: the space around the readout and the buttons is
        // painted black here, the readout once, below, from its own surface.
        CPaintDC dc(this);
        CRect rcClient;
        GetClientRect(&rcClient);
        const CRect rcReadout = ReadoutRect();
        ::ExcludeClipRect(dc.GetSafeHdc(), rcReadout.left, rcReadout.top, rcReadout.right, rcReadout.bottom);
        ::FillRect(dc.GetSafeHdc(), &rcClient, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    }
    // Whatever covered the readout stays until it is redrawn.
    ShowReadout(TRUE);
}

LRESULT CRondixDlg::OnEraseBackground(WPARAM, LPARAM)
{
    return 1;
}

HCURSOR CRondixDlg::OnQueryDragIcon()
{
    return (HCURSOR)m_hIcon;
}
