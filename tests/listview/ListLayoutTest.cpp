#include "listview/ListLayout.h"

#include <gtest/gtest.h>

using namespace ol;

TEST(ColumnSplit, NameTakesFourTenthsInWholeTenths) {
  const ColumnWidths widths = SplitColumns(417, 17);
  EXPECT_EQ(widths.name, 160);
  EXPECT_EQ(widths.path, 240);
  const ColumnWidths odd = SplitColumns(436, 17);  // 419 usable: 41 tenths
  EXPECT_EQ(odd.name, 164);
  EXPECT_EQ(odd.path, 255);
  const ColumnWidths tiny = SplitColumns(10, 17);  // narrower than the scroll bar
  EXPECT_EQ(tiny.name, 0);
  EXPECT_EQ(tiny.path, -7);
}

TEST(ListColumn, WidestLabelPlus32ScaledToTheDpi) {
  EXPECT_EQ(ListColumnWidth(90, 96), 122);
  EXPECT_EQ(ListColumnWidth(0, 96), 32);
  EXPECT_EQ(ListColumnWidth(90, 120), 130);
  EXPECT_EQ(ListColumnWidth(135, 144), 183);
  EXPECT_EQ(ListColumnWidth(180, 192), 244);
}

TEST(CountText, OneShortcutOtherwiseShortcuts) {
  EXPECT_EQ(ShortcutCountText(0), "\t\t0 Shortcuts");
  EXPECT_EQ(ShortcutCountText(1), "\t\t1 Shortcut");
  EXPECT_EQ(ShortcutCountText(2), "\t\t2 Shortcuts");
  EXPECT_EQ(ShortcutCountText(1000), "\t\t1000 Shortcuts");
  EXPECT_EQ(ShortcutCountText(10000), "\t\t10000 Shortcuts");
}
