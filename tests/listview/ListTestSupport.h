// Helpers for driving the shortcut list the way the list control and the user do.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "catalogue/CatalogueList.h"
#include "support/DropHandle.h"
#include "support/LauncherHarness.h"

namespace oltest {

// Sends the frame a notification as the list control sends it.
inline LRESULT NotifyFromList(LauncherHarness& launcher, NMHDR& header) {
  header.hwndFrom = launcher.View()->m_hWnd;
  header.idFrom = ::GetDlgCtrlID(launcher.View()->m_hWnd);
  return ::SendMessageA(launcher.FrameHwnd(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

inline LRESULT SimpleNotify(LauncherHarness& launcher, UINT code) {
  NMITEMACTIVATE header{};
  header.hdr.code = code;
  header.iItem = -1;
  return NotifyFromList(launcher, header.hdr);
}

inline LRESULT KeyDownInList(LauncherHarness& launcher, WORD key) {
  NMLVKEYDOWN header{};
  header.hdr.code = LVN_KEYDOWN;
  header.wVKey = key;
  return NotifyFromList(launcher, header.hdr);
}

// Drops the paths on the list as Explorer drops them; the list frees the HDROP.
inline void DropFiles(LauncherHarness& launcher, const std::vector<std::string>& paths) {
  ::PostMessageA(launcher.View()->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle(paths)), 0);
  PumpMessagesFor(std::chrono::milliseconds(200));
}

inline void Command(LauncherHarness& launcher, UINT id) { ::SendMessageA(launcher.FrameHwnd(), WM_COMMAND, id, 0); }

inline int AddItem(LauncherHarness& launcher, const std::string& type, const std::string& name,
                   const std::string& target, int icon, const std::string& commandLine = "") {
  CListCtrl list = launcher.View()->GetListCtrl();
  return ol::InsertShortcutItem(list, list.GetItemCount(),
                                ol::NewShortcutRecord(ol::CShortcut{type, name, target, commandLine, icon}));
}

inline void Select(LauncherHarness& launcher, int item) {
  launcher.View()->GetListCtrl().SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

inline std::vector<std::string> Names(LauncherHarness& launcher) {
  CListCtrl list = launcher.View()->GetListCtrl();
  std::vector<std::string> names;
  for (int i = 0; i < list.GetItemCount(); ++i) names.push_back(list.GetItemText(i, 0));
  return names;
}

inline const ol::CShortcut& Record(LauncherHarness& launcher, int item) {
  return *ol::RecordAt(launcher.View()->GetListCtrl(), item);
}

// Whether the command is enabled after an idle-time update, read from the toolbar or, for
// commands without a button, from the menu bar.
inline bool MenuItemEnabled(LauncherHarness& launcher, UINT id) {
  HMENU bar = ::GetMenu(launcher.FrameHwnd());
  for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
    ::SendMessageA(launcher.FrameHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSubMenu(bar, i)), i);
  }
  return (::GetMenuState(bar, id, MF_BYCOMMAND) & MF_GRAYED) == 0;
}

}  // namespace oltest
