// Configuration of the icon button that needs no window.
#include "controls/IconButton.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/controls/IconButtonProbe.h"

namespace {
TEST(IconButtonConfigTest, ShiftColorMovesOneSlotOnly)
{
    // The arithmetic itself is tested with ColorMath; here: the slot it lands in.
    CIconButtonProbe button;
    button.m_colors[CIconButton::ColorActiveBack] = RGB(212, 208, 200);
    button.m_colors[CIconButton::ColorFocusText] = RGB(20, 100, 200);
    const COLORREF idle = button.m_colors[CIconButton::ColorIdleBack];
    EXPECT_EQ(CIconButton::Success, button.ShiftColor(CIconButton::ColorActiveBack, 30, FALSE));
    EXPECT_EQ(CIconButton::Success, button.ShiftColor(CIconButton::ColorFocusText, -30, FALSE));
    EXPECT_EQ(RGB(242, 238, 230), button.m_colors[CIconButton::ColorActiveBack]);
    EXPECT_EQ(RGB(0, 80, 180), button.m_colors[CIconButton::ColorFocusText]);
    EXPECT_EQ(idle, button.m_colors[CIconButton::ColorIdleBack]);
}

TEST(IconButtonConfigTest, RefusedSettingsChangeNothing)
{
    CIconButtonProbe button;
    COLORREF before[CIconButton::ColorCount];
    std::memcpy(before, button.m_colors, sizeof(before));

    EXPECT_EQ(CIconButton::BadColorSlot, button.ShiftColor(6, 30, FALSE));
    EXPECT_EQ(CIconButton::BadColorSlot, button.ShiftColor(255, 30, FALSE));
    EXPECT_EQ(CIconButton::OffsetOutOfRange, button.ShiftColor(0, 256, FALSE));
    EXPECT_EQ(CIconButton::OffsetOutOfRange, button.ShiftColor(0, -256, FALSE));
    EXPECT_EQ(0, std::memcmp(before, button.m_colors, sizeof(before)));
    EXPECT_EQ(3, CIconButton::BadColorSlot);
    EXPECT_EQ(5, CIconButton::OffsetOutOfRange);

    EXPECT_EQ(CIconButton::BadShiftMode, button.SetPressShiftMode(2, FALSE));
    EXPECT_EQ(6, CIconButton::BadShiftMode);
    EXPECT_EQ(1, button.m_pressShiftX);
    EXPECT_EQ(1, button.m_pressShiftY);
    EXPECT_EQ(CIconButton::Success, button.SetPressShiftMode(CIconButton::PressShiftDown, FALSE));
    EXPECT_EQ(0, button.m_pressShiftX);
    EXPECT_EQ(2, button.m_pressShiftY);

    EXPECT_EQ(CIconButton::Success, button.ShiftColor(0, 255, FALSE));
    EXPECT_EQ(CIconButton::Success, button.ShiftColor(1, -255, FALSE));
    EXPECT_EQ(RGB(255, 255, 255), button.m_colors[0]);
    EXPECT_EQ(RGB(0, 0, 0), button.m_colors[1]);
    EXPECT_EQ(CIconButton::Success, button.ApplySystemColors(FALSE));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), button.m_colors[0]);
}

TEST(IconButtonConfigTest, CheckStateOnlyInCheckBoxMode)
{
    CIconButtonProbe button;
    EXPECT_EQ(CIconButton::Success, button.SetCheckState(1, FALSE));
    EXPECT_EQ(0, button.GetCheckState());
    button.m_isCheckBox = TRUE;
    button.SetCheckState(7, FALSE);
    EXPECT_EQ(1, button.GetCheckState());
    button.SetCheckState(0, FALSE);
    EXPECT_EQ(0, button.GetCheckState());
}

TEST(IconButtonConfigTest, LinkTargetIsAlwaysTerminated)
{
    CIconButtonProbe button;
    const std::string longText(300, 'a');
    EXPECT_EQ(CIconButton::Success, button.SetLinkTarget(longText.c_str()));
    EXPECT_EQ(std::string(259, 'a'), button.GetLinkTarget());
    button.SetLinkTarget("https://example.org/");
    EXPECT_STREQ("https://example.org/", button.GetLinkTarget());
    button.SetLinkTarget(NULL);
    EXPECT_STREQ("", button.GetLinkTarget());

    // Shift-JIS: 0x82 0xA0 is one character; its lead byte at 258 does not fit
    // with its trail byte, so the text stops before it.
    char dest[CIconButton::LinkTargetSize];
    const std::string split = std::string(258, 'a') + "\x82\xA0" + "bb";
    CIconButton::CopyLinkTarget(dest, split.c_str(), 932);
    EXPECT_EQ(std::string(258, 'a'), dest);
    const std::string fits = std::string(257, 'a') + "\x82\xA0" + "bb";
    CIconButton::CopyLinkTarget(dest, fits.c_str(), 932);
    EXPECT_EQ(fits.substr(0, 259), dest);
    // A lead byte at the very end of the text has no trail byte to keep.
    CIconButton::CopyLinkTarget(dest, "ab\x82", 932);
    EXPECT_STREQ("ab", dest);
    // In a single-byte code page the same bytes are plain characters.
    CIconButton::CopyLinkTarget(dest, split.c_str(), 1252);
    EXPECT_EQ(split.substr(0, 259), dest);
}
}  // namespace
