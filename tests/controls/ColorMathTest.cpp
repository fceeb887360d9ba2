#include "controls/ColorMath.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
COLORREF Rgb(int r, int g, int b)
{
    return RGB(r, g, b);
}

struct ShiftCase {
    COLORREF from;
    int offset;
    COLORREF to;
};

TEST(ColorMathTest, ShiftMovesAllChannelsByTheSameClampedAmount)
{
    const ShiftCase cases[] = {
        {Rgb(212, 208, 200), 30, Rgb(242, 238, 230)},
        {Rgb(236, 233, 216), 30, Rgb(255, 252, 235)},  // red limits the shift to 19
        {Rgb(240, 240, 240), 30, Rgb(255, 255, 255)},
        {Rgb(255, 255, 255), 30, Rgb(255, 255, 255)},
        {Rgb(20, 100, 200), -30, Rgb(0, 80, 180)},  // red limits the shift to -20
        {Rgb(20, 100, 200), 0, Rgb(20, 100, 200)},
        {Rgb(0, 0, 0), -30, Rgb(0, 0, 0)},
        {Rgb(0, 0, 0), 255, Rgb(255, 255, 255)},
        {Rgb(255, 255, 255), -255, Rgb(0, 0, 0)},
        {Rgb(10, 0, 250), 255, Rgb(15, 5, 255)},
        {Rgb(10, 128, 250), -255, Rgb(0, 118, 240)},
    };
    for (const ShiftCase& c : cases)
        EXPECT_EQ(c.to, ColorMath::ShiftColor(c.from, c.offset))
            << std::hex << "from 0x" << c.from << " by " << std::dec << c.offset;
}

TEST(ColorMathTest, ShiftClearsTheFourthByte)
{
    EXPECT_EQ(Rgb(11, 21, 31), ColorMath::ShiftColor(0x7F000000u | Rgb(10, 20, 30), 1));
    EXPECT_EQ(Rgb(10, 20, 30), ColorMath::ShiftColor(0x01000000u | Rgb(10, 20, 30), 0));
}

TEST(ColorMathTest, GrayLevelUsesTruncatedLuma)
{
    const struct {
        COLORREF color;
        int gray;
    } cases[] = {
        {Rgb(255, 255, 255), 255}, {Rgb(128, 128, 128), 127},  // the double sum lies just below 128
        {Rgb(255, 0, 0), 76},      {Rgb(0, 255, 0), 149},     {Rgb(0, 0, 255), 29},
        {Rgb(200, 100, 50), 124},  {Rgb(1, 1, 1), 0},         {Rgb(0, 0, 0), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.gray, ColorMath::GrayLevel(c.color)) << std::hex << "0x" << c.color;
        const COLORREF gray = c.color ? Rgb(c.gray, c.gray, c.gray) : 0;
        EXPECT_EQ(gray, ColorMath::GrayPixel(c.color)) << std::hex << "0x" << c.color;
    }
}

TEST(ColorMathTest, DimColorTakesAQuarterOffEachChannel)
{
    EXPECT_EQ(Rgb(191, 96, 150), ColorMath::DimColor(Rgb(255, 128, 200), 0.25));
    EXPECT_EQ(Rgb(2, 0, 0), ColorMath::DimColor(Rgb(3, 1, 0), 0.25));
    EXPECT_EQ(Rgb(191, 96, 150), ColorMath::DarkPixel(Rgb(255, 128, 200)));
    EXPECT_EQ(Rgb(2, 0, 191), ColorMath::DarkPixel(Rgb(3, 1, 255)));
    EXPECT_EQ(0u, ColorMath::DarkPixel(0));
}

TEST(ColorMathTest, DimColorOutsideTheUnitIntervalIsUnchanged)
{
    const COLORREF c = 0x00C08040;
    const double unchanged[] = {0.0,
                                -0.25,
                                -1.0,
                                1.0000001,
                                2.0,
                                std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity()};
    for (double f : unchanged)
        EXPECT_EQ(c, ColorMath::DimColor(c, f)) << f;
    EXPECT_EQ(0u, ColorMath::DimColor(c, 1.0));
    EXPECT_EQ(Rgb(63, 126, 190), ColorMath::DimColor(c, 0.01));
}
}  // namespace
