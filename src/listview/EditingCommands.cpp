// The commands that change the catalogue: adding, renaming, deleting, properties, icons,
// and launching the selected shortcut.
#include "catalogue/CatalogueList.h"
#include "catalogue/ShortcutLaunch.h"
#include "controls/FolderPicker.h"
#include "dialogs/ShortcutPropertiesDlg.h"
#include "framework/FileDialog.h"
#include "listview/OrbelslaunchView.h"
#include "util/PathText.h"
#include "util/SystemUtil.h"

namespace {

constexpr const char* kExecutableFilter = "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||";
constexpr DWORD kOpenExistingFile = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

constexpr const char* kNotAllowedText =
    "Shortcuts to the executables for The Orbels,\nThe Orbels 2, or Orbels Launch are not allowed.";
constexpr const char* kDuplicateProgramText =
    "A shortcut to the program you selected already exists!\nThe existing shorcut will be selected.";
constexpr const char* kDuplicateFolderText =
    "A shortcut to the folder you selected already exists!\nThe existing shorcut will be selected.";
constexpr const char* kInvalidTargetText =
    "The specified path for this shortcut is\ninvalid. Correct the target path and the\nprogram icon should be "
    "restored.";

}  // namespace

void COrbelslaunchView::OnUpdateSelectedShortcut(CCmdUI* cmdUI) { cmdUI->Enable(SelectedItem() >= 0); }

void COrbelslaunchView::OnUpdateDeleteAll(CCmdUI* cmdUI) { cmdUI->Enable(m_pList && m_list.GetItemCount() != 0); }

void COrbelslaunchView::OnLaunchShortcut() {
  ol::CShortcut* record = SelectedRecord();
  if (record == nullptr) return;
  m_iconArrival.Settle(*record, SelectedItem());  // whether the target gives an icon decides the launch
  ol::LaunchShortcut(*record, m_iconArrival.TargetOf(record->m_strTarget), m_hWnd);
}

void COrbelslaunchView::ShowExistingShortcut(int item, const char* text) {
  ::MessageBoxA(m_hWnd, text, "Shortcut Already Exists", MB_ICONEXCLAMATION | MB_OK);
  m_list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  m_list.EnsureVisible(item, false);
}

int COrbelslaunchView::AddShortcut(ol::CShortcut record) {
  ol::CShortcut* owned = ol::NewShortcutRecord(std::move(record));
  if (ol::InsertShortcutItem(m_list, m_list.GetItemCount(), owned) < 0) {
    ol::DeleteShortcutRecord(owned);
    return -1;
  }
  ol::SortCatalogue(m_list);
  return ol::FindRecordItem(m_list, owned);
}

COrbelslaunchView::AddResult COrbelslaunchView::AddProgramShortcut(const std::string& path,
                                                                   const std::string& commandLine) {
  if (ol::IsForbiddenExecutable(ol::GetFileNamePart(path))) return {AddOutcome::Forbidden, -1};
  const int existing = ol::FindDuplicateTarget(
      m_list.GetItemCount(), [this](int i) { return ol::RecordAt(m_list, i); }, ol::kTypeProgram, path);
  if (existing >= 0) return {AddOutcome::DuplicateProgram, existing};
  ol::CShortcut record = ProgramRecord(path, commandLine);
  m_iconArrival.AddPrograms({&record});
  return {AddOutcome::Added, AddShortcut(std::move(record))};
}

COrbelslaunchView::AddResult COrbelslaunchView::AddFolderShortcut(const std::string& path) {
  const int existing = ol::FindDuplicateTarget(
      m_list.GetItemCount(), [this](int i) { return ol::RecordAt(m_list, i); }, ol::kTypeFolder, path);
  if (existing >= 0) return {AddOutcome::DuplicateFolder, existing};
  return {AddOutcome::Added, AddShortcut(FolderRecord(path))};
}

ol::CShortcut COrbelslaunchView::ProgramRecord(const std::string& path, const std::string& commandLine) {
  return {std::string(ol::kTypeProgram), ol::DefaultProgramName(ol::GetFileNamePart(path)), path, commandLine,
          ol::kIconNone};
}

ol::CShortcut COrbelslaunchView::FolderRecord(const std::string& path) {
  return {std::string(ol::kTypeFolder), ol::DefaultFolderName(path, ol::IsAnsiLeadByte), path, "", ol::kIconFolder};
}

void COrbelslaunchView::ReportRefusal(const AddResult& result) {
  switch (result.outcome) {
    case AddOutcome::Forbidden:
      ::MessageBoxA(m_hWnd, kNotAllowedText, "Shortcut Not Allowed", MB_ICONHAND | MB_OK);
      break;
    case AddOutcome::DuplicateProgram:
      ShowExistingShortcut(result.item, kDuplicateProgramText);
      break;
    case AddOutcome::DuplicateFolder:
      ShowExistingShortcut(result.item, kDuplicateFolderText);
      break;
    default:
      break;
  }
}

void COrbelslaunchView::OnNewProgramShortcut() {
  CFileDialog dialog(true, "EXE", nullptr, kOpenExistingFile, kExecutableFilter);
  dialog.m_strTitle = "Open Program Executable";
  dialog.m_strInitialDir = m_strLastAddFolder;
  if (dialog.DoModal() != IDOK) return;
  const std::string path = dialog.GetPathName();
  const AddResult result = AddProgramShortcut(path, "");
  // The folder moves even when the program is a duplicate, but not for a refused one.
  if (result.outcome != AddOutcome::Forbidden) m_strLastAddFolder = ol::GetDirectoryPart(path);
  ReportRefusal(result);
}

void COrbelslaunchView::OnNewFolderShortcut() {
  CFolderPicker picker;
  picker.m_strCaption = "Select Folder";
  picker.m_strInstruction = "Select a folder that you would like to create a shortcut to:";
  picker.m_strInitialFolder = m_strGameLocation;
  if (!picker.Browse(this)) return;
  ReportRefusal(AddFolderShortcut(picker.m_strPath));
}

void COrbelslaunchView::OnRename() {
  const int item = SelectedItem();
  if (item < 0) return;
  ::SetFocus(m_hWnd);  // the label editor needs the list to have the focus
  m_list.EditLabel(item);
}

void COrbelslaunchView::OnDelete() {
  const int item = SelectedItem();
  if (item < 0) return;
  if (::MessageBoxA(m_hWnd, "Are you sure you want to remove the selected shortcut?", "Remove Shortcut",
                    MB_ICONQUESTION | MB_YESNO) != IDYES) {
    return;
  }
  if (const ol::CShortcut* record = ol::RecordAt(m_list, item)) m_iconArrival.Forget(*record);
  ol::DeleteShortcutRecord(ol::RecordAt(m_list, item));
  m_list.SetItemData(item, 0);
  m_list.DeleteItem(item);
  ol::SortCatalogue(m_list);
}

void COrbelslaunchView::OnDeleteAll() {
  if (::MessageBoxA(m_hWnd, "Are you sure you want to remove all shortcuts?\nThis action cannot be undone.",
                    "Remove All Shortcuts", MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  m_iconArrival.ForgetAll();
  ol::RemoveAllShortcuts(m_list);
}

void COrbelslaunchView::OnProperties() {
  const int item = SelectedItem();
  ol::CShortcut* record = SelectedRecord();
  if (record == nullptr) return;
  m_iconArrival.Settle(*record, item);  // a new target's icon takes the place of the old one
  // The dialog shows where the target is on this computer; the record keeps the path as stored
  // unless the user types another.
  const std::string shown = m_iconArrival.TargetOf(record->m_strTarget);
  CShortcutPropertiesDlg dialog;
  dialog.m_strType = record->m_strType;
  dialog.m_strTarget = shown;
  if (record->IsProgram()) {
    dialog.m_strCommandLine = record->m_strCommandLine;
    if (dialog.DoModal() != IDOK) return;
    if (dialog.m_strTarget != shown) {
      record->m_strTarget = dialog.m_strTarget;
      m_iconArrival.Refresh(*record, item);
    }
    record->m_strCommandLine = ol::TrimWhitespace(dialog.m_strCommandLine);
    m_list.SetItemText(item, 1, m_iconArrival.TargetOf(record->m_strTarget));
    m_list.RedrawItems(item, item);
  } else {
    if (dialog.DoModal() != IDOK) return;
    if (dialog.m_strTarget != shown) record->m_strTarget = dialog.m_strTarget;
    m_list.SetItemText(item, 1, m_iconArrival.TargetOf(record->m_strTarget));
  }
}

void COrbelslaunchView::OnReloadIcon() {
  const int item = SelectedItem();
  ol::CShortcut* record = SelectedRecord();
  if (record == nullptr || record->m_nIconIndex == ol::kIconFolder) return;
  m_iconArrival.Settle(*record, item);
  if (ol::PathExists(m_iconArrival.TargetOf(record->m_strTarget))) {
    m_iconArrival.Refresh(*record, item);
    return;
  }
  // The item keeps the picture it shows; the launch refuses it from now on.
  m_iconArrival.MarkTargetGone(*record);
  ::MessageBoxA(m_hWnd, kInvalidTargetText, "Invalid Target", MB_ICONHAND | MB_OK);
}
