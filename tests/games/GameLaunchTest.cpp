// The two Launch commands end to end, with the recorder program standing in for each game:
// the quick route and the dialog route of both games, what reaches the game's command line
// and working directory, what is stored, and what Cancel, Esc and a failed start do.
#include "games/GameLaunch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "games/DialogDriving.h"
#include "res/resource.h"
#include "support/LauncherHarness.h"
#include "util/SystemUtil.h"

using namespace oltest;

namespace {

std::vector<std::string> SettingsSnapshot(const ol::CLauncherSettings& settings) {
  std::vector<std::string> lines;
  for (const ol::TextSetting& text : ol::kTextSettings) {
    lines.push_back(std::string(text.name) + "=" + settings.*text.member);
  }
  for (const ol::IntegerSetting& number : ol::kIntegerSettings) {
    lines.push_back(std::string(number.name) + "=" + std::to_string(settings.*number.member));
  }
  return lines;
}

// Started without a command line, a program gets its own path (perhaps quoted) instead.
bool IsPathAlone(const std::string& commandLine, const std::string& program) {
  return commandLine == program || commandLine == "\"" + program + "\"";
}

class GameLaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearInstallerEntries();
    ASSERT_TRUE(m_launcher.Start());
    for (const std::string& folder : {m_firstFolder, m_secondFolder, m_secondBin}) {
      ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    ASSERT_TRUE(CopyTestFile(RecorderPath(), m_firstFolder + "\\Orbels.exe"));
    ASSERT_TRUE(CopyTestFile(RecorderPath(), m_secondExecutable));
    Settings().m_strGameLocation = m_firstFolder;
    Settings().m_strGameTwoExecutable = m_secondExecutable;
  }
  void TearDown() override {
    ClearInstallerEntries();
    ::SetEnvironmentVariableA("OL_RECORDER_OUT", nullptr);
  }

  ol::CLauncherSettings& Settings() { return *m_launcher.View(); }
  // Each launch records into a file of its own.
  void LaunchFirst() {
    NextRecording();
    ol::LaunchFirstGame(Settings(), m_launcher.FrameHwnd());
  }
  void LaunchSecond() {
    NextRecording();
    ol::LaunchSecondGame(Settings(), m_launcher.FrameHwnd());
  }
  RecordedStart Started() const {
    return WaitForRecording(m_out).value_or(RecordedStart{"<nothing started>", "<nothing started>"});
  }
  bool Minimized() const { return ::IsIconic(m_launcher.FrameHwnd()) != FALSE; }
  void Restore() const { ::ShowWindow(m_launcher.FrameHwnd(), SW_RESTORE); }

  LauncherHarness m_launcher;
  const std::string m_firstFolder = m_launcher.Dir() / "The Orbels";
  const std::string m_secondFolder = m_launcher.Dir() / "Orbels 2";
  const std::string m_secondBin = m_secondFolder + "\\TOBin";
  const std::string m_secondExecutable = m_secondBin + "\\Orbels2.exe";
  std::string m_out;

 private:
  void NextRecording() {
    m_out = m_launcher.Dir() / ("start" + std::to_string(++m_starts) + ".txt");
    ::SetEnvironmentVariableA("OL_RECORDER_OUT", m_out.c_str());
  }
  int m_starts = 0;
};

}  // namespace

TEST_F(GameLaunchTest, QuickLaunchOfTheFirstGamePassesItsPathAndTheSwitches) {
  ModalResponder noDialog;
  Settings().m_bHideLaunch = 2;  // any value but 0 is set
  Settings().m_bRunInWindow = 1;  // with "Skip Intro", which is on by default
  LaunchFirst();
  RecordedStart seen = Started();
  EXPECT_EQ(seen.commandLine, m_firstFolder + "\\Orbels.exe -skip_intro -w");  // the blank stays unquoted
  EXPECT_EQ(seen.workingDirectory, m_firstFolder);
  EXPECT_TRUE(Minimized());

  Restore();
  Settings().m_bAutoMinimize = 0;
  Settings().m_bSkipIntro = Settings().m_bRunInWindow = 0;
  LaunchFirst();
  EXPECT_EQ(Started().commandLine, m_firstFolder + "\\Orbels.exe");
  EXPECT_FALSE(Minimized());

  // A trailing backslash is kept, so two stand before the file name; odd flag values count.
  Settings().m_strGameLocation = m_firstFolder + "\\";
  Settings().m_bRunHighRes = 5;
  Settings().m_bDisableDX6 = -1;
  LaunchFirst();
  seen = Started();
  EXPECT_EQ(seen.commandLine, m_firstFolder + "\\\\Orbels.exe -r1024x768 -nodx6");
  EXPECT_EQ(seen.workingDirectory, m_firstFolder);
  EXPECT_TRUE(noDialog.Seen().empty());
}

TEST_F(GameLaunchTest, QuickLaunchOfTheSecondGamePassesOnlyTheSwitches) {
  ModalResponder noDialog;
  Settings().m_bHideLaunch = 1;
  Settings().m_bSpecifyResolution = 1;
  Settings().m_nResolutionRadio = 2;
  LaunchSecond();
  RecordedStart seen = Started();
  EXPECT_EQ(seen.commandLine, " -r1152x864");
  EXPECT_EQ(seen.workingDirectory, m_secondBin);

  Settings().m_nResolutionRadio = 5;  // no switch at all, where the dialog would show the custom one
  LaunchSecond();
  seen = Started();
  EXPECT_TRUE(IsPathAlone(seen.commandLine, m_secondExecutable)) << seen.commandLine;

  Settings().m_nResolutionRadio = 0;
  Settings().m_bRunTwoInWindow = Settings().m_bNoSoundTwo = 1;
  LaunchSecond();
  EXPECT_EQ(Started().commandLine, " -w -nosound -r800x600");
  EXPECT_TRUE(noDialog.Seen().empty());
}

TEST_F(GameLaunchTest, TheFirstDialogIsSeededAndOnOkItsChoicesAreStoredAndItsSwitchesPassed) {
  const std::string autoFolder = m_launcher.Dir() / "Auto Orbels";
  ::CreateDirectoryA(autoFolder.c_str(), nullptr);
  ASSERT_TRUE(CopyTestFile(RecorderPath(), autoFolder + "\\Orbels.exe"));
  SetInstallerEntry("Software\\Quarrow\\The Orbels", "ORBELS_DATA", autoFolder);
  const std::string oldPlace = m_launcher.Dir() / "Old Place";
  Settings().m_strGameLocation = oldPlace;
  Settings().m_bNoSound = 1;
  Settings().m_bRunHighRes = 5;  // stray stored values show as set
  Settings().m_bDisableDX6 = 2;
  ModalResponder responder({DriveThenPress(
                               [&](HWND d) {
                                 EXPECT_EQ(ItemText(d, IDC_GAME_LOCATION), oldPlace);
                                 for (int id : {IDC_SKIP_INTRO, IDC_NO_SOUND, IDC_RUN_HIGH_RES, IDC_DISABLE_DX6}) {
                                   EXPECT_TRUE(IsChecked(d, id)) << id;
                                 }
                                 EXPECT_FALSE(IsChecked(d, IDC_RUN_IN_WINDOW));
                                 EXPECT_FALSE(IsChecked(d, IDC_HIDE_LAUNCH));
                                 EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE),
                                           "Orbels.exe -r1024x768 -skip_intro -nosound -nodx6");
                                 Click(d, IDC_AUTO_LOCATE);
                                 for (int id : {IDC_NO_SOUND, IDC_RUN_HIGH_RES, IDC_DISABLE_DX6, IDC_RUN_IN_WINDOW}) {
                                   Click(d, id);
                                 }
                                 Click(d, IDC_HIDE_LAUNCH);
                               },
                               IDOK)},
                           0);
  LaunchFirst();
  const RecordedStart seen = Started();
  EXPECT_EQ(seen.commandLine, "-skip_intro -w");
  EXPECT_EQ(seen.workingDirectory, autoFolder);
  EXPECT_TRUE(Minimized());
  EXPECT_EQ(Settings().m_strGameLocation, autoFolder);
  EXPECT_EQ(Settings().m_bNoSound + Settings().m_bRunHighRes + Settings().m_bDisableDX6, 0);
  EXPECT_EQ(Settings().m_bRunInWindow, 1);
  EXPECT_EQ(Settings().m_bHideLaunch, 1);

  // "Hide Launch" serves both games: the second one now starts without its dialog.
  Restore();
  Settings().m_bRunTwoInWindow = 1;
  LaunchSecond();
  EXPECT_EQ(Started().commandLine, " -w");
  EXPECT_EQ(responder.Seen().size(), 1u);
}

TEST_F(GameLaunchTest, TheSecondDialogStoresItsChoicesWithMinusOneForNoResolutionButton) {
  SetInstallerEntry("Software\\VORN GAMES\\The Orbels 2", "Install Dir", m_secondFolder + "\\");
  Settings().m_strGameTwoExecutable = "C:\\Nowhere\\Old.exe";
  Settings().m_bSpecifyResolution = 1;
  Settings().m_nResolutionRadio = 3;
  Settings().m_strCustomResolution = "1280 x 1024";
  ModalResponder responder(
      {DriveThenPress(
           [&](HWND d) {
             for (int id : {IDC_RESOLUTION_800X600, IDC_RESOLUTION_1024X768, IDC_RESOLUTION_CUSTOM}) {
               EXPECT_FALSE(IsChecked(d, id)) << id;
             }
             EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Old.exe -r1280 x 1024");
             Click(d, IDC_AUTO_LOCATE2);
             EXPECT_EQ(ItemText(d, IDC_GAME_EXECUTABLE), m_secondExecutable);
             Click(d, IDC_RUN_IN_WINDOW2);
             EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -r1280 x 1024");
           },
           IDOK),
       DriveThenPress(
           [&](HWND d) {
             EXPECT_EQ(ItemText(d, IDC_GAME_EXECUTABLE), m_secondExecutable);
             EXPECT_TRUE(IsChecked(d, IDC_RUN_IN_WINDOW2));
             EXPECT_TRUE(IsChecked(d, IDC_SPECIFY_RESOLUTION));
             Click(d, IDC_RESOLUTION_800X600);
             EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -r800x600");
             Click(d, IDC_SPECIFY_RESOLUTION);
             Click(d, IDC_RUN_IN_WINDOW2);
             EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe");
           },
           IDOK)},
      0);
  LaunchSecond();
  RecordedStart seen = Started();
  EXPECT_EQ(seen.commandLine, "-w -r1280 x 1024");
  EXPECT_EQ(seen.workingDirectory, m_secondBin);
  EXPECT_EQ(Settings().m_nResolutionRadio, -1);
  EXPECT_EQ(Settings().m_strGameTwoExecutable, m_secondExecutable);
  EXPECT_EQ(Settings().m_bRunTwoInWindow, 1);
  EXPECT_EQ(Settings().m_strCustomResolution, "1280 x 1024");

  Restore();
  LaunchSecond();
  seen = Started();
  EXPECT_TRUE(IsPathAlone(seen.commandLine, m_secondExecutable)) << seen.commandLine;  // no switch: no command line
  EXPECT_EQ(Settings().m_nResolutionRadio, 0);
  EXPECT_EQ(Settings().m_bSpecifyResolution + Settings().m_bRunTwoInWindow + Settings().m_bHideLaunch, 0);
}

TEST_F(GameLaunchTest, EscOrCancelStoresMinimizesAndStartsNothing) {
  auto escape = [](int focusId) {
    return [focusId](HWND d, const SeenDialog&) {
      PressKey(d, focusId, VK_ESCAPE);
      if (!WaitUntil([d] { return !::IsWindow(d); })) {
        ADD_FAILURE() << "Esc left the dialog open";
        ModalResponder::Press(IDCANCEL)(d, {});
      }
    };
  };
  ModalResponder responder(
      {[&](HWND d, const SeenDialog& seen) {
         Click(d, IDC_RUN_HIGH_RES);
         Click(d, IDC_HIDE_LAUNCH);
         SetItemText(d, IDC_GAME_LOCATION, "D:\\Elsewhere");
         escape(IDC_RUN_HIGH_RES)(d, seen);
       },
       DriveThenPress(
           [](HWND d) {
             Click(d, IDC_SPECIFY_RESOLUTION);
             Click(d, IDC_HIDE_LAUNCH2);
             SetItemText(d, IDC_GAME_EXECUTABLE, "D:\\Elsewhere\\Orbels2.exe");
           },
           IDCANCEL),
       escape(IDC_NO_SOUND2)},
      0);
  const std::vector<std::string> before = SettingsSnapshot(Settings());
  std::vector<std::string> unused;
  for (int i = 0; i < 3; ++i) {
    i == 0 ? LaunchFirst() : LaunchSecond();
    unused.push_back(m_out);
  }
  EXPECT_EQ(SettingsSnapshot(Settings()), before);
  EXPECT_FALSE(Minimized());
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].title, "Launch The Orbels...");
  EXPECT_EQ(seen[2].title, "Launch The Orbels 2...");

  // The start that does follow is the only one that happened.
  Settings().m_bHideLaunch = 1;
  LaunchFirst();
  EXPECT_EQ(Started().workingDirectory, m_firstFolder);
  for (const std::string& out : unused) EXPECT_FALSE(ol::PathExists(out)) << out;
}

TEST_F(GameLaunchTest, AutoMinimizeStillMinimizesWhenTheGameCannotStart) {
  std::atomic<HWND> owner = nullptr;
  ModalResponder responder({[&](HWND box, const SeenDialog& seen) {
                              owner = ::GetWindow(box, GW_OWNER);
                              ModalResponder::Press(IDOK)(box, seen);
                            }},
                           0);
  Settings().m_bHideLaunch = 1;
  Settings().m_strGameLocation = "";  // the program "\Orbels.exe" with no working directory
  LaunchFirst();
  EXPECT_TRUE(Minimized());
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Program Start Error");
  EXPECT_EQ(seen[0].icon, "hand");
  EXPECT_EQ(seen[0].text.rfind("Orbels Launch could not start the program\n\\Orbels.exe\n\n", 0), 0u) << seen[0].text;
  EXPECT_EQ(owner.load(), m_launcher.FrameHwnd());
}
