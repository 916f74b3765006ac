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
// by one, but extracts each distinct target once and grows the image lists in one step.
void AssignIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small) {
  std::unordered_map<std::string, TargetIcons> iconsByTarget;
  int appends = 0;
  for (const CShortcut& record : records) {
    if (!record.IsProgram()) continue;
    auto found = iconsByTarget.find(record.m_strTarget);
    if (found == iconsByTarget.end()) {
      found = iconsByTarget.emplace(record.m_strTarget, ExtractTargetIcons(record.m_strTarget)).first;
    }
    if (found->second.Any()) ++appends;
  }

  const int first = large.GetImageCount();
  const bool reserved = appends > 0 && first == small.GetImageCount() && large.SetImageCount(first + appends) &&
                        small.SetImageCount(first + appends);
  int next = first;
  for (CShortcut& record : records) {
    if (!record.IsProgram()) {
      record.m_nIconIndex = kIconFolder;
      continue;
    }
    const TargetIcons& icons = iconsByTarget.at(record.m_strTarget);
    if (!icons.Any()) {
      record.m_nIconIndex = kIconNone;
    } else if (reserved) {
      ReplaceTargetIcons(large, small, next, icons);
      record.m_nIconIndex = next++;
    } else {
      record.m_nIconIndex = AppendTargetIcons(large, small, icons);
    }
  }
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

  // One repaint for the whole catalogue, and room for every item at once.
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
