// Files, folders and Windows shortcuts dropped on the list from Explorer or the desktop: each
// added as New Program Shortcut or New Folder Shortcut adds one. One item dropped alone gets
// the menu commands' messages; many are added in one go, with one sort and one message.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "catalogue/CatalogueList.h"
#include "framework/WinApp.h"
#include "listview/DropReport.h"
#include "listview/OrbelslaunchView.h"
#include "res/resource.h"
#include "util/CodePages.h"
#include "util/PathText.h"
#include "util/ShellLink.h"
#include "util/SystemUtil.h"

namespace {

// The paths in UTF-16, as Explorer passes them, in the program's code page. One that a legacy
// code page cannot spell has "?" for each character it lacks (never a look-alike, which would
// name another file), so ExamineDroppedPath refuses it for its name.
std::vector<std::string> DroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  paths.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    ::DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(length);
    paths.push_back(ol::NarrowText(path));
  }
  return paths;
}

// The name the user knows a dropped item by: its file or folder name, or the whole path of
// a drive.
std::string ItemName(const std::string& path) {
  const std::string name = ol::GetFileNamePart(path);
  return name.empty() ? path : name;
}

UINT ReasonFor(COrbelslaunchView::AddOutcome outcome) {
  switch (outcome) {
    case COrbelslaunchView::AddOutcome::Forbidden:
      return IDS_DROP_FORBIDDEN;
    case COrbelslaunchView::AddOutcome::DuplicateProgram:
      return IDS_DROP_DUPLICATE_PROGRAM;
    default:
      return IDS_DROP_DUPLICATE_FOLDER;
  }
}

// What a dropped path leads to: a program or a folder to add, or why it cannot be added.
struct DroppedItem {
  UINT refusal = 0;  // the reason's string, 0 when it can be added
  bool folder = false;
  std::string target;
  std::string commandLine;
};

bool TooLong(const std::string& path) { return ol::TextLengthInCharacters(path) >= ol::kPathCharacters; }

DroppedItem ExamineDroppedPath(const std::string& path) {
  DroppedItem item;
  // A name that the code page cannot hold (a legacy one) has "?" in place of what it lacks
  // (DroppedPaths), and "?" is in no real file name.
  if (path.find('?') != std::string::npos) return {IDS_DROP_NAME_NOT_PASSED};
  if (TooLong(path)) return {IDS_DROP_TOO_LONG};
  item.target = path;
  if (ol::IsWindowsShortcutFile(path)) {
    const std::optional<ol::LinkTarget> link = ol::ReadWindowsShortcut(path);
    if (!link) return {IDS_DROP_LINK_UNREADABLE};
    if (link->fromInstaller && link->path.empty()) return {IDS_DROP_NOT_INSTALLED};
    if (TooLong(link->path)) return {IDS_DROP_TOO_LONG};
    if (::GetFileAttributesA(link->path.c_str()) == INVALID_FILE_ATTRIBUTES) return {IDS_DROP_LINK_MISSING};
    item.target = link->path;
    item.commandLine = ol::TrimWhitespace(link->arguments);  // as the properties dialog stores it
  }
  const DWORD attributes = ::GetFileAttributesA(item.target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {IDS_DROP_MISSING};
  item.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (!item.folder && !ol::IsStartableProgram(item.target)) return {IDS_DROP_NOT_A_PROGRAM};
  return item;
}

// The rules of New Program Shortcut and New Folder Shortcut, the duplicate test against an
// index of the targets.
COrbelslaunchView::AddOutcome CheckProgramShortcut(const std::string& path, const ol::CTargetIndex& targets) {
  if (ol::IsForbiddenExecutable(ol::GetFileNamePart(path))) return COrbelslaunchView::AddOutcome::Forbidden;
  if (targets.Contains(ol::kTypeProgram, path)) return COrbelslaunchView::AddOutcome::DuplicateProgram;
  return COrbelslaunchView::AddOutcome::Added;
}

COrbelslaunchView::AddOutcome CheckFolderShortcut(const std::string& path, const ol::CTargetIndex& targets) {
  return targets.Contains(ol::kTypeFolder, path) ? COrbelslaunchView::AddOutcome::DuplicateFolder
                                                 : COrbelslaunchView::AddOutcome::Added;
}

}  // namespace

LRESULT COrbelslaunchView::OnDropFiles(WPARAM wParam, LPARAM) {
  auto* drop = reinterpret_cast<HDROP>(wParam);
  const std::vector<std::string> paths = DroppedPaths(drop);
  ::DragFinish(drop);
  if (paths.size() == 1) {
    AddDroppedItem(paths.front());
  } else if (!paths.empty()) {
    AddDroppedItems(paths);
  }
  return 0;
}

void COrbelslaunchView::AddDroppedItem(const std::string& path) {
  const DroppedItem item = ExamineDroppedPath(path);
  if (item.refusal != 0) {
    const std::string text = path + "\n\n" + LoadStringResource(item.refusal);
    ::MessageBoxA(m_hWnd, text.c_str(), LoadStringResource(IDS_DROP_NOT_ADDED_TITLE).c_str(),
                  MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  const AddResult result = item.folder ? AddFolderShortcut(item.target) : AddProgramShortcut(item.target, item.commandLine);
  if (result.outcome != AddOutcome::Added) {
    ReportRefusal(result);  // the menu commands' own messages
  } else if (result.item >= 0) {
    m_list.SetItemState(result.item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(result.item, false);
  }
}

void COrbelslaunchView::AddDroppedItems(const std::vector<std::string>& paths) {
  // Linear in the items dropped: the targets already there are indexed once, the new items go
  // to the end of the list with their icons put in at once, and the list is sorted once.
  std::vector<ol::DropRefusal> refusals;
  const ol::CShortcut* lastAdded = nullptr;
  {
    CWaitCursor wait;
    ol::CTargetIndex targets;
    for (int i = 0; i < m_list.GetItemCount(); ++i) {
      if (const ol::CShortcut* record = ol::RecordAt(m_list, i)) targets.Add(*record);
    }
    std::vector<ol::CShortcut> added;
    added.reserve(paths.size());
    for (const std::string& path : paths) {
      const DroppedItem item = ExamineDroppedPath(path);
      UINT refusal = item.refusal;
      if (refusal == 0) {
        const AddOutcome outcome = item.folder ? CheckFolderShortcut(item.target, targets)
                                               : CheckProgramShortcut(item.target, targets);
        if (outcome != AddOutcome::Added) refusal = ReasonFor(outcome);
      }
      if (refusal != 0) {
        refusals.push_back({ItemName(path), LoadStringResource(refusal)});
        continue;
      }
      added.push_back(item.folder ? FolderRecord(item.target) : ProgramRecord(item.target, item.commandLine));
      targets.Add(added.back());
    }
    std::vector<ol::CShortcut*> programs;
    for (ol::CShortcut& record : added) {
      if (record.IsProgram()) programs.push_back(&record);
    }
    m_iconArrival.AddPrograms(programs);
    ol::CListBatch batch(m_list);
    for (ol::CShortcut& record : added) {
      ol::CShortcut* owned = ol::NewShortcutRecord(std::move(record));
      if (ol::InsertShortcutItem(m_list, m_list.GetItemCount(), owned) < 0) {
        ol::DeleteShortcutRecord(owned);
        continue;
      }
      lastAdded = owned;
    }
    if (lastAdded != nullptr) ol::SortCatalogue(m_list);
  }
  if (lastAdded != nullptr) {
    const int item = ol::FindRecordItem(m_list, lastAdded);
    m_list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(item, false);
  }
  if (!refusals.empty()) {
    const std::string text = ol::DropSummaryText(LoadStringResource(IDS_DROP_SUMMARY_TEXT), refusals,
                                                 LoadStringResource(IDS_DROP_MORE));
    ::MessageBoxA(m_hWnd, text.c_str(), LoadStringResource(IDS_DROP_SUMMARY_TITLE).c_str(),
                  MB_ICONEXCLAMATION | MB_OK);
  }
}
