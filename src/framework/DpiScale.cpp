#include "framework/DpiScale.h"

#include <climits>
#include <cstdint>

namespace ol {

namespace {

// numerator * multiplier / divisor rounded half away from zero, within int (divisor > 0).
int MulDivRounded(int value, int multiplier, int divisor) {
  const std::int64_t product = static_cast<std::int64_t>(value) * multiplier;
  const std::int64_t half = divisor / 2;
  const std::int64_t quotient = product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
  if (quotient > INT_MAX) return INT_MAX;
  if (quotient < INT_MIN) return INT_MIN;
  return static_cast<int>(quotient);
}

int ValidDpi(int dpi) { return dpi > 0 ? dpi : kDefaultDpi; }

}  // namespace

int ScaleForDpi(int value, int dpi) { return MulDivRounded(value, ValidDpi(dpi), kDefaultDpi); }

int UnscaleForDpi(int pixels, int dpi) { return MulDivRounded(pixels, kDefaultDpi, ValidDpi(dpi)); }

int PickDrawnSize(int wanted, std::span<const int> drawn) {
  if (drawn.empty()) return wanted;
  int picked = drawn.front();
  for (int size : drawn) {
    if (size <= wanted) picked = size;
  }
  return picked;
}

}  // namespace ol
