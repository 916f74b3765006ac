// Adding, editing and reloading shortcuts through the real commands, dialogs and messages.
#include <gtest/gtest.h>

#include <thread>

#include "controls/FolderPicker.h"
#include "dialogs/ShortcutPropertiesDlg.h"
#include "framework/FileDialog.h"
#include "listview/ListTestSupport.h"
#include "res/resource.h"
#include "support/ModalResponder.h"
#include "support/TestListWindow.h"
#include "../games/DialogDriving.h"

using namespace oltest;

namespace {

struct FileDialogCall {
  std::string title, initialDir, filter, defaultExtension;
  DWORD flags;
};

class EditingCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearInstallerEntries();
    ClearLauncherSettings();
    m_records = ol::LiveShortcutRecordCount();
    ::CreateDirectoryA((m_dir / "Tools").c_str(), nullptr);
    ::CreateDirectoryA((m_dir / "Other").c_str(), nullptr);
    m_tool = m_dir / "Tools\\Setup.Tool.exe";
    ASSERT_TRUE(CopyTestFile(RecorderPath(), m_tool));
    CFileDialog::SetResponderForTesting([this](const CFileDialog& dialog) -> std::optional<std::string> {
      m_fileDialogs.push_back({dialog.m_strTitle, dialog.m_strInitialDir, dialog.Filter(), dialog.DefaultExtension(),
                               dialog.Flags()});
      return m_nextFile;
    });
    CFolderPicker::SetResponderForTesting([this](const CFolderPicker& picker) -> std::optional<std::string> {
      m_pickers.push_back({picker.m_strCaption, picker.m_strInstruction, picker.m_strInitialFolder});
      return m_nextFolder;
    });
  }
  void TearDown() override {
    CFileDialog::SetResponderForTesting(nullptr);
    CFolderPicker::SetResponderForTesting(nullptr);
    EXPECT_EQ(ol::LiveShortcutRecordCount(), m_records);
  }

  ScratchDir m_dir;
  std::string m_tool;
  long m_records = 0;
  std::optional<std::string> m_nextFile;
  std::optional<std::string> m_nextFolder;
  std::vector<FileDialogCall> m_fileDialogs;
  std::vector<std::vector<std::string>> m_pickers;
};

}  // namespace

TEST_F(EditingCommandsTest, ANewProgramIsNamedAfterItsFileGetsItsIconAndIsSortedIn) {
  WriteSettingsText("Last Add Folder", "C:\\Previous");
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "Zed", "C:\\z", 1);
  AddItem(launcher, "FOLDER", "Alpha", "C:\\a", 1);
  Select(launcher, 1);
  m_nextFile = m_tool;
  Command(launcher, ID_NEW_PROGRAM_SHORTCUT);
  ASSERT_EQ(m_fileDialogs.size(), 1u);
  EXPECT_EQ(m_fileDialogs[0].title, "Open Program Executable");
  EXPECT_EQ(m_fileDialogs[0].initialDir, "C:\\Previous");
  EXPECT_EQ(m_fileDialogs[0].filter, "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||");
  EXPECT_EQ(m_fileDialogs[0].defaultExtension, "EXE");
  EXPECT_EQ(m_fileDialogs[0].flags, DWORD{OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST});

  EXPECT_EQ(Names(launcher), (std::vector<std::string>{"Alpha", "Setup.Tool", "Zed"}));
  const ol::CShortcut& added = Record(launcher, 1);
  EXPECT_EQ(added.m_strType, "PROGRAM");
  EXPECT_EQ(added.m_strTarget, m_tool);
  EXPECT_EQ(added.m_strCommandLine, "");
  EXPECT_EQ(added.m_nIconIndex, 2);
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemImage(1), 2);
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemText(1, 1), m_tool);
  EXPECT_EQ(launcher.View()->SelectedItem(), 0);  // the selection stayed with "Alpha"
  EXPECT_EQ(launcher.View()->m_strLastAddFolder, m_dir / "Tools");
}

TEST_F(EditingCommandsTest, TheGamesAndTheLauncherThemselvesAreRefused) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  launcher.View()->m_strLastAddFolder = "C:\\Before";
  ModalResponder responder({IDOK, IDOK});
  for (const char* name : {"ORBELS.EXE", "OrbelsLaunch.EXE"}) {
    m_nextFile = m_dir / (std::string("Other\\") + name);
    Command(launcher, ID_NEW_PROGRAM_SHORTCUT);
  }
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].title, "Shortcut Not Allowed");
  EXPECT_EQ(seen[0].text,
            "Shortcuts to the executables for The Orbels,\nThe Orbels 2, or Orbels Launch are not allowed.");
  EXPECT_EQ(seen[0].icon, "hand");
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 0);
  EXPECT_EQ(launcher.View()->m_strLastAddFolder, "C:\\Before");  // untouched by a refusal
}

TEST_F(EditingCommandsTest, ADuplicateProgramSelectsTheExistingOneButStillMovesTheLastFolder) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  for (int i = 0; i < 3; ++i) AddItem(launcher, "FOLDER", "F" + std::to_string(i), "C:\\f", 1);
  AddItem(launcher, "PROGRAM", "Existing", m_tool, 2);
  launcher.View()->m_strLastAddFolder = "C:\\Before";
  ModalResponder responder({IDOK});
  m_nextFile = m_tool;
  Command(launcher, ID_NEW_PROGRAM_SHORTCUT);
  ASSERT_EQ(responder.Seen().size(), 1u);
  EXPECT_EQ(responder.Seen()[0].title, "Shortcut Already Exists");
  EXPECT_EQ(responder.Seen()[0].text,
            "A shortcut to the program you selected already exists!\nThe existing shorcut will be selected.");
  EXPECT_EQ(responder.Seen()[0].icon, "exclamation");
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 4);
  EXPECT_EQ(launcher.View()->SelectedItem(), 3);
  EXPECT_NE(launcher.View()->GetListCtrl().GetItemState(3, LVIS_FOCUSED), 0u);
  EXPECT_EQ(launcher.View()->m_strLastAddFolder, m_dir / "Tools");

  // The same path in other letter case is another target.
  std::string otherCase = m_tool;
  for (char& c : otherCase) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
  m_nextFile = otherCase;
  Command(launcher, ID_NEW_PROGRAM_SHORTCUT);
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 5);
}

TEST_F(EditingCommandsTest, NewFolderShortcutsStartAtTheGameFolderAndRefuseDuplicates) {
  WriteSettingsText("Game Location", "C:\\Games\\Orbels\\  ");
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  m_nextFolder = "D:\\";
  Command(launcher, ID_NEW_FOLDER_SHORTCUT);
  ASSERT_EQ(m_pickers.size(), 1u);
  EXPECT_EQ(m_pickers[0], (std::vector<std::string>{"Select Folder",
                                                    "Select a folder that you would like to create a shortcut to:",
                                                    "C:\\Games\\Orbels"}));
  ASSERT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 1);
  EXPECT_EQ(Record(launcher, 0).m_strName, "");  // a drive root has no last element
  EXPECT_EQ(Record(launcher, 0).m_strType, "FOLDER");
  EXPECT_EQ(Record(launcher, 0).m_nIconIndex, 1);
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemImage(0), 1);

  m_nextFolder = m_tool;  // a folder shortcut to a program's path is no duplicate of a program
  AddItem(launcher, "PROGRAM", "P", m_tool, 2);
  Command(launcher, ID_NEW_FOLDER_SHORTCUT);
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 3);
  ModalResponder responder({IDOK});
  m_nextFolder = "D:\\";
  Command(launcher, ID_NEW_FOLDER_SHORTCUT);
  ASSERT_EQ(responder.Seen().size(), 1u);
  EXPECT_EQ(responder.Seen()[0].text,
            "A shortcut to the folder you selected already exists!\nThe existing shorcut will be selected.");
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 3);
  m_nextFolder.reset();  // cancelled
  Command(launcher, ID_NEW_FOLDER_SHORTCUT);
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 3);
  EXPECT_EQ(launcher.View()->m_strLastAddFolder, "");
}

TEST_F(EditingCommandsTest, PropertiesStoreTheTargetAndATrimmedCommandLine) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "PROGRAM", "Tool", m_dir / "Tools\\gone.exe", 0, "old");
  Select(launcher, 0);
  bool commandLineEnabled = false;
  ModalResponder responder(
      {[&](HWND dialog, const SeenDialog&) {
         commandLineEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_PROPERTIES_COMMAND_LINE));
         ::SendMessageA(::GetDlgItem(dialog, IDC_TARGET), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_tool.c_str()));
         ::SendMessageA(::GetDlgItem(dialog, IDC_PROPERTIES_COMMAND_LINE), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>("  -w -nosound \t"));
         ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
       }},
      0);
  Command(launcher, ID_PROPERTIES);
  ASSERT_EQ(responder.Seen().size(), 1u);
  EXPECT_EQ(responder.Seen()[0].title, "Shortcut Properties");
  EXPECT_TRUE(commandLineEnabled);
  const ol::CShortcut& record = Record(launcher, 0);
  EXPECT_EQ(record.m_strTarget, m_tool);
  EXPECT_EQ(record.m_strCommandLine, "-w -nosound");
  EXPECT_EQ(record.m_nIconIndex, 2);  // the new target's icon, appended
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemImage(0), 2);
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemText(0, 1), m_tool);
  EXPECT_EQ(record.m_strName, "Tool");
}

TEST_F(EditingCommandsTest, PropertiesRefuseAMissingTargetAndCancelKeepsEverything) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "Saves", m_dir.Path(), 1);
  Select(launcher, 0);
  bool commandLineEnabled = true;
  const std::string missing = m_dir / "nowhere";
  ModalResponder responder(
      {[&](HWND dialog, const SeenDialog&) {
         commandLineEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_PROPERTIES_COMMAND_LINE));
         ::SendMessageA(::GetDlgItem(dialog, IDC_TARGET), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(missing.c_str()));
         ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
       },
       ModalResponder::Press(IDOK),  // the "Invalid Path" message
       [](HWND, const SeenDialog&) {}},
      0);
  // The properties dialog is still open after the refusal: cancel it from here.
  std::thread canceller([&] {
    for (int i = 0; i < 200 && responder.Seen().size() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto seen = responder.Seen();
    if (!seen.empty() && ::IsWindow(seen[0].hwnd)) ::PostMessageA(seen[0].hwnd, WM_COMMAND, IDCANCEL, 0);
  });
  Command(launcher, ID_PROPERTIES);
  canceller.join();
  const auto seen = responder.Seen();
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[1].title, "Invalid Path");
  EXPECT_EQ(seen[1].text, ol::kInvalidPathText);
  EXPECT_EQ(seen[1].icon, "hand");
  EXPECT_FALSE(commandLineEnabled);  // a folder has no command line
  EXPECT_EQ(Record(launcher, 0).m_strTarget, m_dir.Path());
}

TEST_F(EditingCommandsTest, ChangeTargetStartsAtTheTargetIsOwnedByTheDialogAndReplacesTheIconInPlace) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  m_nextFile = m_tool;
  Command(launcher, ID_NEW_PROGRAM_SHORTCUT);  // the tool's icon at 2
  AddItem(launcher, "FOLDER", "Saves", m_dir / "Other", 1);
  HIMAGELIST small = launcher.View()->GetListCtrl().GetImageList(LVSIL_SMALL);
  const auto toolPicture = ImagePixels(small, 2);
  const std::string launcherLike = m_dir / "Other\\Launcher.exe";  // the application's icon
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  ASSERT_TRUE(CopyTestFile(self, launcherLike));

  // Program: Cancel in the chooser changes nothing; a choice shows at once and counts on OK.
  std::string shownAfterCancel, shownAfterChoice;
  auto changeTarget = [&](HWND dialog) {
    m_nextFile.reset();
    Click(dialog, IDC_CHANGE_TARGET);
    shownAfterCancel = ItemText(dialog, IDC_TARGET);
    m_nextFile = launcherLike;
    Click(dialog, IDC_CHANGE_TARGET);
    shownAfterChoice = ItemText(dialog, IDC_TARGET);
  };
  m_fileDialogs.clear();
  Select(launcher, 0);
  {
    ModalResponder responder({DriveThenPress(changeTarget, IDOK)}, 0);
    Command(launcher, ID_PROPERTIES);
  }
  ASSERT_EQ(m_fileDialogs.size(), 2u);
  EXPECT_EQ(m_fileDialogs[0].title, "Open Program Executable");
  EXPECT_EQ(m_fileDialogs[0].initialDir, m_dir / "Tools");
  EXPECT_EQ(shownAfterCancel, m_tool);
  EXPECT_EQ(shownAfterChoice, launcherLike);
  const ol::CShortcut& program = Record(launcher, 0);
  EXPECT_EQ(program.m_strTarget, launcherLike);
  EXPECT_EQ(program.m_nIconIndex, 2);  // replaced where it was, nothing appended
  EXPECT_EQ(ImageList_GetImageCount(small), 3);
  EXPECT_NE(ImagePixels(small, 2), toolPicture);

  // Folder: the picker starts at the folder shown; Cancel keeps it, a choice replaces it.
  std::string folderAfterCancel;
  auto changeFolder = [&](HWND dialog) {
    m_nextFolder.reset();
    Click(dialog, IDC_CHANGE_TARGET);
    folderAfterCancel = ItemText(dialog, IDC_TARGET);
    m_nextFolder = m_dir / "Tools";
    Click(dialog, IDC_CHANGE_TARGET);
  };
  Select(launcher, 1);
  {
    ModalResponder responder({DriveThenPress(changeFolder, IDOK)}, 0);
    Command(launcher, ID_PROPERTIES);
  }
  ASSERT_EQ(m_pickers.size(), 2u);
  EXPECT_EQ(m_pickers[0], (std::vector<std::string>{"Select Folder", "Select a folder to assign to this shortcut:",
                                                    m_dir / "Other"}));
  EXPECT_EQ(folderAfterCancel, m_dir / "Other");
  EXPECT_EQ(Record(launcher, 1).m_strTarget, m_dir / "Tools");
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemText(1, 1), m_dir / "Tools");
}

TEST_F(EditingCommandsTest, ReloadIconOnAVanishedTargetThenTheLaunchIsRefused) {
  LauncherHarness launcher;
  const std::string doomed = m_dir / "Other\\doomed.exe";
  ASSERT_TRUE(CopyTestFile(RecorderPath(), doomed));
  ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), "SC_NAME=Doomed\r\nSC_TYPE=PROGRAM\r\nSC_PATH=" + doomed +
                                                      "\r\nSC_CMLN=\r\nSC_NAME=Folder\r\nSC_TYPE=FOLDER\r\n"
                                                      "SC_PATH=C:\\\r\nSC_CMLN=\r\n"));
  ASSERT_TRUE(launcher.Start());
  ASSERT_EQ(Record(launcher, 0).m_nIconIndex, 2);
  Select(launcher, 1);
  {
    ModalResponder responder;
    Command(launcher, ID_RELOAD_ICON);  // a folder: nothing at all
    EXPECT_TRUE(responder.Seen().empty());
  }
  Select(launcher, 0);
  Command(launcher, ID_RELOAD_ICON);  // still there: the same index, picture replaced
  EXPECT_EQ(Record(launcher, 0).m_nIconIndex, 2);
  ASSERT_TRUE(::DeleteFileA(doomed.c_str()));
  ModalResponder responder({IDOK, IDOK});
  Command(launcher, ID_RELOAD_ICON);
  EXPECT_EQ(Record(launcher, 0).m_nIconIndex, 0);
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemImage(0), 2);  // the picture on screen stays
  Command(launcher, ID_LAUNCH_SELECTED);
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].title, "Invalid Target");
  EXPECT_EQ(seen[0].text,
            "The specified path for this shortcut is\ninvalid. Correct the target path and the\nprogram icon should be "
            "restored.");
  EXPECT_EQ(seen[1].title, "Invalid Shortcut Target");
}

TEST_F(EditingCommandsTest, TheRealFileDialogAndFolderBrowserOpenWithTheirTitles) {
  CFileDialog::SetResponderForTesting(nullptr);
  CFolderPicker::SetResponderForTesting(nullptr);
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  {
    ModalResponder responder({IDCANCEL, IDCANCEL});
    Command(launcher, ID_NEW_PROGRAM_SHORTCUT);
    Command(launcher, ID_NEW_FOLDER_SHORTCUT);
    const auto seen = responder.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "Open Program Executable");
    EXPECT_EQ(seen[1].title, "Select Folder");
  }
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 0);

  // From the properties dialog the chooser is that dialog's own: it stays disabled meanwhile.
  AddItem(launcher, "PROGRAM", "Tool", m_tool, 2);
  Select(launcher, 0);
  HWND properties = nullptr, owner = nullptr;
  bool propertiesEnabled = true;
  ModalResponder nested({[&](HWND dialog, const SeenDialog&) {
                           properties = dialog;
                           PostClick(dialog, IDC_CHANGE_TARGET);
                         },
                         [&](HWND dialog, const SeenDialog& seen) {
                           owner = ::GetWindow(dialog, GW_OWNER);
                           propertiesEnabled = ::IsWindowEnabled(properties) != FALSE;
                           ModalResponder::Press(IDCANCEL)(dialog, seen);
                           WaitUntil([&] { return !::IsWindow(dialog); });
                           ::PostMessageA(properties, WM_COMMAND, IDCANCEL, 0);
                         }},
                        0);
  Command(launcher, ID_PROPERTIES);
  ASSERT_EQ(nested.Seen().size(), 2u);
  EXPECT_EQ(nested.Seen()[1].title, "Open Program Executable");
  EXPECT_EQ(owner, properties);
  EXPECT_FALSE(propertiesEnabled);
  EXPECT_EQ(Record(launcher, 0).m_strTarget, m_tool);
}
