// Launching the selected shortcut from every route, and what each mouse mode launches on.
#include <gtest/gtest.h>

#include "catalogue/ShortcutLaunch.h"
#include "listview/ListTestSupport.h"
#include "res/resource.h"
#include "support/ModalResponder.h"
#include "support/TestIconCalls.h"

using namespace oltest;

namespace {

class ShortcutLaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLauncherSettings();
    ol::SetShellOpenForTesting([this](const std::string& target) { m_opened.push_back(target); });
    m_out = m_dir / "recording.txt";
    ::SetEnvironmentVariableA("OL_RECORDER_OUT", m_out.c_str());
    // The recorder stands in for a program in a folder of its own.
    ::CreateDirectoryA((m_dir / "Tool Dir").c_str(), nullptr);
    m_program = m_dir / "Tool Dir\\tool.exe";
    ASSERT_TRUE(CopyTestFile(RecorderPath(), m_program));
  }
  void TearDown() override { ol::SetShellOpenForTesting(nullptr); }

  bool Started() {
    const bool started = WaitForRecording(m_out, std::chrono::milliseconds(m_expectStart ? 20000 : 1500)).has_value();
    ::DeleteFileA(m_out.c_str());
    return started;
  }

  ScratchDir m_dir;
  std::string m_out;
  std::string m_program;
  std::vector<std::string> m_opened;
  bool m_expectStart = true;
};

}  // namespace

TEST_F(ShortcutLaunchTest, AProgramStartsWithItsCommandLineInItsOwnFolder) {
  // Folders and command lines in any script: what the program gets is exactly the text.
  const std::string unicodeDir = m_dir / "Игры Ελληνικά 中文 😀";
  ASSERT_TRUE(::CreateDirectoryA(unicodeDir.c_str(), nullptr));
  ASSERT_TRUE(CopyTestFile(RecorderPath(), unicodeDir + "\\Инструмент.exe"));
  const struct {
    std::string program;
    std::string commandLine;
    std::string folder;
  } kCases[] = {
      {m_program, "-fast \"two words\"", m_dir / "Tool Dir"},
      {unicodeDir + "\\Инструмент.exe", "-имя \"Ω 東京 😀\"", unicodeDir},
  };
  TestIconCalls calls;
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  for (const auto& c : kCases) {
    ol::RemoveAllShortcuts(launcher.View()->GetListCtrl());
    AddItem(launcher, "PROGRAM", "Tool", c.program, 2, c.commandLine);
    Select(launcher, 0);
    Command(launcher, ID_LAUNCH_SELECTED);
    const auto seen = WaitForRecording(m_out);
    ::DeleteFileA(m_out.c_str());
    ASSERT_TRUE(seen) << c.program;
    EXPECT_EQ(seen->commandLine, c.commandLine);  // no program path in front
    EXPECT_EQ(seen->workingDirectory, c.folder);
    EXPECT_FALSE(::IsIconic(launcher.FrameHwnd()));  // the window keeps its state
    EXPECT_EQ(launcher.View()->SelectedItem(), 0);
  }
  // A program on a slow network link, whose icon the shell declines to take, is a program all
  // the same: added with its icon, it starts.
  ol::RemoveAllShortcuts(launcher.View()->GetListCtrl());
  calls.DeclineOnce(m_program);
  DropFiles(launcher, {m_program});
  EXPECT_EQ(calls.Extractions(), 1);
  Select(launcher, 0);
  ModalResponder refusal;
  Command(launcher, ID_LAUNCH_SELECTED);
  EXPECT_TRUE(refusal.Seen().empty());
  EXPECT_TRUE(Started());
}

TEST_F(ShortcutLaunchTest, AProgramWithoutAnIconIsRefusedBeforeAnythingElse) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "PROGRAM", "Broken", m_program, 0);
  Select(launcher, 0);
  ModalResponder responder({IDOK});
  Command(launcher, ID_LAUNCH_SELECTED);
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Invalid Shortcut Target");
  EXPECT_EQ(seen[0].text, ol::kInvalidShortcutTargetText);
  EXPECT_EQ(seen[0].icon, "hand");
  m_expectStart = false;
  EXPECT_FALSE(Started());
}

TEST_F(ShortcutLaunchTest, FoldersAndOtherTypesGoToTheShell) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "Gone", "C:\\no\\such\\folder", 1);
  AddItem(launcher, "program", "Lower case", m_program, 1);
  Select(launcher, 0);
  Command(launcher, ID_LAUNCH_SELECTED);
  Select(launcher, 1);
  Command(launcher, ID_LAUNCH_SELECTED);
  EXPECT_EQ(m_opened, (std::vector<std::string>{"C:\\no\\such\\folder", m_program}));
  m_expectStart = false;
  EXPECT_FALSE(Started());
}

TEST_F(ShortcutLaunchTest, DoubleClickModeLaunchesOnDoubleClickAndEnter) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "F", "C:\\f", 1);
  SimpleNotify(launcher, NM_DBLCLK);  // nothing selected: nothing happens
  Select(launcher, 0);
  SimpleNotify(launcher, NM_CLICK);
  EXPECT_TRUE(m_opened.empty());
  SimpleNotify(launcher, NM_DBLCLK);
  EXPECT_EQ(m_opened.size(), 1u);
  KeyDownInList(launcher, VK_RETURN);
  EXPECT_EQ(m_opened.size(), 2u);
  KeyDownInList(launcher, 'A');  // other keys are the list's own
  EXPECT_EQ(m_opened.size(), 2u);
}

TEST_F(ShortcutLaunchTest, SingleClickModeLaunchesOnOneClickOnly) {
  WriteSettingsDword("Mouse Selection", 0);
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "F", "C:\\f", 1);
  Select(launcher, 0);
  SimpleNotify(launcher, NM_DBLCLK);
  EXPECT_TRUE(m_opened.empty());
  SimpleNotify(launcher, NM_CLICK);
  EXPECT_EQ(m_opened.size(), 1u);
}

TEST_F(ShortcutLaunchTest, AnOddMouseModeLaunchesOnNeitherClickButEnterStillWorks) {
  WriteSettingsDword("Mouse Selection", 5);
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "F", "C:\\f", 1);
  Select(launcher, 0);
  SimpleNotify(launcher, NM_CLICK);
  SimpleNotify(launcher, NM_DBLCLK);
  EXPECT_TRUE(m_opened.empty());
  KeyDownInList(launcher, VK_RETURN);
  EXPECT_EQ(m_opened.size(), 1u);
}

TEST_F(ShortcutLaunchTest, TheF9AcceleratorLaunches) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "F", "C:\\f", 1);
  Select(launcher, 0);
  MSG key{launcher.View()->m_hWnd, WM_KEYDOWN, VK_F9, 0};
  ASSERT_TRUE(launcher.App().PreTranslateMessage(&key));
  EXPECT_EQ(m_opened.size(), 1u);
}

TEST_F(ShortcutLaunchTest, AltEnterOpensThePropertiesOnlyWithASelection) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "F", "C:\\f", 1);
  ModalResponder responder({IDCANCEL});
  launcher.View()->SendMessage(WM_SYSKEYDOWN, VK_RETURN, 0x20000000);
  EXPECT_TRUE(responder.Seen().empty());
  Select(launcher, 0);
  launcher.View()->SendMessage(WM_SYSKEYDOWN, VK_RETURN, 0x20000000);
  ASSERT_EQ(responder.Seen().size(), 1u);
  EXPECT_EQ(responder.Seen()[0].title, "Shortcut Properties");
}
