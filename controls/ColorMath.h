#pragma once

#include "framework/WinTypes.h"

// Colour arithmetic of the icon button: shifting a colour slot, and the per-pixel
// transforms behind its greyscale and darker idle icons. Needs no window system.
namespace ColorMath {
// Moves all three channels of colour by the same amount, as far as offset allows
// without any channel leaving 0..255 (the first channel to reach its limit stops
// the shift). The fourth byte of the result is 0.
COLORREF ShiftColor(COLORREF color, int offset);

// The luma of one pixel with the BT.601 weights, summed in double in the order
// green, red, blue and truncated; the low byte of the integer is kept.
BYTE GrayLevel(COLORREF color);

// One pixel of the greyscale idle icon: black stays black, anything else becomes
// the grey of its GrayLevel.
COLORREF GrayPixel(COLORREF color);

// Each channel becomes v - v * fraction, truncated. A fraction that is not in
// (0, 1] (NaN included) leaves the colour unchanged.
COLORREF DimColor(COLORREF color, double fraction);

// The fraction the darker idle icon is dimmed by.
inline constexpr double DarkFraction = 0.25;

// One pixel of the darker idle icon: black stays black, anything else is dimmed
// by DarkFraction.
COLORREF DarkPixel(COLORREF color);
}  // namespace ColorMath
