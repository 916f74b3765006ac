// The built OrbelsLaunch.exe as a user starts it: its own process in a folder of its own,
// driven from outside through its window, then its data file and settings read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/CatalogueLock.h"
#include "catalogue/DataFile.h"
#include "catalogue/DataFileFormat.h"
#include "res/resource.h"
#include "support/LauncherHarness.h"
#include "support/LauncherProcess.h"
#include "support/ModalResponder.h"
#include "support/TestFiles.h"

using namespace oltest;

namespace {

std::string Catalogue(const std::vector<ol::CShortcut>& records) {
  return ol::FormatDataFile(static_cast<int>(records.size()), [&records](int i) -> const ol::CShortcut& {
    return records[static_cast<std::size_t>(i)];
  });
}

class LauncherProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearLauncherSettings(); }
  ScratchDir m_dir;
};

}  // namespace

TEST_F(LauncherProcessTest, FileExitEndsTheProgramAndSavesTheCatalogueAndTheSettings) {
  // Carried on a drive that had the letter Q where the catalogue was made, and another here: its
  // program is found on the launcher's own drive and starts there, and the catalogue keeps Q.
  LauncherProcess launcher(m_dir / "Orbels Launch");
  ASSERT_TRUE(::CreateDirectoryA((launcher.Folder() + "\\Tools").c_str(), nullptr));
  ASSERT_TRUE(CopyTestFile(RecorderPath(), launcher.Folder() + "\\Tools\\tool.exe"));
  const ol::CShortcut tool{"PROGRAM", "Tool", "Q" + launcher.Folder().substr(1) + "\\Tools\\tool.exe", "-carried", 0};
  const ol::CShortcut zed{"FOLDER", "Zed", "C:\\z", "", 0};
  const ol::CShortcut alpha{"FOLDER", "Alpha", "C:\\a", "", 0};
  ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), Catalogue({tool, zed, alpha})));
  const std::string out = m_dir / "recorded.txt";
  ::SetEnvironmentVariableA("OL_RECORDER_OUT", out.c_str());
  ASSERT_TRUE(launcher.Start());
  HWND frame = launcher.WaitForWindow();
  ASSERT_NE(frame, nullptr);
  HWND list = ::FindWindowExA(frame, nullptr, WC_LISTVIEWA, nullptr);
  ::PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);  // the first shortcut selected, and launched
  ::PostMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
  const auto started = WaitForRecording(out);
  ASSERT_TRUE(started.has_value());
  EXPECT_EQ(started->commandLine, "-carried");
  EXPECT_EQ(started->workingDirectory, launcher.Folder() + "\\Tools");
  ::PostMessageA(frame, WM_COMMAND, ID_APP_EXIT, 0);  // as choosing File > Exit sends it
  ASSERT_TRUE(launcher.WaitForExit());
  EXPECT_EQ(ReadFileBytes(launcher.DataPath()), Catalogue({alpha, tool, zed}));  // sorted at exit
  EXPECT_EQ(CountSettingsValues(), 25);
}

TEST_F(LauncherProcessTest, TheShowCommandOfTheWindowsShortcutIsFollowed) {
  // The test display has no window manager: Wine would ask it for the maximised state, hear
  // nothing, and put the window back to normal. Unmanaged, Wine sizes the window itself, as
  // Windows does.
  WineSetting unmanaged("Software\\Wine\\X11 Driver", "Managed", "N");

  LauncherProcess launcher(m_dir / "Orbels Launch");
  ASSERT_TRUE(launcher.Start(SW_SHOWMINIMIZED));
  ASSERT_NE(launcher.WaitForWindow(), nullptr);
  EXPECT_TRUE(::IsIconic(launcher.Window()));
  ASSERT_TRUE(launcher.Close());

  ASSERT_TRUE(launcher.Start(SW_SHOWMAXIMIZED));
  ASSERT_NE(launcher.WaitForWindow(), nullptr);
  EXPECT_TRUE(::IsZoomed(launcher.Window()));
  ASSERT_TRUE(launcher.Close());

  ASSERT_TRUE(launcher.Start());  // no show command: a normal window where it was placed
  ASSERT_NE(launcher.WaitForWindow(), nullptr);
  EXPECT_FALSE(::IsIconic(launcher.Window()));
  EXPECT_FALSE(::IsZoomed(launcher.Window()));
  ASSERT_TRUE(launcher.Close());
}

TEST_F(LauncherProcessTest, TheProgramDeclaresItselfAwareOfEachDisplaysDpiAndRunsAsItsUser) {
  // Wine scales no window either way, so the built program's manifest is checked, read the way
  // Windows reads it: through the activation context made from it.
  const std::string program = BuiltLauncherPath();
  ACTCTXA request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = program.c_str();
  request.lpResourceName = MAKEINTRESOURCEA(1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
  HANDLE context = ::CreateActCtxA(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE);
  auto setting = [context](const wchar_t* schema, const wchar_t* name) -> std::wstring {
    wchar_t value[64] = {};
    SIZE_T length = 0;
    const std::wstring space = std::wstring(L"http://schemas.microsoft.com/SMI/") + schema + L"/WindowsSettings";
    if (!::QueryActCtxSettingsW(0, context, space.c_str(), name, value, std::size(value), &length)) return L"(none)";
    return value;
  };
  // Per-monitor v2 where Windows 10 knows it, else per-monitor; per-monitor on Windows 8.1.
  EXPECT_EQ(setting(L"2016", L"dpiAwareness"), L"PerMonitorV2, PerMonitor");
  EXPECT_EQ(setting(L"2005", L"dpiAware"), L"true/pm");
  EXPECT_EQ(setting(L"2017", L"gdiScaling"), L"(none)");  // the program draws at full size itself
  EXPECT_EQ(setting(L"2019", L"activeCodePage"), L"UTF-8");
  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
  ASSERT_TRUE(::QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level,
                             nullptr));
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_FALSE(level.UiAccess);
  ::ReleaseActCtx(context);
}

TEST_F(LauncherProcessTest, HelpNeverLoadsALibraryPlantedBesideTheProgram) {
  LauncherProcess launcher(m_dir / "Downloads");
  const std::string planted = launcher.Folder() + "\\hhctrl.ocx";
  ASSERT_TRUE(CopyTestFile(TestBinDirectory() + "\\planted\\hhctrl.ocx", planted));
  // Windows loads the first file of that name that its search finds. Wine would take its own
  // built-in copy instead unless told to prefer files on disk for this program, as Windows does.
  WineSetting preferFiles("Software\\Wine\\AppDefaults\\OrbelsLaunch.exe\\DllOverrides", "hhctrl.ocx",
                          "native,builtin");
  const bool started = launcher.Start();
  ASSERT_TRUE(started);
  HWND frame = launcher.WaitForWindow();
  ASSERT_NE(frame, nullptr);
  ::PostMessageA(frame, WM_COMMAND, ID_HELP_CONTENTS, 0);
  HWND help = launcher.WaitForPopup();
  ASSERT_NE(help, nullptr);
  char title[256] = {};
  ::GetWindowTextA(help, title, sizeof title);
  EXPECT_NE(std::string(title), "Error Opening Help File");
  EXPECT_FALSE(::GetFileAttributesA((planted + ".loaded").c_str()) != INVALID_FILE_ATTRIBUTES)
      << "the planted library was loaded";
}

TEST_F(LauncherProcessTest, ASecondStartShowsTheFirstCopyAndTouchesNothingACopyElsewhereRunsAlongside) {
  WineSetting unmanaged("Software\\Wine\\X11 Driver", "Managed", "N");  // so that minimising works here
  const ol::CShortcut saves{"FOLDER", "Saves", "C:\\s", "", 0};
  LauncherProcess first(m_dir / "Orbels Launch");
  ASSERT_TRUE(WriteFileBytes(first.DataPath(), Catalogue({saves})));
  ASSERT_TRUE(first.Start(SW_SHOWMINIMIZED));
  HWND frame = first.WaitForWindow();
  ASSERT_NE(frame, nullptr);
  ::PostMessageA(frame, WM_COMMAND, ID_APP_ABOUT, 0);  // busy in a modal dialog
  HWND about = first.WaitForPopup();
  ASSERT_NE(about, nullptr);

  // Started again, by another spelling of the same folder: it reads and writes nothing, so
  // not even the settings key comes back.
  ClearLauncherSettings();
  ASSERT_TRUE(WriteFileBytes(first.DataPath(), "changed by hand"));
  LauncherProcess second(m_dir / "ORBELS LAUNCH");
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(second.WaitForExit(std::chrono::seconds(15)));
  EXPECT_FALSE(::IsIconic(frame));
  EXPECT_EQ(::GetForegroundWindow(), about);
  EXPECT_EQ(CountSettingsValues(), 0);
  EXPECT_EQ(ReadFileBytes(first.DataPath()), "changed by hand");

  // A catalogue held by a copy out of reach, with no window of this session to bring forward
  // (another session, user or machine; here this test holds the lock file): the start says so,
  // naming the folder, and ends without touching anything.
  LauncherProcess blocked(m_dir / "Shared Folder");
  ASSERT_TRUE(WriteFileBytes(blocked.DataPath(), "in use elsewhere"));
  const std::string lockPath = ol::CCatalogueLock::LockPathFor(blocked.DataPath());
  ASSERT_TRUE(WriteFileBytes(lockPath, ""));
  HANDLE held = ::CreateFileA(lockPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(blocked.Start());
  HWND box = blocked.WaitForPopup();
  ASSERT_NE(box, nullptr);
  const SeenDialog seen = DescribeDialog(box);
  EXPECT_EQ(seen.title, ol::kCatalogueInUseTitle);
  EXPECT_NE(seen.text.find("\n" + blocked.Folder() + "\n"), std::string::npos) << seen.text;
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(blocked.WaitForExit());
  ::CloseHandle(held);
  EXPECT_EQ(CountSettingsValues(), 0);
  EXPECT_EQ(ReadFileBytes(blocked.DataPath()), "in use elsewhere");

  // Another folder is another catalogue.
  LauncherProcess elsewhere(m_dir / "Other Copy");
  ASSERT_TRUE(elsewhere.Start());
  EXPECT_NE(elsewhere.WaitForWindow(), nullptr);
  EXPECT_TRUE(elsewhere.Close());

  ::PostMessageA(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(first.Close());
  EXPECT_EQ(ReadFileBytes(first.DataPath()), Catalogue({saves}));  // the first copy's catalogue, at its exit
}

TEST_F(LauncherProcessTest, AStartWhileTheFirstCopyIsStillClosingOpensOnceThatCopyHasEnded) {
  WineSetting unmanaged("Software\\Wine\\AppDefaults\\OrbelsLaunch.exe\\X11 Driver", "Managed", "N");
  const ol::CShortcut saves{"FOLDER", "Saves", "C:\\s", "", 0};
  LauncherProcess first(m_dir / "Orbels Launch");
  ASSERT_TRUE(WriteFileBytes(first.DataPath(), Catalogue({saves})));
  ASSERT_TRUE(first.Start());
  HWND frame = first.WaitForWindow();
  ASSERT_NE(frame, nullptr);
  // Another program holds the data file, so the first copy, closing, keeps it until its save
  // gives up and it has reported that: its window is gone, its process not yet.
  HANDLE held = ::CreateFileA(first.DataPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  HWND box = first.WaitForPopup();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), ol::kWriteErrorTitle);
  EXPECT_FALSE(::IsWindowVisible(frame));

  LauncherProcess second(first.Folder());
  ASSERT_TRUE(second.Start());
  EXPECT_FALSE(second.WaitForExit(std::chrono::seconds(3)));  // waiting for the first to end
  ::CloseHandle(held);
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(first.WaitForExit());
  HWND reopened = second.WaitForWindow();
  ASSERT_NE(reopened, nullptr);
  HWND list = ::FindWindowExA(reopened, nullptr, "SysListView32", nullptr);
  EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_TRUE(second.Close());
  EXPECT_EQ(ReadFileBytes(first.DataPath()), Catalogue({saves}));
}

TEST_F(LauncherProcessTest, NamesInAnyScriptSurviveAndALegacyFileIsConvertedAfterABackup) {
  // A folder no legacy code page can spell: the program finds its data file there only when it
  // runs with the UTF-8 code page.
  const std::string folder = m_dir / "Orbels Лаунч Ελληνικά 中文 😀";
  const std::string utf8 = Catalogue({{"FOLDER", "Café", "C:\\Café", "", 0},
                                      {"PROGRAM", "Ελληνικά", folder + "\\Ελληνικά.exe", "-λ \"ä ö\"", 0},
                                      {"FOLDER", "Русский", "D:\\Папка", "", 0},
                                      {"PROGRAM", "中文", "C:\\程序\\中文.exe", "-路径 中", 0},
                                      {"FOLDER", "😀 Emoji", "C:\\😀\\🎮", "", 0}});
  const std::string legacy = "SC_NAME=Caf\xE9\r\nSC_TYPE=FOLDER\r\nSC_PATH=C:\\Caf\xE9\r\nSC_CMLN=\r\n";
  const struct {
    const char* what;
    std::string before;
    std::string after;
    std::optional<std::string> backup;
  } kCases[] = {
      {"every script, in UTF-8", utf8, utf8, std::nullopt},
      {"code page 1252, before this version", legacy, Catalogue({{"FOLDER", "Café", "C:\\Café", "", 0}}), legacy},
  };
  for (const auto& c : kCases) {
    LauncherProcess launcher(folder);
    ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), c.before));
    ::DeleteFileA((launcher.DataPath() + ".bak").c_str());
    ASSERT_TRUE(launcher.Start()) << c.what;
    ASSERT_NE(launcher.WaitForWindow(), nullptr) << c.what;
    ASSERT_TRUE(launcher.Close()) << c.what;
    EXPECT_EQ(ReadFileBytes(launcher.DataPath()), c.after) << c.what;
    EXPECT_EQ(ReadFileBytes(launcher.DataPath() + ".bak"), c.backup) << c.what;
  }
}
