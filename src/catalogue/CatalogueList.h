// The catalogue as the list control holds it: one item per shortcut, the record attached as
// the item's data value, the item order being the catalogue order.
#pragma once

#include <windows.h>

#include "catalogue/Shortcut.h"
#include "framework/ListCtrl.h"

namespace ol {

// LVM_SORTITEMS callback: the two items' records in catalogue order (the parameter is unused).
int CALLBACK CompareShortcuts(LPARAM first, LPARAM second, LPARAM unused);

CShortcut* RecordAt(const CListCtrl& list, int index);
// The position of the item that holds `record`; -1 when none does.
int FindRecordItem(const CListCtrl& list, const CShortcut* record);

// Appends an item for `record` (label = name, image = icon index, column 1 = target) and
// attaches the record; returns the item's position.
int InsertShortcutItem(const CListCtrl& list, int index, CShortcut* record);

void SortCatalogue(const CListCtrl& list);

// Many items added in one go: the list neither repaints nor arranges its icons until the
// object goes, then does both once.
class CListBatch {
 public:
  explicit CListBatch(const CListCtrl& list);
  ~CListBatch();
  CListBatch(const CListBatch&) = delete;
  CListBatch& operator=(const CListBatch&) = delete;

 private:
  const CListCtrl& m_list;
  LONG m_style;
};

// Removes every item and destroys its record.
void RemoveAllShortcuts(const CListCtrl& list);

}  // namespace ol
