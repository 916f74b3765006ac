#include "catalogue/DataFile.h"

#include <unordered_map>
#include <vector>

#include "catalogue/CatalogueList.h"
#include "catalogue/DataFileFormat.h"
#include "catalogue/ShortcutIcons.h"
#include "util/AtomicFile.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

void ShowError(HWND owner, std::string_view text, std::string_view title) {
  ::MessageBoxA(owner, std::string(text).c_str(), std::string(title).c_str(), MB_ICONHAND | MB_OK);
}

// Gives every record its icon index as if each program had been extracted and appended one
// by one, but extracts each distinct target once and hands the images to the lists in strips.
void AssignIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small) {
  std::unordered_map<std::string, TargetIcons> iconsByTarget;
  std::vector<HICON> largeIcons;
  std::vector<HICON> smallIcons;
  const int first = large.GetImageCount();
  for (CShortcut& record : records) {
    if (!record.IsProgram()) {
      record.m_nIconIndex = kIconFolder;
      continue;
    }
    auto found = iconsByTarget.find(record.m_strTarget);
    if (found == iconsByTarget.end()) {
      found = iconsByTarget.emplace(record.m_strTarget, ExtractTargetIcons(record.m_strTarget)).first;
    }
    const TargetIcons& icons = found->second;
    if (!icons.Any()) {
      record.m_nIconIndex = kIconNone;
      continue;
    }
    record.m_nIconIndex = first + static_cast<int>(largeIcons.size());
    largeIcons.push_back(icons.LargeOrSmall());
    smallIcons.push_back(icons.SmallOrLarge());
  }
  if (first != small.GetImageCount()) {
    // The lists are out of step: append one by one, each record keeping the large list's position.
    std::size_t next = 0;
    for (CShortcut& record : records) {
      if (record.IsProgram() && record.m_nIconIndex >= first) {
        record.m_nIconIndex = large.Add(largeIcons[next]);
        small.Add(smallIcons[next++]);
      }
    }
    return;
  }
  AppendIconsInOrder(large, largeIcons);
  AppendIconsInOrder(small, smallIcons);
}

}  // namespace

CDataFile::CDataFile() : m_strPath(GetLauncherDirectory() + "\\" + std::string(kDataFileName)) {}

void CDataFile::LoadShortcuts(const CListCtrl& list, CImageList& large, CImageList& small, HWND owner) {
  if (!PathExists(m_strPath)) return;
  const std::optional<std::string> bytes = ReadWholeFile(m_strPath);
  if (!bytes) {
    m_bUnreadableAtLoad = true;
    ShowError(owner, kReadErrorText, kReadErrorTitle);
    return;
  }

  std::vector<CShortcut> records;
  ParseDataFile(*bytes, [&records](CShortcut&& record) { records.push_back(std::move(record)); });
  AssignIcons(records, large, small);

  // One repaint and one arrangement for the whole catalogue, and room for every item at once.
  const LONG style = ::GetWindowLongA(list.GetSafeHwnd(), GWL_STYLE);
  if (style & LVS_AUTOARRANGE) ::SetWindowLongA(list.GetSafeHwnd(), GWL_STYLE, style & ~LVS_AUTOARRANGE);
  list.SetRedraw(false);
  list.SetItemCountEx(list.GetItemCount() + static_cast<int>(records.size()));
  int count = list.GetItemCount();
  for (CShortcut& record : records) {
    CShortcut* owned = NewShortcutRecord(std::move(record));
    if (InsertShortcutItem(list, count, owned) < 0) {
      DeleteShortcutRecord(owned);
      continue;
    }
    ++count;
  }
  if (style & LVS_AUTOARRANGE) {
    ::SetWindowLongA(list.GetSafeHwnd(), GWL_STYLE, style);
    ::SendMessageA(list.GetSafeHwnd(), LVM_ARRANGE, LVA_DEFAULT, 0);
  }
  list.SetRedraw(true);
}

void CDataFile::SaveShortcuts(const CListCtrl& list, HWND owner) {
  AtomicFileWriter writer(m_strPath);
  if (!writer.Open()) {
    ShowError(owner, kWriteErrorText, kWriteErrorTitle);
    return;
  }
  SortCatalogue(list);

  // Build the bytes first; the item count is read again after each record.
  std::vector<const CShortcut*> records;
  for (int i = 0; i < list.GetItemCount(); ++i) {
    if (const CShortcut* record = RecordAt(list, i)) records.push_back(record);
  }
  const std::string bytes = FormatDataFile(static_cast<int>(records.size()),
                                           [&records](int i) -> const CShortcut& { return *records[i]; });

  if (m_bUnreadableAtLoad && PathExists(m_strPath)) {
    if (!::CopyFileA(m_strPath.c_str(), GetBackupPath().c_str(), FALSE)) {
      writer.Abandon();
      ShowError(owner, kWriteErrorText, kWriteErrorTitle);
      return;
    }
    m_bUnreadableAtLoad = false;
  }
  if (!writer.Commit(bytes)) ShowError(owner, kWriteErrorText, kWriteErrorTitle);
}

}  // namespace ol
