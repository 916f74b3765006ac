#include "listview/ItemsOnScreen.h"

#include <commctrl.h>

#include <algorithm>

namespace ol {

namespace {

// The first item in [low, count) for which `past` holds, where it holds for every item after
// one for which it holds.
template <typename Predicate>
int FirstWhere(int low, int count, Predicate past) {
  int high = count;
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (past(middle)) high = middle; else low = middle + 1;
  }
  return low;
}

RECT Bounds(HWND list, int item) {
  RECT rect{};
  ListView_GetItemRect(list, item, &rect, LVIR_BOUNDS);
  return rect;
}

}  // namespace

ItemRange ItemsOnScreen(const CListCtrl& list) {
  const int count = list.GetItemCount();
  HWND hwnd = list.GetSafeHwnd();
  if (count == 0) return {-1, -2};
  const DWORD mode = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)) & LVS_TYPEMASK;
  if (mode == LVS_REPORT) {
    // A partly shown row is not counted in a page: one more item is.
    const int top = ListView_GetTopIndex(hwnd);
    return {top, std::min(count - 1, top + ListView_GetCountPerPage(hwnd))};
  }
  RECT client{};
  ::GetClientRect(hwnd, &client);
  int first = 0;
  int end = 0;
  if (mode == LVS_LIST) {
    // Columns of one width, filled top to bottom, left to right: the items' left edges grow
    // in list order, and a column partly shown at either side counts.
    first = FirstWhere(0, count, [&](int item) { return Bounds(hwnd, item).right > client.left; });
    end = FirstWhere(first, count, [&](int item) { return Bounds(hwnd, item).left >= client.right; });
  } else {
    // Rows filled left to right in list order: the items' tops grow, row by row. Their bottoms
    // do not (a label may wrap to more lines than its neighbours'), so a row is taken to be as
    // high as the spacing between rows.
    const int rowHeight = HIWORD(ListView_GetItemSpacing(hwnd, mode == LVS_SMALLICON));
    first = FirstWhere(0, count, [&](int item) { return Bounds(hwnd, item).top + rowHeight > client.top; });
    end = FirstWhere(first, count, [&](int item) { return Bounds(hwnd, item).top >= client.bottom; });
  }
  return first < end ? ItemRange{first, end - 1} : ItemRange{-1, -2};
}

}  // namespace ol
