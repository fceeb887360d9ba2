#include "settings/WindowRecord.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {
// Lead bytes of Shift-JIS (code page 932), so the double-byte rules are exercised on every host.
BOOL ShiftJisLeadByte(BYTE nByte)
{
    return (nByte >= 0x81 && nByte <= 0x9F) || (nByte >= 0xE0 && nByte <= 0xFC);
}

struct StateCase {
    UINT nPlacementShowCmd, nNormalShowCmd;
    UINT nShowCmd;
};

struct ParseCase {
    const char* pszText;
    UINT nFlags, nShowCmd;
    LONG nLeft, nTop;
};

std::vector<std::string> Tokens(std::string strText, PFN_IS_LEAD_BYTE pfnIsLeadByte, int nMax = 8)
{
    std::vector<char*> apsz((size_t)nMax, nullptr);
    int n = CWindowRecord::Tokenize(strText.data(), apsz.data(), nMax, pfnIsLeadByte);
    return std::vector<std::string>(apsz.begin(), apsz.begin() + n);
}

std::string Copied(const std::string& strSrc, size_t nDestSize, PFN_IS_LEAD_BYTE pfnIsLeadByte)
{
    std::vector<char> buffer(nDestSize + 1, 'X');
    CWindowRecord::CopyWhole(buffer.data(), nDestSize, strSrc.c_str(), pfnIsLeadByte);
    EXPECT_EQ(buffer[nDestSize], 'X') << "wrote past the buffer";
    return buffer.data();
}
}  // namespace

TEST(WindowRecord, EveryStateIsStoredAsNormal)
{
    const StateCase cases[] = {
        {1, 5, 5}, {1, 9, 9},  // normal: the caller's normal show command
        {3, 5, 1},             // maximised: SW_SHOWNORMAL
        {2, 5, 1},             // minimised
        {0, 5, 1}, {7, 5, 1},  // anything else
    };
    for (const StateCase& c : cases) {
        CWindowRecord record;
        record.m_nFlags = 2;  // a restore to maximised, as an earlier record may have held
        record.SetState(c.nPlacementShowCmd, c.nNormalShowCmd);
        EXPECT_EQ(record.m_nFlags, 0u) << c.nPlacementShowCmd;
        EXPECT_EQ(record.m_nShowCmd, c.nShowCmd) << c.nPlacementShowCmd;
    }
}

TEST(WindowRecord, FormatWritesSixUnsignedNumbers)
{
    char szText[CWindowRecord::TEXT_SIZE];
    CWindowRecord record;
    record.m_nFlags = 0;
    record.m_nShowCmd = 5;
    record.m_nLeft = -10;
    record.m_nTop = 400;
    record.m_nRight = 180;
    record.m_nBottom = 454;
    record.Format(szText);
    EXPECT_STREQ(szText, "0,5,4294967286,400,180,454");

    // The widest record fits whole.
    record.m_nFlags = record.m_nShowCmd = UINT_MAX;
    record.m_nLeft = record.m_nTop = record.m_nRight = record.m_nBottom = -1;
    record.Format(szText);
    EXPECT_STREQ(szText, "4294967295,4294967295,4294967295,4294967295,4294967295,4294967295");
}

TEST(WindowRecord, ParseReadsFourFieldsWithRangeRule)
{
    const ParseCase cases[] = {
        {CWindowRecord::DEFAULT_TEXT, 0, 1, 400, 400},
        {"", 0, 0, 0, 0},
        {"100,200", 100, 200, 0, 0},
        {"0,1,-50,20", 0, 1, -50, 20},
        // Negative coordinates stored in their unsigned form read back as negative.
        {"0,1,4294967246,20", 0, 1, -50, 20},
        {"0,1,4294959296,4294959295", 0, 1, -8000, 400},
        {"0,1,9000,-9000", 0, 1, 400, 400},
        {"0,1,8000,-8000", 0, 1, 8000, -8000},
        {"0,1,8001,-8001", 0, 1, 400, 400},
        {"0,1,2147483647,2147483648", 0, 1, 400, 400},
        {"0,1,-2147483648,-2147483649", 0, 1, 400, 400},
        {"0,1,4294967296,99999999999999999999999", 0, 1, 400, 400},
        {"0,1,-4294967246,4294967295", 0, 1, 400, -1},
        // Separators: runs count as one, CR and LF split too, leading ones are skipped.
        {",,0,,1,\r\n-50\r\n20\n", 0, 1, -50, 20},
        {"1,2,3,4,5,6,7,8", 1, 2, 3, 4},
        // Numbers as atoi reads them: white space and sign first, junk after ends them.
        {"  +7, \t-3,  12abc, x5", 7, 4294967293u, 12, 0},
        {"- 5,+-5,5-,--5", 0, 0, 5, 0},
        {"abc,def,ghi,jkl", 0, 0, 0, 0},
        // Flags and show command keep the low 32 bits of numbers too large for them.
        {"4294967298,99999999999,1,2", 2, 1215752191u, 1, 2},
        {"-1,-2147483648,3,4", 4294967295u, 2147483648u, 3, 4},
        {"-4294967297,123456789012345678901234567890,0,0", 4294967295u, 1312754386u, 0, 0},
    };
    for (const ParseCase& c : cases) {
        CWindowRecord record;
        record.Parse(c.pszText, nullptr);
        EXPECT_EQ(record.m_nFlags, c.nFlags) << '"' << c.pszText << '"';
        EXPECT_EQ(record.m_nShowCmd, c.nShowCmd) << '"' << c.pszText << '"';
        EXPECT_EQ(record.m_nLeft, c.nLeft) << '"' << c.pszText << '"';
        EXPECT_EQ(record.m_nTop, c.nTop) << '"' << c.pszText << '"';
    }
}

TEST(WindowRecord, FormattedNegativePositionReadsBack)
{
    for (LONG nCoordinate : {-8000, -50, -1, 0, 1, 8000}) {
        CWindowRecord saved;
        saved.m_nLeft = nCoordinate;
        saved.m_nTop = -nCoordinate;
        char szText[CWindowRecord::TEXT_SIZE];
        saved.Format(szText);
        CWindowRecord restored;
        restored.Parse(szText);
        EXPECT_EQ(restored.m_nLeft, nCoordinate) << szText;
        EXPECT_EQ(restored.m_nTop, -nCoordinate) << szText;
    }
}

TEST(WindowRecord, OnlyFirst199BytesOfStoredTextCount)
{
    // The top field straddles the cut: "0...01" within 199 bytes, "0...0123333..." in full.
    std::string strText = "0,1,7," + std::string(192, '0') + "12" + std::string(100, '3');
    ASSERT_EQ(strText.size(), 300u);
    CWindowRecord record;
    record.Parse(strText.c_str(), nullptr);
    EXPECT_EQ(record.m_nLeft, 7);
    EXPECT_EQ(record.m_nTop, 1);
}

TEST(WindowRecord, CopyNeverSplitsADoubleByteCharacter)
{
    const std::string strKana = "\x82\xA0";
    // Lead byte at the last place: dropped with its trail byte.
    EXPECT_EQ(Copied(std::string(198, 'a') + strKana + "zz", 200, ShiftJisLeadByte), std::string(198, 'a'));
    // Without double-byte rules the cut falls after 199 bytes, whatever they are.
    EXPECT_EQ(Copied(std::string(198, 'a') + strKana + "zz", 200, nullptr), std::string(198, 'a') + "\x82");
    // A whole character that ends at the last place is kept.
    EXPECT_EQ(Copied(std::string(197, 'a') + strKana + "zz", 200, ShiftJisLeadByte),
              std::string(197, 'a') + strKana);
    // A lead byte that ends the text has no trail byte and is dropped.
    EXPECT_EQ(Copied("12\x82", 200, ShiftJisLeadByte), "12");
    EXPECT_EQ(Copied("abc", 1, ShiftJisLeadByte), "");
    EXPECT_EQ(Copied("abc", 3, ShiftJisLeadByte), "ab");
}

TEST(WindowRecord, TokenizeTreatsTrailBytesAsText)
{
    using V = std::vector<std::string>;
    // After a lead byte a separator byte is the second half of a character.
    EXPECT_EQ(Tokens("\x81,x,\r\n\x82\ny", ShiftJisLeadByte), (V{"\x81,x", "\x82\ny"}));
    EXPECT_EQ(Tokens("\x81,x,\r\n\x82\ny", nullptr), (V{"\x81", "x", "\x82", "y"}));
    EXPECT_EQ(Tokens("5\x81", ShiftJisLeadByte), (V{"5\x81"}));
    EXPECT_EQ(Tokens(",,\r\n", ShiftJisLeadByte), V{});
    EXPECT_EQ(Tokens("1,2,3,4,5", ShiftJisLeadByte, 3), (V{"1", "2", "3"}));
}

TEST(WindowRecord, SizeSetsRightAndBottom)
{
    CWindowRecord record;
    record.m_nLeft = -50;
    record.m_nTop = 400;
    record.SetSize(196, 54);
    EXPECT_EQ(record.m_nRight, 146);
    EXPECT_EQ(record.m_nBottom, 454);
    // Wraps like the 32-bit sum it stands for instead of overflowing.
    record.m_nLeft = 8000;
    record.SetSize(INT_MAX, 0);
    EXPECT_EQ(record.m_nRight, INT_MIN + 7999);
}

TEST(WindowRecord, MostlyHiddenWindowIsMovedTheShortestWayIntoTheWorkArea)
{
    using R = CWindowRecord::Rect;
    const R screen = {0, 0, 1280, 800};
    const R shifted = {-1280, 40, 0, 1064};  // a monitor left of the primary, taskbar on top
    const struct {
        R rcWindow, rcWork;
        LONG nLeft, nTop;
    } cases[] = {
        // The 230 x 65 window on 1280 x 800.
        {{1276, 796, 1506, 861}, screen, 1050, 735},
        {{-229, -64, 1, 1}, screen, 0, 0},
        {{1200, 20, 1430, 85}, screen, 1050, 20},
        {{-50, 20, 180, 85}, screen, -50, 20},  // more than half inside: left alone
        {{400, 400, 630, 465}, screen, 400, 400},
        // Exactly half inside stays; one pixel less moves.
        {{1165, 20, 1395, 85}, screen, 1165, 20},
        {{1166, 20, 1396, 85}, screen, 1050, 20},
        {{100, -32, 330, 33}, screen, 100, -32},  // 33 of 65 rows inside
        {{100, -33, 330, 32}, screen, 100, 0},
        {{-200, 1040, 30, 1105}, shifted, -230, 999},
        {{-100, 100, 130, 165}, shifted, -230, 100},
        // Larger than the work area: top-left to the work area's top-left, unless half inside.
        {{5000, 5000, 7000, 7000}, shifted, -1280, 40},
        {{-1500, 0, 500, 2000}, shifted, -1500, 0},
        // Any 32-bit rectangle, empty or not, without overflow.
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, screen, 0, 0},
        {{INT_MAX, INT_MAX, INT_MIN, INT_MIN}, screen, INT_MAX, INT_MAX},
        {{INT_MAX - 10, 0, INT_MAX, 10}, screen, 1270, 0},
    };
    for (const auto& c : cases) {
        CWindowRecord::Point pt = CWindowRecord::KeepInWorkArea(c.rcWindow, c.rcWork);
        EXPECT_EQ(pt.x, c.nLeft) << c.rcWindow.left << "," << c.rcWindow.top;
        EXPECT_EQ(pt.y, c.nTop) << c.rcWindow.left << "," << c.rcWindow.top;
    }
}
