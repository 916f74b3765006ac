// Files, folders and Windows shortcuts dropped on the real list, as Explorer drops them.
#include <gtest/gtest.h>

#include <cstring>

#include <objbase.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "listview/ListTestSupport.h"
#include "res/resource.h"
#include "support/ModalResponder.h"

using namespace oltest;

namespace {

// A Windows shortcut made by the shell's own link object.
bool MakeWindowsShortcut(const std::string& path, const std::string& target, const std::string& arguments) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkA* link = nullptr;
  bool saved = false;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      const std::wstring wide(path.begin(), path.end());
      saved = SUCCEEDED(file->Save(wide.c_str(), TRUE));
      file->Release();
    }
    link->Release();
  }
  ::CoUninitialize();
  return saved;
}

class DropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLauncherSettings();
    WriteSettingsText("Last Add Folder", "C:\\Before");
    ::CreateDirectoryA((m_dir / "Tools").c_str(), nullptr);
    ::CreateDirectoryA((m_dir / "Saves").c_str(), nullptr);
    m_tool = m_dir / "Tools\\Setup.Tool.exe";
    ASSERT_TRUE(CopyTestFile(RecorderPath(), m_tool));
    ASSERT_TRUE(CopyTestFile(RecorderPath(), m_dir / "Tools\\Orbels2.exe"));  // one of the games
    ASSERT_TRUE(MakeWindowsShortcut(m_dir / "Tool.lnk", m_tool, "  -w -nosound \t"));
    ASSERT_TRUE(MakeWindowsShortcut(m_dir / "Gone.lnk", m_dir / "Tools\\gone.exe", ""));
    m_records = ol::LiveShortcutRecordCount();
  }
  void TearDown() override { EXPECT_EQ(ol::LiveShortcutRecordCount(), m_records); }

  int Selected(LauncherHarness& launcher) { return launcher.View()->SelectedItem(); }

  ScratchDir m_dir;
  std::string m_tool;
  long m_records = 0;
};

}  // namespace

TEST_F(DropTest, OneDroppedItemIsAddedOrRefusedAsTheMenuCommandsWould) {
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  // A program: named after its file, its own icon, selected.
  DropFiles(launcher, {m_tool});
  ASSERT_EQ(Names(launcher), (std::vector<std::string>{"Setup.Tool"}));
  EXPECT_EQ(Record(launcher, 0).m_nIconIndex, 2);
  EXPECT_EQ(Selected(launcher), 0);
  // A folder and a drive root: folder shortcuts with the folder image.
  DropFiles(launcher, {m_dir / "Saves"});
  DropFiles(launcher, {"C:\\"});
  ASSERT_EQ(Names(launcher), (std::vector<std::string>{"", "Saves", "Setup.Tool"}));
  EXPECT_EQ(Record(launcher, 0).m_strType, "FOLDER");
  EXPECT_EQ(Record(launcher, 0).m_strTarget, "C:\\");
  EXPECT_EQ(Record(launcher, 1).m_nIconIndex, 1);
  EXPECT_EQ(Selected(launcher), 0);
  // The same folder in other letters is another target: the test is exact.
  DropFiles(launcher, {m_dir / "SAVES"});
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 4);
  // A Windows shortcut adds what it points at, its arguments as the trimmed command line.
  ol::RemoveAllShortcuts(launcher.View()->GetListCtrl());
  DropFiles(launcher, {m_dir / "Tool.lnk"});
  ASSERT_EQ(Names(launcher), (std::vector<std::string>{"Setup.Tool"}));
  EXPECT_EQ(Record(launcher, 0).m_strTarget, m_tool);
  EXPECT_EQ(Record(launcher, 0).m_strCommandLine, "-w -nosound");

  // Refusals: the menu commands' messages, and for a shortcut to nothing one of its own.
  launcher.View()->GetListCtrl().SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ModalResponder responder({IDOK, IDOK, IDOK});
  DropFiles(launcher, {m_tool});
  EXPECT_EQ(Selected(launcher), 0);  // the existing one, selected
  DropFiles(launcher, {m_dir / "Tools\\Orbels2.exe"});
  DropFiles(launcher, {m_dir / "Gone.lnk"});
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].title, "Shortcut Already Exists");
  EXPECT_EQ(seen[1].title, "Shortcut Not Allowed");
  EXPECT_EQ(seen[2].title, "Shortcut Not Added");
  EXPECT_EQ(seen[2].text, m_dir / "Gone.lnk" + "\n\nThis Windows shortcut points to a file or folder that is not there.");
  EXPECT_EQ(seen[2].icon, "exclamation");
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 1);
  EXPECT_EQ(launcher.View()->m_strLastAddFolder, "C:\\Before");  // drops never move it
}

TEST_F(DropTest, SeveralItemsAddWhatTheyCanAndTellTheRestInOneMessage) {
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "Saves", m_dir / "Saves", 1);
  ASSERT_TRUE(WriteFileBytes(m_dir / "Broken.lnk", "not a Windows shortcut at all"));
  ModalResponder responder({IDOK});
  DropFiles(launcher, {m_dir / "Gone.lnk", m_tool, m_dir / "Saves", m_dir / "Tools\\Orbels2.exe", m_dir / "Tools",
                  m_dir / "nothing-here.txt", m_dir / "Broken.lnk"});
  EXPECT_EQ(Names(launcher), (std::vector<std::string>{"Saves", "Setup.Tool", "Tools"}));
  EXPECT_EQ(Selected(launcher), 2);  // the last one added
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Some Items Were Not Added");
  EXPECT_EQ(seen[0].text,
            "These dropped items were not added to the shortcut list:\n\n"
            "Gone.lnk: This Windows shortcut points to a file or folder that is not there.\n"
            "Saves: A shortcut to this folder already exists.\n"
            "Orbels2.exe: Shortcuts to The Orbels, The Orbels 2 and Orbels Launch are not allowed.\n"
            "nothing-here.txt: This file or folder is not there.\n"
            "Broken.lnk: This Windows shortcut could not be read.");
  EXPECT_EQ(seen[0].icon, "exclamation");
  EXPECT_EQ(launcher.View()->m_strLastAddFolder, "C:\\Before");
  launcher.Close();
  // Saved at exit like any change.
  const auto saved = ReadFileBytes(launcher.DataPath());
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find("SC_NAME=Tools\r\nSC_TYPE=FOLDER\r\n"), std::string::npos);
}
