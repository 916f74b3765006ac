#include "games/LaunchOrbels2Dlg.h"

#include "framework/CmdTarget.h"
#include "framework/FileDialog.h"
#include "games/GameCommandLine.h"
#include "res/resource.h"
#include "util/SystemUtil.h"

namespace {

constexpr const char* kExecutableFilter = "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||";

}  // namespace

CLaunchOrbels2Dlg::CLaunchOrbels2Dlg(CWnd* parent) : CDialog(IDD_LAUNCH_ORBELS2, parent) {}

CLaunchOrbels2Dlg::~CLaunchOrbels2Dlg() = default;

const MessageMap* CLaunchOrbels2Dlg::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapMessage<&CLaunchOrbels2Dlg::OnKickIdle>(WM_KICKIDLE),
      MapUpdate<&CLaunchOrbels2Dlg::OnUpdateResolutionControls>(IDC_RESOLUTION_800X600),
      MapUpdate<&CLaunchOrbels2Dlg::OnUpdateResolutionControls>(IDC_RESOLUTION_1024X768),
      MapUpdate<&CLaunchOrbels2Dlg::OnUpdateResolutionControls>(IDC_RESOLUTION_CUSTOM),
      MapUpdate<&CLaunchOrbels2Dlg::OnUpdateResolutionControls>(IDC_CUSTOM_RESOLUTION),
      MapCommand<&CLaunchOrbels2Dlg::OnAutoLocate>(IDC_AUTO_LOCATE2),
      MapCommand<&CLaunchOrbels2Dlg::OnChangeExecutable>(IDC_CHANGE_EXECUTABLE),
      MapControl<&CLaunchOrbels2Dlg::OnExecutableChange>(EN_CHANGE, IDC_GAME_EXECUTABLE),
      MapControl<&CLaunchOrbels2Dlg::OnCustomResolutionChange>(EN_CHANGE, IDC_CUSTOM_RESOLUTION),
      MapCommand<&CLaunchOrbels2Dlg::OnOptionClicked>(IDC_NO_SOUND2),
      MapCommand<&CLaunchOrbels2Dlg::OnOptionClicked>(IDC_RUN_IN_WINDOW2),
      MapCommand<&CLaunchOrbels2Dlg::OnOptionClicked>(IDC_SPECIFY_RESOLUTION),
      MapCommand<&CLaunchOrbels2Dlg::OnOptionClicked>(IDC_RESOLUTION_1024X768),
      MapCommand<&CLaunchOrbels2Dlg::OnOptionClicked>(IDC_RESOLUTION_800X600),
      MapCommand<&CLaunchOrbels2Dlg::OnOptionClicked>(IDC_RESOLUTION_CUSTOM),
  };
  static const MessageMap map{&CDialog::GetThisMessageMap, kEntries};
  return &map;
}

void CLaunchOrbels2Dlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_COMMAND_LINE2, m_strCommandLine);
  DDX_Text(pDX, IDC_CUSTOM_RESOLUTION, m_strCustomResolution);
  DDX_Check(pDX, IDC_SPECIFY_RESOLUTION, m_bSpecifyResolution);
  DDX_Check(pDX, IDC_RUN_IN_WINDOW2, m_bRunInWindow);
  DDX_Check(pDX, IDC_HIDE_LAUNCH2, m_bHideLaunch);
  DDX_Check(pDX, IDC_NO_SOUND2, m_bNoSound);
  DDX_Radio(pDX, IDC_RESOLUTION_800X600, m_nResolution);
  DDX_Text(pDX, IDC_GAME_EXECUTABLE, m_strExecutable);
}

bool CLaunchOrbels2Dlg::OnInitDialog() {
  CDialog::OnInitDialog();
  UpdateCommandLine();
  return true;
}

void CLaunchOrbels2Dlg::UpdateCommandLine() {
  m_strCommandLine = ol::SecondGamePreview(
      m_strExecutable,
      ol::SecondGameOptions::FromFlags(m_bRunInWindow, m_bNoSound, m_bSpecifyResolution, m_nResolution,
                                       m_strCustomResolution),
      ol::IsAnsiLeadByte);
  // An edit that already shows its text is left alone, so typing in the custom field keeps
  // its caret.
  UpdateData(false);
}

LRESULT CLaunchOrbels2Dlg::OnKickIdle(WPARAM, LPARAM) {
  UpdateDialogControls(this, false);
  return 0;
}

void CLaunchOrbels2Dlg::OnUpdateResolutionControls(CCmdUI* cmdUI) {
  // The flag as the last exchange from the controls left it.
  cmdUI->Enable(m_bSpecifyResolution != 0);
}

void CLaunchOrbels2Dlg::OnCustomResolutionChange() {
  UpdateData(true);
  if (m_bSpecifyResolution) UpdateCommandLine();
}

void CLaunchOrbels2Dlg::OnOptionClicked() {
  UpdateData(true);
  UpdateCommandLine();
}

void CLaunchOrbels2Dlg::OnAutoLocate() {
  // The preview keeps the earlier file name until the next recomposition.
  m_strExecutable = m_strAutoExecutable;
  UpdateData(false);
}

void CLaunchOrbels2Dlg::OnChangeExecutable() {
  // Owned by this dialog, so that closing the file dialog gives the keyboard back here.
  CFileDialog dialog(true, "EXE", nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                     kExecutableFilter, this);
  dialog.m_strInitialDir = ol::GetDirectoryPart(m_strExecutable);
  dialog.m_strTitle = "Select The Orbels 2 Executable";
  if (dialog.DoModal() != IDOK) return;
  m_strExecutable = dialog.GetPathName();
  UpdateCommandLine();
  UpdateData(false);
}

void CLaunchOrbels2Dlg::OnExecutableChange() {
  // The preview's first word follows only at the next recomposition.
  UpdateData(true);
}
