#include "listview/ListLayout.h"

#include "framework/DpiScale.h"
#include "util/PathText.h"

namespace ol {

ColumnWidths SplitColumns(int clientWidth, int scrollBarWidth) {
  const int usable = clientWidth - scrollBarWidth;
  const int name = (usable / 10) * 4;
  return {name, usable - name};
}

int ListColumnWidth(int widestLabel, int dpi) { return widestLabel + ScaleForDpi(32, dpi); }

std::string ShortcutCountText(int count) {
  return "\t\t" + CountText(count) + (count == 1 ? " Shortcut" : " Shortcuts");
}

}  // namespace ol
