// Files, folders and Windows shortcuts dropped on the list from Explorer or the desktop: each
// added as New Program Shortcut or New Folder Shortcut adds one.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "catalogue/CatalogueList.h"
#include "framework/WinApp.h"
#include "listview/DropReport.h"
#include "listview/OrbelslaunchView.h"
#include "res/resource.h"
#include "util/PathText.h"
#include "util/ShellLink.h"
#include "util/SystemUtil.h"

namespace {

std::vector<std::string> DroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = ::DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length + 1, '\0');
    ::DragQueryFileA(drop, i, path.data(), length + 1);
    path.resize(length);
    paths.push_back(std::move(path));
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

}  // namespace

LRESULT COrbelslaunchView::OnDropFiles(WPARAM wParam, LPARAM) {
  auto* drop = reinterpret_cast<HDROP>(wParam);
  const std::vector<std::string> paths = DroppedPaths(drop);
  ::DragFinish(drop);
  if (paths.empty()) return 0;

  const bool alone = paths.size() == 1;
  int lastAdded = -1;
  std::vector<ol::DropRefusal> refusals;
  for (const std::string& path : paths) {
    std::string reason = AddDroppedItem(path, alone, lastAdded);
    if (!reason.empty()) refusals.push_back({ItemName(path), std::move(reason)});
  }
  if (lastAdded >= 0) {
    m_list.SetItemState(lastAdded, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(lastAdded, false);
  }
  if (!alone && !refusals.empty()) {
    const std::string text = ol::DropSummaryText(LoadStringResource(IDS_DROP_SUMMARY_TEXT), refusals,
                                                 LoadStringResource(IDS_DROP_MORE));
    ::MessageBoxA(m_hWnd, text.c_str(), LoadStringResource(IDS_DROP_SUMMARY_TITLE).c_str(),
                  MB_ICONEXCLAMATION | MB_OK);
  }
  return 0;
}

std::string COrbelslaunchView::AddDroppedItem(const std::string& path, bool alone, int& lastAdded) {
  std::string target = path;
  std::string commandLine;
  if (ol::IsWindowsShortcutFile(path)) {
    const std::optional<ol::LinkTarget> link = ol::ReadWindowsShortcut(path);
    const UINT problem = !link                                                               ? IDS_DROP_LINK_UNREADABLE
                         : ::GetFileAttributesA(link->path.c_str()) == INVALID_FILE_ATTRIBUTES ? IDS_DROP_LINK_MISSING
                                                                                               : 0;
    if (problem != 0) return Refuse(path, problem, alone);
    target = link->path;
    commandLine = ol::TrimWhitespace(link->arguments);  // as the properties dialog stores it
  }

  const DWORD attributes = ::GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Refuse(path, IDS_DROP_MISSING, alone);
  const AddResult result = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? AddFolderShortcut(target)
                                                                   : AddProgramShortcut(target, commandLine);
  if (result.outcome == AddOutcome::Added) {
    if (result.item >= 0) lastAdded = result.item;
    return std::string();
  }
  if (alone) ReportRefusal(result);  // the menu commands' own messages
  return LoadStringResource(ReasonFor(result.outcome));
}

std::string COrbelslaunchView::Refuse(const std::string& path, UINT reasonId, bool alone) {
  std::string reason = LoadStringResource(reasonId);
  if (alone) {
    const std::string text = path + "\n\n" + reason;
    ::MessageBoxA(m_hWnd, text.c_str(), LoadStringResource(IDS_DROP_NOT_ADDED_TITLE).c_str(),
                  MB_ICONEXCLAMATION | MB_OK);
  }
  return reason;
}
