#include "dialogs/OptionsDlg.h"

#include "res/resource.h"

COptionsDlg::COptionsDlg(CWnd* parent) : CDialog(IDD_OPTIONS, parent) {}

COptionsDlg::~COptionsDlg() = default;

const MessageMap* COptionsDlg::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapControl<&COptionsDlg::OnOptionChanged>(BN_CLICKED, IDC_KEEP_ON_TOP),
      MapControl<&COptionsDlg::OnOptionChanged>(BN_CLICKED, IDC_SNAP_WINDOW),
      MapControl<&COptionsDlg::OnOptionChanged>(BN_CLICKED, IDC_AUTO_MINIMIZE),
      MapControl<&COptionsDlg::OnOptionChanged>(BN_CLICKED, IDC_OPTIONS_HIDE_LAUNCH),
      MapControl<&COptionsDlg::OnOptionChanged>(EN_CHANGE, IDC_SNAP_WIDTH),
  };
  static const MessageMap map{&CDialog::GetThisMessageMap, kEntries};
  return &map;
}

void COptionsDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Check(pDX, IDC_KEEP_ON_TOP, m_bKeepOnTop);
  DDX_Radio(pDX, IDC_MOUSE_SINGLE_CLICK, m_nMouseSelection);
  DDX_Check(pDX, IDC_SNAP_WINDOW, m_bSnapWindow);
  DDX_Text(pDX, IDC_SNAP_WIDTH, m_nSnapWidth);
  DDV_MinMaxInt(pDX, m_nSnapWidth, 0, 100);
  DDX_Check(pDX, IDC_AUTO_MINIMIZE, m_bAutoMinimize);
  DDX_Check(pDX, IDC_OPTIONS_HIDE_LAUNCH, m_bHideLaunch);
}

void COptionsDlg::OnOptionChanged() { UpdateData(true); }
