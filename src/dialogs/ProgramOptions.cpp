#include "dialogs/ProgramOptions.h"

#include <commctrl.h>

#include "app/MainFrame.h"
#include "dialogs/OptionsDlg.h"

namespace ol {

void RunProgramOptions(CLauncherSettings& settings, CMainFrame& frame, HWND list) {
  COptionsDlg dialog;
  dialog.m_bHideLaunch = settings.m_bHideLaunch;
  dialog.m_bAutoMinimize = settings.m_bAutoMinimize;
  dialog.m_bKeepOnTop = settings.m_bKeepOnTop;
  dialog.m_nSnapWidth = settings.m_nSnapWidth;
  dialog.m_nMouseSelection = settings.m_nMouseSelection;
  dialog.m_bSnapWindow = settings.m_bSnapWindow;
  if (dialog.DoModal() != IDOK) return;

  settings.m_bHideLaunch = dialog.m_bHideLaunch;
  settings.m_bAutoMinimize = dialog.m_bAutoMinimize;
  settings.m_bKeepOnTop = dialog.m_bKeepOnTop;
  settings.m_nSnapWidth = dialog.m_nSnapWidth;
  settings.m_nMouseSelection = dialog.m_nMouseSelection;
  settings.m_bSnapWindow = dialog.m_bSnapWindow;

  frame.SetSnapWidth(settings.m_nSnapWidth);
  frame.SetSnapEnabled(settings.m_bSnapWindow != 0);
  // Set on every OK, so the window also comes back to the front when nothing changed.
  ::SetWindowPos(frame.m_hWnd, settings.m_bKeepOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);

  auto styles = static_cast<DWORD>(::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  if (settings.m_nMouseSelection == 0) {
    styles |= LVS_EX_TRACKSELECT;  // single-click mode: pointing selects
  } else {
    styles &= ~static_cast<DWORD>(LVS_EX_TRACKSELECT);
  }
  ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(styles));
}

}  // namespace ol
