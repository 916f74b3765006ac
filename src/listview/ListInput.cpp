// The list's mouse, keyboard, context menu and in-place label editing.
#include "app/MainFrame.h"
#include "catalogue/CatalogueList.h"
#include "listview/OrbelslaunchView.h"
#include "res/resource.h"

int COrbelslaunchView::SelectedItem() const { return m_pList ? m_list.GetSelectedItem() : -1; }

ol::CShortcut* COrbelslaunchView::SelectedRecord() const {
  const int item = SelectedItem();
  return item < 0 ? nullptr : ol::RecordAt(m_list, item);
}

// Both clicks act on the selected item, not on the point clicked: with hover selection the
// item under the pointer is already selected when the click arrives.
LRESULT COrbelslaunchView::OnClick(NMHDR*) {
  if (SelectedItem() >= 0 && m_nMouseSelection == 0) OnLaunchShortcut();
  return 0;
}

LRESULT COrbelslaunchView::OnDblClick(NMHDR*) {
  if (SelectedItem() >= 0 && m_nMouseSelection == 1) OnLaunchShortcut();
  return 0;
}

LRESULT COrbelslaunchView::OnRightClick(NMHDR*) {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ol::UniqueMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
  CMainFrame* frame = MainFrame();
  if (menu && frame != nullptr) {
    // Owned by the frame, so its items are updated and its commands routed like the menu bar's.
    ::TrackPopupMenu(::GetSubMenu(menu.Get(), 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0,
                     frame->m_hWnd, nullptr);
  }
  return 0;
}

LRESULT COrbelslaunchView::OnListKeyDown(NMHDR* header) {
  const auto* key = reinterpret_cast<NMLVKEYDOWN*>(header);
  if (key->wVKey == VK_RETURN) {
    OnLaunchShortcut();
  } else if (key->wVKey == VK_DELETE) {
    OnDelete();
  }
  return 0;
}

LRESULT COrbelslaunchView::OnSysKeyDown(WPARAM wParam, LPARAM lParam) {
  if (wParam == VK_RETURN) {
    OnProperties();
    return 0;
  }
  return DefWindowProc(WM_SYSKEYDOWN, wParam, lParam);
}

LRESULT COrbelslaunchView::OnBeginLabelEdit(NMHDR*) { return 0; }

LRESULT COrbelslaunchView::OnEndLabelEdit(NMHDR* header) {
  const auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
  if (info->item.pszText == nullptr) return 0;  // cancelled
  ol::CShortcut* record = ol::RecordAt(m_list, info->item.iItem);
  if (record == nullptr) return 0;
  record->m_strName = info->item.pszText;
  return 1;  // the list keeps the new label; no sorting until the next sort
}
