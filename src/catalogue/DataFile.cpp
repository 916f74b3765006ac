#include "catalogue/DataFile.h"

#include <optional>
#include <string>
#include <vector>

#include "catalogue/CatalogueIcons.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/DataFileFormat.h"
#include "util/AtomicFile.h"
#include "util/CodePages.h"
#include "util/FileSystem.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

void ShowError(HWND owner, std::string_view text, std::string_view title, UINT icon = MB_ICONHAND) {
  ::MessageBoxA(owner, std::string(text).c_str(), std::string(title).c_str(), icon | MB_OK);
}

}  // namespace

std::string DefaultDataFilePath() { return GetLauncherDirectory() + "\\" + std::string(kDataFileName); }

CDataFile::CDataFile() : m_strPath(DefaultDataFilePath()) {}

void CDataFile::LoadShortcuts(const CListCtrl& list, CImageList& large, CImageList& small, HWND owner) {
  switch (RestoreLeftoverSave(m_strPath)) {
    case LeftoverSave::kRestored:
      ShowError(owner, kRestoredText, kRestoredTitle, MB_ICONEXCLAMATION);
      break;
    case LeftoverSave::kNotRestored:  // still beside it: the exit's save puts it in place first
      m_bUnreadableAtLoad = true;
      ShowError(owner, kReadErrorText, kReadErrorTitle);
      return;
    case LeftoverSave::kNone:
      break;
  }
  if (!FileSystem().Exists(m_strPath)) return;
  std::optional<std::string> bytes = ReadWholeFile(m_strPath);
  if (!bytes) {
    m_bUnreadableAtLoad = true;
    ShowError(owner, kReadErrorText, kReadErrorTitle);
    return;
  }
  if (ChooseDataFileCoding(*bytes, ProgramUsesUtf8()) == DataFileCoding::FromLegacyCodePage) {
    bytes = ConvertCodePage(*bytes, SystemLegacyCodePage(), CP_UTF8);
    m_bLegacyCodePageAtLoad = true;
  }

  std::vector<CShortcut> records;
  ParseDataFile(*bytes, [&records](CShortcut&& record) { records.push_back(std::move(record)); });
  PlanCatalogueIcons(records, large, small);

  // One repaint and one arrangement for the whole catalogue, and room for every item at once.
  CListBatch batch(list);
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

  if ((m_bUnreadableAtLoad || m_bLegacyCodePageAtLoad) && FileSystem().Exists(m_strPath)) {
    if (!CopyToNewBackup(m_strPath)) {
      writer.Abandon();
      ShowError(owner, kWriteErrorText, kWriteErrorTitle);
      return;
    }
    m_bUnreadableAtLoad = false;
    m_bLegacyCodePageAtLoad = false;
  }
  if (!writer.Commit(bytes)) ShowError(owner, kWriteErrorText, kWriteErrorTitle);
}

}  // namespace ol
