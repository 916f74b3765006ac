#include "catalogue/CatalogueList.h"

namespace ol {

int CALLBACK CompareShortcuts(LPARAM first, LPARAM second, LPARAM /*unused*/) {
  const auto* a = reinterpret_cast<const CShortcut*>(first);
  const auto* b = reinterpret_cast<const CShortcut*>(second);
  if (a == nullptr || b == nullptr) return a == b ? 0 : (a == nullptr ? -1 : 1);
  return CompareShortcutNames(*a, *b);
}

CShortcut* RecordAt(const CListCtrl& list, int index) {
  return reinterpret_cast<CShortcut*>(list.GetItemData(index));
}

int InsertShortcutItem(const CListCtrl& list, int index, CShortcut* record) {
  // Label, image and record in one step, then the path column.
  const int position = list.InsertItem(index, record->m_strName, record->m_nIconIndex, reinterpret_cast<LPARAM>(record));
  if (position < 0) return position;
  list.SetItemText(position, 1, record->m_strTarget);
  return position;
}

void SortCatalogue(const CListCtrl& list) { list.SortItems(CompareShortcuts, 0); }

void FreeAllRecords(const CListCtrl& list) {
  for (int i = 0; i < list.GetItemCount(); ++i) {
    CShortcut* record = RecordAt(list, i);
    if (record == nullptr) continue;
    DeleteShortcutRecord(record);
    list.SetItemData(i, 0);
  }
}

}  // namespace ol
