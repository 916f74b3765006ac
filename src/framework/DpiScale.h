// Pixel figures for a display's DPI. Every pixel figure of the program is a figure at 96 DPI
// (100 % scaling) scaled to the DPI of the window it is used in; what the program stores stays
// at 96 DPI. Portable.
#pragma once

#include <span>

namespace ol {

inline constexpr int kDefaultDpi = 96;

// value * dpi / 96, rounded half away from zero as MulDiv rounds, kept within int. A DPI of 0
// or less (a failed query) counts as 96.
int ScaleForDpi(int value, int dpi);

// The other way: pixels at `dpi` back to a 96-DPI figure, rounded the same way.
int UnscaleForDpi(int pixels, int dpi);

// Of the sizes a picture was drawn at (ascending), the one to show where `wanted` pixels are
// asked for: the largest that is not larger, so a picture is never enlarged; the smallest
// when all are larger.
int PickDrawnSize(int wanted, std::span<const int> drawn);

}  // namespace ol
