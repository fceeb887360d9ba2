// The readout painter against the window's full drawing, pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "stopwatch/ReadoutPainter.h"
#include "tests/support/TestImages.h"

namespace {

// The readout's size at 96 DPI.
constexpr int CX = 190, CY = 36;
constexpr COLORREF YELLOW = RGB(255, 255, 0), BLACK = RGB(0, 0, 0);

// An off-screen stand-in for the window.
struct CSurface {
    CSurface(HDC hdcScreen, int cx, int cy) : m_cx(cx), m_cy(cy)
    {
        m_dc.Attach(::CreateCompatibleDC(hdcScreen));
        m_bitmap.Attach(::CreateCompatibleBitmap(hdcScreen, cx, cy));
        Draw([&](HDC hdc) { Fill(hdc, CRect(0, 0, cx, cy), RGB(0, 128, 255)); });
    }
    void Draw(const std::function<void(HDC)>& draw)
    {
        CDCSelection select(m_dc, m_bitmap);
        draw(m_dc);
    }
    std::vector<DWORD> Pixels()
    {
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), m_cx, m_cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        std::vector<DWORD> pixels((size_t)(m_cx * m_cy));
        EXPECT_EQ(::GetDIBits(m_dc, m_bitmap, 0, (UINT)m_cy, pixels.data(), &info, DIB_RGB_COLORS), m_cy);
        return pixels;
    }
    static void Fill(HDC hdc, const CRect& rect, COLORREF color) { ::FillRect(hdc, &rect, CBrush(color)); }

    int m_cx, m_cy;
    CBitmap m_bitmap;
    CDC m_dc;
};

// Every tick before the glyph cache: a new bitmap, filled, the text centred on it, copied to (1, 0).
void DrawAsBefore(HDC hdcScreen, HFONT hFont, CSurface& target, const std::string& text, int cx, int cy)
{
    CSurface readout(hdcScreen, cx, cy);
    readout.Draw([&](HDC hdc) {
        CRect rect(0, 0, cx, cy);
        CSurface::Fill(hdc, rect, BLACK);
        CDCSelection selectFont(hdc, hFont);
        ::SetTextColor(hdc, YELLOW);
        ::SetBkColor(hdc, BLACK);
        ::DrawTextA(hdc, text.c_str(), std::min((int)text.size(), 12), &rect, DT_CENTER);
        target.Draw([&](HDC hdcTarget) { ::BitBlt(hdcTarget, 1, 0, cx, cy, hdc, 0, 0, SRCCOPY); });
    });
}

// A day of ticks in uneven steps, with jumps that turn every field over; every digit in every
// position beside varied neighbours; texts of other shapes between texts of the readout's.
std::vector<std::string> Sweep()
{
    std::vector<std::string> texts;
    char text[64];
    unsigned n = 0;
    for (unsigned ms = 0; ms < 86400000u; ms += (++n % 8) ? 27 + n % 11 : 1234567 + n) {
        std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                      ms % 1000);
        texts.push_back(text);
    }
    for (int step : {1, 3, 7})
        for (int d = 0; d < 10; ++d) {
            std::snprintf(text, sizeof text, "%d%d:%d%d:%d%d.%d%d%d", d % 10, (d + step) % 10, (d + 2 * step) % 10,
                          (d + 3 * step) % 10, (d + 4 * step) % 10, (d + 5 * step) % 10, (d + 6 * step) % 10,
                          (d + 7 * step) % 10, (d + 8 * step) % 10);
            texts.push_back(text);
        }
    for (const char* psz : {"23:59:59.999", "Invalid time span", "00:00:01.000", "12:34", "12:34:56.789", "",
                            "12:34:56.789", "98:76:54.3210 more", "98:76:54.321", "1a:23:45.678", "10-23:45.678"})
        texts.push_back(psz);
    return texts;
}

// Paints the texts as ticks do, and now and then in full over a covered readout as WM_PAINT
// does, each time comparing the whole target with the drawing of before.
void ExpectPaintsAsBefore(HDC hdcScreen, HFONT hFont, CReadoutPainter& painter,
                          const std::vector<std::string>& texts, int cx = CX, int cy = CY)
{
    CSurface expected(hdcScreen, cx + 2, cy + 1), actual(hdcScreen, cx + 2, cy + 1);
    for (size_t i = 0; i < texts.size(); ++i) {
        const BOOL bFull = i % 101 == 100;
        DrawAsBefore(hdcScreen, hFont, expected, texts[i], cx, cy);
        actual.Draw([&](HDC hdc) {
            if (bFull)
                CSurface::Fill(hdc, CRect(1, 0, 1 + cx, cy), RGB(255, 255, 255));
            painter.Paint(hdc, 1, 0, texts[i].c_str(), (int)texts[i].size(), bFull);
        });
        ASSERT_TRUE(actual.Pixels() == expected.Pixels()) << "text " << i << " \"" << texts[i] << "\"";
    }
}

class ReadoutPainterTest : public ::testing::Test
{
protected:
    void SetUp() override { m_hdcScreen = ::GetDC(nullptr); }
    void TearDown() override { ::ReleaseDC(nullptr, m_hdcScreen); }
    HDC m_hdcScreen = nullptr;
};

// At the window's DPI: the readout's 20-point Verdana and its 190 x 36 pixels scale with it.
TEST_F(ReadoutPainterTest, TicksThatCopyCellsShowExactlyTheFullDrawingAndMakeNothing)
{
    for (int nDpi : {96, 144, 192}) {
        SCOPED_TRACE(nDpi);
        LOGFONTA lf = {};
        lf.lfHeight = -::MulDiv(20, nDpi, 72);
        lf.lfCharSet = DEFAULT_CHARSET;
        ::lstrcpyA(lf.lfFaceName, "Verdana");
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        const int cx = ::MulDiv(CX, nDpi, 96), cy = ::MulDiv(CY, nDpi, 96);
        const GuiCounts before = CountGuiObjects();
        {
            CReadoutPainter painter;
            ASSERT_TRUE(painter.Create(m_hdcScreen, font, YELLOW, BLACK, cx, cy));
            ASSERT_TRUE(painter.HasGlyphCells()) << "the readout's font keeps its glyphs inside their cells";
            const GuiCounts made = CountGuiObjects();
            EXPECT_GT(made.gdi, before.gdi);
            ExpectPaintsAsBefore(m_hdcScreen, font, painter, Sweep(), cx, cy);
            EXPECT_EQ(CountGuiObjects().gdi, made.gdi) << "nothing made per paint";
        }
        EXPECT_EQ(CountGuiObjects().gdi, before.gdi);
    }
}

// Slanted by the renderer, this face's glyphs reach into their right neighbours.
TEST_F(ReadoutPainterTest, AFontWhoseInkLeavesItsCellsIsAlwaysDrawnInFull)
{
    LOGFONTA lf = {};
    lf.lfHeight = -::MulDiv(::GetDeviceCaps(m_hdcScreen, LOGPIXELSY), 20, 72);
    lf.lfItalic = TRUE;
    ::lstrcpyA(lf.lfFaceName, "Tahoma");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));

    // Premise: "0" alone, drawn at x = 20, inks a pixel beyond its advance.
    CSurface glyph(m_hdcScreen, 80, CY);
    SIZE size = {};
    glyph.Draw([&](HDC hdc) {
        CSurface::Fill(hdc, CRect(0, 0, 80, CY), BLACK);
        CDCSelection selectFont(hdc, font);
        ::SetTextColor(hdc, YELLOW);
        ::GetTextExtentPoint32A(hdc, "0", 1, &size);
        ::TextOutA(hdc, 20, 0, "0", 1);
    });
    const std::vector<DWORD> pixels = glyph.Pixels();
    bool bOverhang = false;
    for (size_t i = 0; i < pixels.size(); ++i)
        bOverhang |= pixels[i] != 0 && (i % 80 < 20 || i % 80 >= 20 + (size_t)size.cx);
    ASSERT_TRUE(bOverhang);

    CReadoutPainter painter;
    ASSERT_TRUE(painter.Create(m_hdcScreen, font, YELLOW, BLACK, CX, CY));
    EXPECT_FALSE(painter.HasGlyphCells());
    std::vector<std::string> texts = Sweep();
    texts.erase(texts.begin() + 100, texts.end() - 40);
    ExpectPaintsAsBefore(m_hdcScreen, font, painter, texts);
}

}  // namespace
