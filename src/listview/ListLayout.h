// Column widths and the status-bar count of the shortcut list. Portable.
#pragma once

#include <string>

namespace ol {

// Details columns: the name takes 40 per cent of the usable width (in whole tenths), the path
// the rest. The usable width is the client width less a vertical scroll bar.
struct ColumnWidths {
  int name;
  int path;
};
ColumnWidths SplitColumns(int clientWidth, int scrollBarWidth);

// List mode: the widest label plus 32 pixels at 96 DPI, scaled to `dpi` (just that for an
// empty list).
int ListColumnWidth(int widestLabel, int dpi);

// "\t\t" (right-aligned in its pane), the count, then " Shortcut" for exactly 1, else " Shortcuts".
std::string ShortcutCountText(int count);

}  // namespace ol
