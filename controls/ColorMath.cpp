#include "controls/ColorMath.h"

namespace {
// BT.601 luma weights.
constexpr double kRedWeight = 0.299;
constexpr double kGreenWeight = 0.587;
constexpr double kBlueWeight = 0.114;

int Red(COLORREF c)
{
    return (int)(c & 0xFF);
}
int Green(COLORREF c)
{
    return (int)((c >> 8) & 0xFF);
}
int Blue(COLORREF c)
{
    return (int)((c >> 16) & 0xFF);
}

COLORREF MakeColor(unsigned r, unsigned g, unsigned b)
{
    return (COLORREF)((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Truncates toward zero and keeps the low byte; v is always within 0..255 here.
unsigned LowByte(double v)
{
    return (unsigned)(long long)v & 0xFF;
}
}  // namespace

namespace ColorMath {
COLORREF ShiftColor(COLORREF color, int offset)
{
    const int r = Red(color), g = Green(color), b = Blue(color);
    int d = offset;
    if (offset > 0) {
        // The brightest channel limits a brightening shift.
        if (255 - r < d)
            d = 255 - r;
        if (255 - g < d)
            d = 255 - g;
        if (255 - b < d)
            d = 255 - b;
    } else {
        // The darkest channel limits a darkening one.
        if (-r > d)
            d = -r;
        if (-g > d)
            d = -g;
        if (-b > d)
            d = -b;
    }
    return MakeColor((unsigned)(r + d), (unsigned)(g + d), (unsigned)(b + d));
}

BYTE GrayLevel(COLORREF color)
{
    const double v = (Green(color) * kGreenWeight + Red(color) * kRedWeight) + Blue(color) * kBlueWeight;
    return (BYTE)LowByte(v);
}

COLORREF GrayPixel(COLORREF color)
{
    if (color == 0)
        return 0;
    const unsigned g = GrayLevel(color);
    return MakeColor(g, g, g);
}

COLORREF DimColor(COLORREF color, double fraction)
{
    // Written so that a NaN fails the first test.
    if (!(fraction > 0.0) || fraction > 1.0)
        return color;
    auto dim = [fraction](int v) { return LowByte(v - v * fraction); };
    return MakeColor(dim(Red(color)), dim(Green(color)), dim(Blue(color)));
}

COLORREF DarkPixel(COLORREF color)
{
    if (color == 0)
        return 0;
    return DimColor(color, DarkFraction);
}
}  // namespace ColorMath
