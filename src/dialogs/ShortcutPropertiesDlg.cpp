#include "dialogs/ShortcutPropertiesDlg.h"

#include "catalogue/Shortcut.h"
#include "controls/FolderPicker.h"
#include "framework/FileDialog.h"
#include "res/resource.h"
#include "util/SystemUtil.h"

CShortcutPropertiesDlg::CShortcutPropertiesDlg(CWnd* parent) : CDialog(IDD_SHORTCUT_PROPERTIES, parent) {}

const MessageMap* CShortcutPropertiesDlg::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapCommand<&CShortcutPropertiesDlg::OnChangeTarget>(IDC_CHANGE_TARGET),
      MapControl<&CShortcutPropertiesDlg::OnEditChange>(EN_CHANGE, IDC_PROPERTIES_COMMAND_LINE),
      MapControl<&CShortcutPropertiesDlg::OnEditChange>(EN_CHANGE, IDC_TARGET),
      MapMessage<&CShortcutPropertiesDlg::OnKickIdle>(WM_KICKIDLE),
      MapUpdate<&CShortcutPropertiesDlg::OnUpdateCommandLine>(IDC_PROPERTIES_COMMAND_LINE),
  };
  static const MessageMap map{&CDialog::GetThisMessageMap, kEntries};
  return &map;
}

void CShortcutPropertiesDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_PROPERTIES_COMMAND_LINE, m_strCommandLine);
  DDX_Text(pDX, IDC_TARGET, m_strTarget);
}

void CShortcutPropertiesDlg::OnEditChange() { UpdateData(true); }

LRESULT CShortcutPropertiesDlg::OnKickIdle(WPARAM, LPARAM) {
  UpdateDialogControls(this, false);
  return 0;
}

void CShortcutPropertiesDlg::OnUpdateCommandLine(CCmdUI* cmdUI) { cmdUI->Enable(m_strType == ol::kTypeProgram); }

void CShortcutPropertiesDlg::OnChangeTarget() {
  if (m_strType == ol::kTypeProgram) {
    CFileDialog dialog(true, "EXE", nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                       "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||", this);
    dialog.m_strInitialDir = ol::GetDirectoryPart(m_strTarget);
    dialog.m_strTitle = "Open Program Executable";
    if (dialog.DoModal() != IDOK) return;
    m_strTarget = dialog.GetPathName();
  } else {
    CFolderPicker picker;
    picker.m_strCaption = "Select Folder";
    picker.m_strInstruction = "Select a folder to assign to this shortcut:";
    picker.m_strInitialFolder = m_strTarget;
    if (!picker.Browse(this)) return;
    m_strTarget = picker.m_strPath;
  }
  UpdateData(false);
}

void CShortcutPropertiesDlg::OnOK() {
  // Only existence counts: a program shortcut may point at a folder and the other way round.
  if (ol::PathExists(m_strTarget)) {
    CDialog::OnOK();
    return;
  }
  ::MessageBoxA(m_hWnd, std::string(ol::kInvalidPathText).c_str(), std::string(ol::kInvalidPathTitle).c_str(),
                MB_OK | MB_ICONHAND);
}
