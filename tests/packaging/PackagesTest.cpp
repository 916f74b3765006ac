// What a Windows user downloads, under Wine: the installer installs silently with its Start
// menu shortcuts and uninstall entry, upgrades in place after closing the running launcher the
// normal way, and uninstalls without touching the user's catalogue unless the box on its page
// is ticked; the zip's program runs where it is unpacked; the winget manifests say what it does.
#include <windows.h>
#include <bcrypt.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "Version.h"
#include "app/CatalogueLock.h"
#include "catalogue/DataFileFormat.h"
#include "framework/FrameWindowClass.h"
#include "support/LauncherHarness.h"
#include "support/TestFiles.h"
#include "util/ShellLink.h"
#include "util/SystemUtil.h"

namespace {

using namespace std::chrono_literals;
using oltest::ReadFileBytes;
using oltest::WriteFileBytes;

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orbels Launch";
constexpr auto kLimit = 60s;  // generous: a wait that runs out is a failure, never a measure

std::string BuildDirectory() { return oltest::TestBinDirectory() + "\\.."; }
std::string SetupPath() { return BuildDirectory() + "\\packages\\OrbelsLaunch-" OL_VERSION_TEXT "-setup.exe"; }
// The files as they were handed to the installer and the zip (packaging/make-packages.sh).
bool SameAsPacked(const std::string& path, const char* name) {
  const auto packed = ReadFileBytes(BuildDirectory() + "\\packaging\\work\\stage\\Orbels Launch\\" + name);
  return packed.has_value() && ReadFileBytes(path) == packed;
}

std::string StartMenuPath(const char* name) {
  char programs[MAX_PATH] = {};
  ::SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
  return std::string(programs) + "\\" + name;
}

// What a Start menu shortcut points at; empty when it cannot be read.
std::string ShortcutTarget(const std::string& linkPath) {
  const auto target = ol::ReadWindowsShortcut(linkPath);
  return target ? target->path : std::string();
}

// A text value of the uninstall entry; nothing when missing.
std::optional<std::string> UninstallValue(const char* name) {
  char buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (::RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(buffer);
}

// The value on a "key: value" line, at any depth and without YAML's quotes, of one of the
// installer's winget manifests, written beside it: kind ".installer" or ".locale.en-US".
std::string WingetValue(const char* kind, const std::string& key) {
  const std::string folder = BuildDirectory() + "\\packages\\winget\\";
  const std::string manifest = ReadFileBytes(folder + "Nettlewick.OrbelsLaunch" + kind + ".yaml").value_or("");
  std::smatch match;
  return std::regex_search(manifest, match, std::regex("(?:^|\n)[ -]*" + key + ": '?([^'\n]*)")) ? match[1].str() : "";
}

// A file's SHA-256 in upper-case hex, as winget writes it.
std::string Sha256Of(const std::string& path) {
  std::string bytes = ReadFileBytes(path).value_or(""), hex;
  BCRYPT_ALG_HANDLE sha256 = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  unsigned char digest[32] = {};
  ::BCryptOpenAlgorithmProvider(&sha256, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
  ::BCryptCreateHash(sha256, &hash, nullptr, 0, nullptr, 0, 0);
  ::BCryptHashData(hash, reinterpret_cast<PUCHAR>(bytes.data()), bytes.size(), 0);
  ::BCryptFinishHash(hash, digest, sizeof digest, 0);
  ::BCryptDestroyHash(hash);
  ::BCryptCloseAlgorithmProvider(sha256, 0);
  for (unsigned char byte : digest) hex += {"0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 15]};
  return hex;
}

template <typename Condition>
bool WaitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + kLimit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

// A program started in a job object of its own, so that waiting for it covers the programs it
// starts too: the uninstaller copies itself to the temporary folder, starts the copy and ends.
class Program {
 public:
  explicit Program(std::string commandLine) : m_job(::CreateJobObjectA(nullptr, nullptr)) {
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION info = {};
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                         &startup, &info)) {
      ::AssignProcessToJobObject(m_job, info.hProcess);
      ::ResumeThread(info.hThread);
      ::CloseHandle(info.hThread);
      m_process = info.hProcess;
      m_id = info.dwProcessId;
    }
  }
  ~Program() {  // one still running after a failed check is closed the normal way, or ended
    if (!HasEnded() && !Close()) ::TerminateJobObject(m_job, 1);
    if (m_process != nullptr) ::CloseHandle(m_process);
    ::CloseHandle(m_job);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool HasEnded() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION job = {};
    ::QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &job, sizeof job, nullptr);
    return m_process == nullptr || (job.ActiveProcesses == 0 && ::WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0);
  }
  // The first program's exit code once every program in the job has ended.
  std::optional<DWORD> Wait() {
    DWORD code = 0;
    if (!WaitFor([this] { return HasEnded(); }) || !::GetExitCodeProcess(m_process, &code)) return std::nullopt;
    return code;
  }
  // The launcher's main window, once it is shown.
  HWND WaitForFrame() {
    HWND frame = nullptr;
    WaitFor([&] { return HasEnded() || (frame = Frame()) != nullptr; });
    return frame;
  }
  // The launcher closed the normal way, as the user closes it.
  bool Close() {
    HWND frame = Frame();
    return frame != nullptr && ::PostMessageA(frame, WM_CLOSE, 0, 0) && Wait().has_value();
  }

 private:
  HWND Frame() const { return ol::FindLauncherFrame(m_id); }

  HANDLE m_job;
  HANDLE m_process = nullptr;
  DWORD m_id = 0;
};

std::optional<DWORD> RunToEnd(const std::string& commandLine) { return Program(commandLine).Wait(); }
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A catalogue in the data file's format but with LF line ends, which the launcher reads; what
// it saves has CR LF, so a saved file is told apart from the one put there.
std::string CatalogueAsWritten(const char* lineEnd) {
  std::string text;
  for (std::string_view line : ol::kDataFileHeader) text.append(line).append(lineEnd);
  for (const char* line : {"SC_NAME=Notepad", "SC_TYPE=PROGRAM", "SC_PATH=C:\\windows\\notepad.exe",
                           "SC_CMLN=C:\\Notes\\todo.txt", "SC_NAME=Windows", "SC_TYPE=FOLDER",
                           "SC_PATH=C:\\windows", "SC_CMLN="}) {
    text.append(line).append(lineEnd);
  }
  return text;
}

const std::string kBackup = "an older catalogue, kept by the launcher\r\n";
const std::string kOlderBackup = "an even older one\r\n";

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveInstallation();
    oltest::ClearLauncherSettings();
  }
  void TearDown() override {
    RemoveInstallation();
    oltest::ClearLauncherSettings();
  }

  // A profile such as C:\Users\o'brien: the installer must not take the apostrophe for a quote.
  std::string InstallDir() const { return m_profile / "o'brien\\Orbels Launch"; }
  std::string InDir(const char* name) const { return InstallDir() + "\\" + name; }

  // Silently, as winget runs it: with the switches of the installer's manifest.
  std::optional<DWORD> Install() {
    const std::regex folder("<INSTALLPATH>");
    return RunToEnd(Quoted(SetupPath()) + " " + WingetValue(".installer", "Silent") + " " +
                    std::regex_replace(WingetValue(".installer", "InstallLocation"), folder, InstallDir()));
  }

  // A catalogue and two backups in the install folder, and a value of ours in the settings.
  void PutUsersFiles() {
    ASSERT_TRUE(WriteFileBytes(InDir("LaunchData.olf"), CatalogueAsWritten("\n")));
    ASSERT_TRUE(WriteFileBytes(InDir("LaunchData.olf.bak"), kBackup));
    ASSERT_TRUE(WriteFileBytes(InDir("LaunchData.olf.1.bak"), kOlderBackup));
    oltest::WriteSettingsText("KeptByInstaller", "yes");
  }

  void ExpectUsersFilesAsSaved() {
    EXPECT_EQ(ReadFileBytes(InDir("LaunchData.olf")), CatalogueAsWritten("\r\n"));
    EXPECT_EQ(ReadFileBytes(InDir("LaunchData.olf.bak")), kBackup);
    EXPECT_EQ(ReadFileBytes(InDir("LaunchData.olf.1.bak")), kOlderBackup);
    EXPECT_EQ(oltest::ReadSettingsText("KeptByInstaller"), "yes");
  }

  void ExpectProgramGone() {
    for (const char* name : {"OrbelsLaunch.exe", "OrbelsLaunch.chm", "uninstall.exe"}) {
      EXPECT_FALSE(ol::PathExists(InDir(name))) << name;
    }
    EXPECT_FALSE(ol::PathExists(StartMenuPath("Orbels Launch.lnk")));
    EXPECT_FALSE(ol::PathExists(StartMenuPath("Orbels Launch Help.lnk")));
    EXPECT_FALSE(UninstallValue("InstallLocation").has_value());
  }

 private:
  static void RemoveInstallation() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    ::DeleteFileA(StartMenuPath("Orbels Launch.lnk").c_str());
    ::DeleteFileA(StartMenuPath("Orbels Launch Help.lnk").c_str());
  }

  oltest::ScratchDir m_profile;  // under the user's profile (its temporary folder)
};

TEST_F(InstallerTest, SilentInstallPutsProgramShortcutsAndUninstallEntryInPlace) {
  ASSERT_EQ(Install(), 0u);

  EXPECT_TRUE(SameAsPacked(InDir("OrbelsLaunch.exe"), "OrbelsLaunch.exe"));
  EXPECT_TRUE(SameAsPacked(InDir("OrbelsLaunch.chm"), "OrbelsLaunch.chm"));
  EXPECT_TRUE(ol::PathExists(InDir("uninstall.exe")));
  EXPECT_FALSE(ol::PathExists(InDir("LaunchData.olf")));

  EXPECT_EQ(ShortcutTarget(StartMenuPath("Orbels Launch.lnk")), InDir("OrbelsLaunch.exe"));
  EXPECT_EQ(ShortcutTarget(StartMenuPath("Orbels Launch Help.lnk")), InDir("OrbelsLaunch.chm"));

  // What an upgrade and the uninstall entry rely on.
  EXPECT_EQ(UninstallValue("InstallLocation"), InstallDir());
  EXPECT_EQ(UninstallValue("UninstallString"), Quoted(InDir("uninstall.exe")));

  // What winget is told, against what the installer is and did. Its product code names the key.
  EXPECT_EQ(WingetValue(".installer", "InstallerSha256"), Sha256Of(SetupPath()));
  const std::string key = kUninstallKey;
  EXPECT_EQ(key.substr(key.rfind('\\') + 1), WingetValue(".installer", "ProductCode"));
  EXPECT_EQ(UninstallValue("DisplayVersion"), WingetValue(".installer", "PackageVersion"));
  EXPECT_EQ(UninstallValue("DisplayName"), WingetValue(".locale.en-US", "PackageName"));
  EXPECT_EQ(UninstallValue("Publisher"), WingetValue(".locale.en-US", "Publisher"));

  Program launcher(Quoted(InDir("OrbelsLaunch.exe")));
  ASSERT_NE(launcher.WaitForFrame(), nullptr);
  ASSERT_TRUE(launcher.Close());
  EXPECT_TRUE(ol::PathExists(InDir("LaunchData.olf")));
}

TEST_F(InstallerTest, SilentUninstallClosesTheLauncherAndKeepsTheUsersFiles) {
  ASSERT_EQ(Install(), 0u);
  PutUsersFiles();
  Program launcher(Quoted(InDir("OrbelsLaunch.exe")));
  ASSERT_NE(launcher.WaitForFrame(), nullptr);

  ASSERT_EQ(RunToEnd(Quoted(InDir("uninstall.exe")) + " /S"), 0u);

  EXPECT_TRUE(launcher.HasEnded());
  ExpectProgramGone();
  ExpectUsersFilesAsSaved();
}

// Finds a window among `parent`'s descendants by its text.
HWND FindDescendant(HWND parent, const std::string& text) {
  struct Search {
    const std::string& text;
    HWND found;
  } search{text, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        char buffer[256] = {};
        ::GetWindowTextA(window, buffer, sizeof buffer);
        if (s->text != buffer || !::IsWindowVisible(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A visible window that `owner` owns (a message box of the wizard's), or nullptr.
HWND OwnedWindow(HWND owner) {
  std::pair<HWND, HWND> search{owner, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<std::pair<HWND, HWND>*>(param);
        if (::GetWindow(window, GW_OWNER) != s->first || !::IsWindowVisible(window)) return TRUE;
        s->second = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

// Run the way a user runs it, with another folder asked for: the upgrade goes to the earlier
// installation's folder without showing the folder page, closes the launcher running from
// there after asking (not a copy unzipped elsewhere), and keeps catalogue, backups and settings.
TEST_F(InstallerTest, UpgradeStaysInItsFolderClosesOnlyItsLauncherAndKeepsTheUsersFiles) {
  ASSERT_EQ(Install(), 0u);
  PutUsersFiles();
  // The installed program stands for an older build: same program, other bytes.
  const std::string oldProgram = ReadFileBytes(InDir("OrbelsLaunch.exe")).value_or("") + "older build";
  ASSERT_TRUE(WriteFileBytes(InDir("OrbelsLaunch.exe"), oldProgram));
  const std::string unzipped = InstallDir() + " unzipped";
  ASSERT_TRUE(::CreateDirectoryA(unzipped.c_str(), nullptr));
  ASSERT_TRUE(oltest::CopyTestFile(InDir("OrbelsLaunch.exe"), unzipped + "\\OrbelsLaunch.exe"));

  Program launcher(Quoted(InDir("OrbelsLaunch.exe")));
  ASSERT_NE(launcher.WaitForFrame(), nullptr);
  Program elsewhere(Quoted(unzipped + "\\OrbelsLaunch.exe"));
  ASSERT_NE(elsewhere.WaitForFrame(), nullptr);
  const std::string otherFolder = InstallDir() + " new";
  Program setup(Quoted(SetupPath()) + " /D=" + otherFolder);
  HWND wizard = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wizard = ::FindWindowA(nullptr, "Orbels Launch Setup")) != nullptr; }));
  ASSERT_TRUE(WaitFor([&] { return FindDescendant(wizard, "&Next >") != nullptr; }));
  ::SendMessageA(FindDescendant(wizard, "&Next >"), BM_CLICK, 0, 0);
  HWND asked = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (asked = OwnedWindow(wizard)) || FindDescendant(wizard, "B&rowse..."); }));
  EXPECT_EQ(FindDescendant(wizard, "B&rowse..."), nullptr) << "the folder page was shown";
  ASSERT_NE(asked, nullptr);
  ::PostMessageA(asked, WM_COMMAND, IDOK, 0);  // close it now
  HWND finish = nullptr, runBox = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    return (finish = FindDescendant(wizard, "&Finish")) && (runBox = FindDescendant(wizard, "Run Orbels Launch"));
  }));
  ::SendMessageA(runBox, BM_CLICK, 0, 0);
  ::SendMessageA(finish, BM_CLICK, 0, 0);
  ASSERT_EQ(setup.Wait(), 0u);

  EXPECT_TRUE(launcher.HasEnded());
  EXPECT_FALSE(elsewhere.HasEnded());
  ExpectUsersFilesAsSaved();
  EXPECT_TRUE(SameAsPacked(InDir("OrbelsLaunch.exe"), "OrbelsLaunch.exe"));
  EXPECT_EQ(UninstallValue("InstallLocation"), InstallDir());
  EXPECT_EQ(ShortcutTarget(StartMenuPath("Orbels Launch.lnk")), InDir("OrbelsLaunch.exe"));
  EXPECT_FALSE(ol::PathExists(otherFolder));
  EXPECT_TRUE(elsewhere.Close());
}

// The installer finds a running launcher by the frame's window class, which its script names too.
TEST(InstallerScript, NamesTheLaunchersWindowClass) {
  const std::string script = ReadFileBytes(BuildDirectory() + "\\packaging-test\\OrbelsLaunch.nsi").value_or("");
  std::smatch define;
  ASSERT_TRUE(std::regex_search(script, define, std::regex("\n!define FRAME_CLASS \"([^\"]*)\"\n")));
  EXPECT_EQ(define[1].str(), kFrameWindowClass);
}

// The box on the uninstaller's first page, ticked the way a user ticks it.
TEST_F(InstallerTest, UninstallRemovesTheUsersFilesOnlyWhenTheirBoxIsTicked) {
  ASSERT_EQ(Install(), 0u);
  PutUsersFiles();
  // What a save cut short and a launcher that ended with its machine left, and the icon cache.
  ASSERT_TRUE(WriteFileBytes(InDir("LaunchData.olf.tmp"), CatalogueAsWritten("\r\n")));
  ASSERT_TRUE(WriteFileBytes(InDir("LaunchData.olf.lock"), ""));
  ASSERT_TRUE(WriteFileBytes(InDir("LaunchIcons.cache"), "pictures"));

  Program uninstaller(Quoted(InDir("uninstall.exe")));
  HWND wizard = nullptr;
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    wizard = ::FindWindowA(nullptr, "Orbels Launch Uninstall");
    return wizard != nullptr &&
           (box = FindDescendant(wizard, "Also remove my shortcut catalogue and settings")) != nullptr;
  }));
  EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ::SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);

  HWND uninstallButton = ::GetDlgItem(wizard, IDOK);
  char text[64] = {};
  ::GetWindowTextA(uninstallButton, text, sizeof text);
  EXPECT_STREQ(text, "&Uninstall");
  ::SendMessageA(uninstallButton, BM_CLICK, 0, 0);
  HWND finish = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (finish = FindDescendant(wizard, "&Finish")) != nullptr; }));
  ::SendMessageA(finish, BM_CLICK, 0, 0);
  ASSERT_EQ(uninstaller.Wait(), 0u);

  ExpectProgramGone();
  EXPECT_EQ(oltest::FilesIn(InstallDir()), std::vector<std::string>{}) << "all gone";
  EXPECT_EQ(oltest::CountSettingsValues(), 0);
  EXPECT_FALSE(ol::PathExists(InstallDir()));
}

// The zip, unpacked by the test run into an empty folder (tests/CMakeLists.txt).
TEST(Zip, UnpackedProgramRunsWhereItIsAndTheZipHoldsExactlyItsFiles) {
  const std::string unpacked = BuildDirectory() + "\\packaging-test\\unzipped";
  const std::string folder = unpacked + "\\Orbels Launch";
  EXPECT_EQ(oltest::FilesIn(unpacked), std::vector<std::string>{"Orbels Launch"});
  EXPECT_EQ(oltest::FilesIn(folder), (std::vector<std::string>{"OrbelsLaunch.chm", "OrbelsLaunch.exe", "ReadMe.txt"}));

  const std::string readMe = ReadFileBytes(folder + "\\ReadMe.txt").value_or("");
  EXPECT_EQ(readMe.rfind("Orbels Launch " OL_VERSION_TEXT "\r\n", 0), 0u);
  std::string bareLines = readMe;  // what is left once every CR LF is taken out
  for (std::size_t at; (at = bareLines.find("\r\n")) != std::string::npos;) bareLines.erase(at, 2);
  EXPECT_GT(readMe.size() - bareLines.size(), 40u) << "more than 20 lines";
  EXPECT_EQ(bareLines.find_first_of("\r\n"), std::string::npos) << "every line of the ReadMe ends in CR LF";

  {
    Program launcher(Quoted(folder + "\\OrbelsLaunch.exe"));
    ASSERT_NE(launcher.WaitForFrame(), nullptr);
    ASSERT_TRUE(launcher.Close());
  }
  EXPECT_TRUE(ol::PathExists(folder + "\\LaunchData.olf"));
  ::DeleteFileA((folder + "\\LaunchData.olf").c_str());
}

}  // namespace
