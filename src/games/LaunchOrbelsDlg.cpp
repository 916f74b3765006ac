#include "games/LaunchOrbelsDlg.h"

#include "controls/FolderPicker.h"
#include "games/GameCommandLine.h"
#include "res/resource.h"

CLaunchOrbelsDlg::CLaunchOrbelsDlg(CWnd* parent) : CDialog(IDD_LAUNCH_ORBELS, parent) {}

CLaunchOrbelsDlg::~CLaunchOrbelsDlg() = default;

const MessageMap* CLaunchOrbelsDlg::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapCommand<&CLaunchOrbelsDlg::OnAutoLocate>(IDC_AUTO_LOCATE),
      MapCommand<&CLaunchOrbelsDlg::OnChangeLocation>(IDC_CHANGE_LOCATION),
      MapCommand<&CLaunchOrbelsDlg::OnOptionClicked>(IDC_DISABLE_DX6),
      MapCommand<&CLaunchOrbelsDlg::OnOptionClicked>(IDC_RUN_HIGH_RES),
      MapCommand<&CLaunchOrbelsDlg::OnOptionClicked>(IDC_NO_SOUND),
      MapCommand<&CLaunchOrbelsDlg::OnOptionClicked>(IDC_RUN_IN_WINDOW),
      MapCommand<&CLaunchOrbelsDlg::OnOptionClicked>(IDC_SKIP_INTRO),
      MapCommand<&CLaunchOrbelsDlg::OnOptionClicked>(IDC_SKIP_SYSTEM_CHECK),
      MapControl<&CLaunchOrbelsDlg::OnGameLocationChange>(EN_CHANGE, IDC_GAME_LOCATION),
  };
  static const MessageMap map{&CDialog::GetThisMessageMap, kEntries};
  return &map;
}

void CLaunchOrbelsDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_COMMAND_LINE, m_strCommandLine);
  DDX_Check(pDX, IDC_DISABLE_DX6, m_bDisableDX6);
  DDX_Text(pDX, IDC_GAME_LOCATION, m_strGameLocation);
  DDX_Check(pDX, IDC_RUN_HIGH_RES, m_bRunHighRes);
  DDX_Check(pDX, IDC_NO_SOUND, m_bNoSound);
  DDX_Check(pDX, IDC_RUN_IN_WINDOW, m_bRunInWindow);
  DDX_Check(pDX, IDC_SKIP_INTRO, m_bSkipIntro);
  DDX_Check(pDX, IDC_SKIP_SYSTEM_CHECK, m_bSkipSystemCheck);
  DDX_Check(pDX, IDC_HIDE_LAUNCH, m_bHideLaunch);
}

bool CLaunchOrbelsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  UpdateCommandLine();
  return true;
}

void CLaunchOrbelsDlg::UpdateCommandLine() {
  m_strCommandLine = ol::FirstGamePreview(ol::FirstGameOptions::FromFlags(
      m_bRunHighRes, m_bSkipIntro, m_bRunInWindow, m_bNoSound, m_bSkipSystemCheck, m_bDisableDX6));
  UpdateData(false);
}

void CLaunchOrbelsDlg::OnOptionClicked() {
  UpdateData(true);
  UpdateCommandLine();
}

void CLaunchOrbelsDlg::OnAutoLocate() {
  // The preview holds no location, so it stays as it is.
  m_strGameLocation = m_strAutoLocation;
  UpdateData(false);
}

void CLaunchOrbelsDlg::OnChangeLocation() {
  CFolderPicker picker;
  picker.m_strInitialFolder = m_strGameLocation;
  picker.m_strInstruction = "Select the root installation folder for The Orbels:";
  picker.m_strCaption = "Select Folder";
  if (!picker.Browse(this)) return;
  m_strGameLocation = picker.m_strPath;
  UpdateData(false);
}

void CLaunchOrbelsDlg::OnGameLocationChange() {
  // Keeps m_strGameLocation equal to what the field shows, for "Change..." to start from.
  UpdateData(true);
}
