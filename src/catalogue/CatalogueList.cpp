#include "catalogue/CatalogueList.h"

#include <vector>

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

int FindRecordItem(const CListCtrl& list, const CShortcut* record) {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = reinterpret_cast<LPARAM>(record);
  return static_cast<int>(::SendMessageA(list.GetSafeHwnd(), LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(&find)));
}

int InsertShortcutItem(const CListCtrl& list, int index, CShortcut* record) {
  // Label, image and record in one step, then the path column.
  const int position = list.InsertItem(index, record->m_strName, record->m_nIconIndex, reinterpret_cast<LPARAM>(record));
  if (position < 0) return position;
  list.SetItemText(position, 1, record->m_strTarget);
  return position;
}

void SortCatalogue(const CListCtrl& list) { list.SortItems(CompareShortcuts, 0); }

CListBatch::CListBatch(const CListCtrl& list)
    : m_list(list), m_style(::GetWindowLongA(list.GetSafeHwnd(), GWL_STYLE)) {
  if (m_style & LVS_AUTOARRANGE) ::SetWindowLongA(m_list.GetSafeHwnd(), GWL_STYLE, m_style & ~LVS_AUTOARRANGE);
  m_list.SetRedraw(false);
}

CListBatch::~CListBatch() {
  if (m_style & LVS_AUTOARRANGE) {
    ::SetWindowLongA(m_list.GetSafeHwnd(), GWL_STYLE, m_style);
    ::SendMessageA(m_list.GetSafeHwnd(), LVM_ARRANGE, LVA_DEFAULT, 0);
  }
  m_list.SetRedraw(true);
}

void RemoveAllShortcuts(const CListCtrl& list) {
  // Records first gathered, then the items removed in one step, then the records destroyed:
  // no item ever points at a destroyed record, and no item is touched one by one.
  std::vector<CShortcut*> records;
  records.reserve(static_cast<std::size_t>(list.GetItemCount()));
  for (int i = 0; i < list.GetItemCount(); ++i) {
    if (CShortcut* record = RecordAt(list, i)) records.push_back(record);
  }
  list.DeleteAllItems();
  for (CShortcut* record : records) DeleteShortcutRecord(record);
}

}  // namespace ol
