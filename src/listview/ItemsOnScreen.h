// Which items of the list have some part on screen, quickly whatever the number of items and in
// every view mode: the icons still to come there are fetched first.
#pragma once

#include "framework/ListCtrl.h"

namespace ol {

// First and last, or -1 and -2 for none.
struct ItemRange {
  int first;
  int last;
};
ItemRange ItemsOnScreen(const CListCtrl& list);

}  // namespace ol
