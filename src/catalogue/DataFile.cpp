#include "catalogue/DataFile.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/CatalogueList.h"
#include "catalogue/DataFileFormat.h"
#include "catalogue/ShortcutIcons.h"
#include "util/AtomicFile.h"
#include "util/CodePages.h"
#include "util/FileSystem.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

void ShowError(HWND owner, std::string_view text, std::string_view title, UINT icon = MB_ICONHAND) {
  ::MessageBoxA(owner, std::string(text).c_str(), std::string(title).c_str(), icon | MB_OK);
}

// Gives every record its icon index and images as if each program had been extracted and
// appended one by one, but extracts each distinct target once, puts the images into room the
// lists get in one step, and lets go of each target's icons as soon as its last shortcut has
// its images.
void AssignIcons(std::vector<CShortcut>& records, CImageList& large, CImageList& small) {
  struct Target {
    int remaining = 0;  // shortcuts still to be given this target's images
    bool extracted = false;
    TargetIcons icons;  // kept only while their pixels could not be read
    std::optional<CIconListFiller::Pixels> largePixels;
    std::optional<CIconListFiller::Pixels> smallPixels;
  };
  std::unordered_map<std::string, Target> targets;
  int programs = 0;
  for (const CShortcut& record : records) {
    if (!record.IsProgram()) continue;
    ++targets[record.m_strTarget].remaining;
    ++programs;
  }

  CIconListFiller largeFiller(large, programs);
  CIconListFiller smallFiller(small, programs);
  for (CShortcut& record : records) {
    if (!record.IsProgram()) {
      record.m_nIconIndex = kIconFolder;
      continue;
    }
    const auto found = targets.find(record.m_strTarget);
    Target& target = found->second;
    if (!target.extracted) {
      target.extracted = true;
      target.icons = ExtractTargetIcons(record.m_strTarget);
      if (target.icons.Any() && target.remaining > 1) {
        target.largePixels = largeFiller.Read(target.icons.LargeOrSmall());
        target.smallPixels = smallFiller.Read(target.icons.SmallOrLarge());
      }
    }
    if (!target.icons.Any() && !target.largePixels) {
      record.m_nIconIndex = kIconNone;
    } else {
      // The record keeps the large list's position, as a one-by-one append gives it.
      const int position = target.largePixels ? largeFiller.Put(*target.largePixels)
                                              : largeFiller.Put(target.icons.LargeOrSmall());
      if (target.smallPixels) {
        smallFiller.Put(*target.smallPixels);
      } else {
        smallFiller.Put(target.icons.SmallOrLarge());
      }
      record.m_nIconIndex = position < 0 ? kIconNone : position;
    }
    if (--target.remaining == 0) {
      targets.erase(found);
    } else if (target.largePixels && target.smallPixels) {
      target.icons = TargetIcons{};  // every later shortcut is served from the pixels
    }
  }
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
  AssignIcons(records, large, small);

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
