#include "framework/DpiScale.h"

#include <gtest/gtest.h>

#include <climits>

using namespace ol;

TEST(DpiScale, ScalesAsMulDivRoundsAndBack) {
  struct Row {
    int value;
    int dpi;
    int scaled;
  };
  // The frame's 450 x 300 at each common scale, and figures whose product ends in a half.
  const Row rows[] = {
      {450, 96, 450},  {300, 96, 300},   {450, 120, 563}, {300, 120, 375},  {450, 144, 675},
      {300, 144, 450}, {450, 168, 788},  {300, 168, 525}, {450, 192, 900},  {300, 192, 600},
      {17, 144, 26},   {-3, 144, -5},    {330, 120, 413}, {250, 168, 438},  {-32000, 120, -40000},
      {7, 0, 7},       {INT_MAX, 192, INT_MAX},           {INT_MIN, 192, INT_MIN},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ScaleForDpi(row.value, row.dpi), row.scaled) << row.value << " at " << row.dpi;
  }
  EXPECT_EQ(UnscaleForDpi(563, 120), 450);
  EXPECT_EQ(UnscaleForDpi(451, 144), 301);  // 300.67
  EXPECT_EQ(UnscaleForDpi(-5, 144), -3);    // -3.33
  EXPECT_EQ(UnscaleForDpi(789, 168), 451);  // 450.86
  // What is stored reads back as what was shown, at every scale.
  for (int dpi : {120, 144, 168, 192}) {
    for (int value : {0, 1, 10, 329, 450, 1001}) EXPECT_EQ(UnscaleForDpi(ScaleForDpi(value, dpi), dpi), value);
  }
}

TEST(DpiScale, APictureIsNeverEnlarged) {
  const int strips[] = {16, 20, 24, 28, 32};
  EXPECT_EQ(PickDrawnSize(16, strips), 16);
  EXPECT_EQ(PickDrawnSize(18, strips), 16);  // 108 DPI
  EXPECT_EQ(PickDrawnSize(24, strips), 24);
  EXPECT_EQ(PickDrawnSize(31, strips), 28);
  EXPECT_EQ(PickDrawnSize(40, strips), 32);  // beyond the largest drawn
  EXPECT_EQ(PickDrawnSize(12, strips), 16);  // below the smallest
}
