#include "framework/ListView.h"

const MessageMap* CListView::GetThisMessageMap() {
  static const MessageMap map{&CView::GetThisMessageMap, {}};
  return &map;
}
