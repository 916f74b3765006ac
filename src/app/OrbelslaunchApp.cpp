#include "app/OrbelslaunchApp.h"

#include "app/MainFrame.h"
#include "app/Settings.h"
#include "dialogs/AboutDlg.h"
#include "listview/OrbelslaunchView.h"
#include "res/resource.h"

const MessageMap* COrbelslaunchApp::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapCommand<&COrbelslaunchApp::OnAppAbout>(ID_APP_ABOUT),
      MapCommand<&CWinApp::OnFileNew>(ID_FILE_NEW),
  };
  static const MessageMap map{&CWinApp::GetThisMessageMap, kEntries};
  return &map;
}

bool COrbelslaunchApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControlsStatic();
  SetRegistryKey(ol::kRegistryKey);
  AddDocTemplate(CSingleDocTemplate::Make<COrbelslaunchDoc, CMainFrame, COrbelslaunchView>(IDR_MAINFRAME));
  CCommandLineInfo commandLine;
  ParseCommandLine(commandLine);
  if (!ProcessShellCommand(commandLine)) return false;
  ::ShowWindow(m_pMainWnd->m_hWnd, SW_SHOW);
  ::UpdateWindow(m_pMainWnd->m_hWnd);
  return true;
}

void COrbelslaunchApp::OnAppAbout() { ol::ShowAboutBox(); }
