// A save cut short: stopped at each of its file-system steps in turn, and (in make soak) the
// built launcher killed at random moments while it saves a catalogue of ten thousand shortcuts
// at exit. LaunchData.olf must always read back as exactly the catalogue from before the save
// or exactly the one after it, the next start must load that one, and interrupted saves must
// not leave files piling up. OL_KILL_TRIALS sets the number of random kills (make soak runs
// 200; without it there are none), OL_KILL_SEED their seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "catalogue/CatalogueList.h"
#include "catalogue/DataFile.h"
#include "catalogue/DataFileFormat.h"
#include "support/FaultyFileSystem.h"
#include "support/LauncherHarness.h"
#include "support/LauncherProcess.h"
#include "support/ModalResponder.h"
#include "support/TestFiles.h"
#include "support/TestListWindow.h"

using namespace oltest;
using Clock = std::chrono::steady_clock;
using Us = std::chrono::microseconds;

namespace {

std::string Catalogue(std::vector<ol::CShortcut>::const_iterator from, std::vector<ol::CShortcut>::const_iterator to) {
  return ol::FormatDataFile(static_cast<int>(to - from), [from](int i) -> const ol::CShortcut& { return from[i]; });
}

// Folder records (they load without icon extraction) with names of every kind the catalogue
// orders: empty, long, lower case, bytes above 127; and the type "program" in lower case, a
// folder with a command line of its own. In catalogue order, as a save writes them.
std::vector<ol::CShortcut> TenThousandShortcuts() {
  std::vector<ol::CShortcut> records;
  for (int i = 0; i < 10000; ++i) {
    const std::string number = std::to_string(100000 + i).substr(1);
    std::string name = "Saved Games " + number;
    if (i % 997 == 0) name.clear();
    else if (i % 13 == 0) name = "saves " + number;
    else if (i % 11 == 0) name = "\xC3\x84rger " + number;  // UTF-8
    else if (i % 7 == 0) name = std::string(1200, 'n') + number;
    const bool lowerProgram = i % 5 == 0;
    records.push_back({lowerProgram ? "program" : "FOLDER", name, "C:\\Games\\Folder " + number,
                       lowerProgram ? " -x " + number : "", 1});
  }
  std::stable_sort(records.begin(), records.end(),
                   [](const ol::CShortcut& a, const ol::CShortcut& b) { return a.m_strName < b.m_strName; });
  return records;
}

// Starts the launcher and removes its first shortcut as a user does from the keyboard (End and
// Home select it, Delete asks, Yes removes it); true once the list is one shorter.
bool StartAndDeleteFirst(LauncherProcess& launcher, std::size_t count) {
  if (!launcher.Start() || launcher.WaitForWindow(std::chrono::seconds(120)) == nullptr) return false;
  HWND list = ::FindWindowExA(launcher.Window(), nullptr, "SysListView32", nullptr);
  for (WPARAM key : {VK_END, VK_HOME, VK_DELETE}) ::PostMessageA(list, WM_KEYDOWN, key, 0);
  HWND box = launcher.WaitForPopup();
  if (box == nullptr || WindowText(box) != "Remove Shortcut") return false;
  ::PostMessageA(box, WM_COMMAND, IDYES, 0);
  for (int i = 0; i < 1500; ++i, ::Sleep(20)) {
    DWORD_PTR items = 0;
    ::SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 1000, &items);
    if (items == count - 1) return true;
  }
  return false;
}

// What the folder holds, each file with its size and, where it is one, which catalogue.
std::string DescribeFolder(const std::string& folder, const std::string& old, const std::string& saved) {
  std::string text;
  for (const std::string& name : FilesIn(folder)) {
    const auto bytes = ReadFileBytes(folder + "\\" + name);
    text += "\n  " + name + " (" + (bytes ? std::to_string(bytes->size()) + " bytes" : "unreadable") +
            (bytes == old ? ", the old catalogue" : bytes == saved ? ", the new catalogue" : "") + ")";
  }
  return text;
}

}  // namespace

// Stopped before each of its file-system calls in turn (nothing more is done, the handles are
// closed, as when the program ends there), the save leaves the old catalogue or the new one,
// and the next start loads exactly that, and says so when it had to restore the new one. The
// same for the very first save, which has no old file.
TEST(KillDuringSaveTest, StoppedAtEachStepTheNextStartLoadsTheOldOrTheNewCatalogue) {
  std::vector<ol::CShortcut> records = TenThousandShortcuts();
  records.resize(800);
  const std::string old = Catalogue(records.begin(), records.end());
  const std::string saved = Catalogue(records.begin() + 1, records.end());
  ASSERT_GT(saved.size(), 65536u);  // written in two pieces
  for (const bool firstSave : {false, true}) {
    int oldCount = 0, newCount = 0;
    for (int step = 1;; ++step) {
      SCOPED_TRACE((firstSave ? "first save, stopped at call " : "stopped at call ") + std::to_string(step));
      ScratchDir dir;
      const std::string path = dir / "LaunchData.olf";
      if (!firstSave) {
        ASSERT_TRUE(WriteFileBytes(path, old));
      }
      bool finished = false;
      {
        TestListWindow window;
        for (std::size_t i = 1; i < records.size(); ++i) {
          ol::InsertShortcutItem(window.List(), static_cast<int>(i - 1),
                                 ol::NewShortcutRecord(ol::CShortcut(records[i])));
        }
        ModalResponder responder(ModalResponder::Press(IDOK));
        FaultyFileSystem files;
        files.StopAt(step);
        ol::CDataFile(path).SaveShortcuts(window.List(), window.Frame());
        finished = files.CallCount() < step;
      }
      const auto bytes = ReadFileBytes(path);
      EXPECT_TRUE(bytes == saved || bytes == (firstSave ? std::nullopt : std::optional(old)));

      TestListWindow next;
      ModalResponder responder(ModalResponder::Press(IDOK));
      ol::CDataFile(path).LoadShortcuts(next.List(), next.Large(), next.Small(), next.Frame());
      const bool isNew = next.Catalogue() == saved;
      EXPECT_TRUE(isNew || next.Catalogue() == (firstSave ? Catalogue(records.end(), records.end()) : old));
      const bool restored = !bytes && isNew;
      EXPECT_EQ(responder.Seen().size() == 1 && responder.Seen()[0].title == ol::kRestoredTitle, restored);
      if (finished) {
        EXPECT_TRUE(isNew);
        break;
      }
      newCount += isNew;
      oldCount += !isNew;
    }
    std::printf("[          ] %s stopped at each of its %d steps: %d times the old catalogue, %d the new\n",
                firstSave ? "first save" : "save", oldCount + newCount, oldCount, newCount);
  }
}

TEST(KillDuringSaveTest, TheDataFileIsAlwaysTheOldOrTheNewCatalogueAndNoFilesPileUp) {
  if (EnvNumber("OL_KILL_TRIALS", 0) == 0) GTEST_SKIP() << "the random kills run in make soak";
  const auto trials = static_cast<int>(EnvNumber("OL_KILL_TRIALS", 0));
  const auto seed = static_cast<std::uint32_t>(EnvNumber("OL_KILL_SEED", std::random_device{}()));
  std::mt19937 random(seed);
  ClearLauncherSettings();
  // Without a window manager Wine waits two seconds for one whenever a managed window hides,
  // here at every exit; the launcher's windows are unmanaged meanwhile.
  const WineSetting unmanaged("Software\\Wine\\AppDefaults\\OrbelsLaunch.exe\\X11 Driver", "Managed", "N");
  ScratchDir dir;
  LauncherProcess launcher(dir / "Orbels Launch");
  std::vector<std::string> ownFiles = FilesIn(launcher.Folder());
  ownFiles.push_back("LaunchData.olf");
  std::sort(ownFiles.begin(), ownFiles.end());
  const std::vector<ol::CShortcut> records = TenThousandShortcuts();
  auto first = records.begin();  // the catalogue on disk is [first, end)
  ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), Catalogue(first, records.end())));

  // A run without a kill finds the save window: while the temporary file exists after
  // WM_CLOSE, widened by half its length on each side, and not past the process's end.
  ASSERT_TRUE(StartAndDeleteFirst(launcher, records.end() - first));
  const Clock::time_point closed = Clock::now();
  ::PostMessageA(launcher.Window(), WM_CLOSE, 0, 0);
  Us firstSeen = Us::max(), lastSeen{}, exited{};
  while (::WaitForSingleObject(launcher.Handle(), 0) != WAIT_OBJECT_0) {
    exited = std::chrono::duration_cast<Us>(Clock::now() - closed);
    if (::GetFileAttributesA((launcher.DataPath() + ".tmp").c_str()) != INVALID_FILE_ATTRIBUTES) {
      firstSeen = std::min(firstSeen, exited);
      lastSeen = exited;
    }
  }
  ++first;
  ASSERT_EQ(ReadFileBytes(launcher.DataPath()), Catalogue(first, records.end()));
  Us from{0}, to = exited;
  if (firstSeen != Us::max()) {
    const Us half = (lastSeen - firstSeen) / 2 + Us(500);
    from = std::max(Us(0), firstSeen - half);
    to = std::min(to, lastSeen + half);
  }

  int oldCount = 0, newCount = 0, damaged = 0, withStrays = 0;
  std::uniform_int_distribution<long long> delays(from.count(), to.count());
  for (int trial = 0; trial < trials; ++trial) {
    const std::string old = Catalogue(first, records.end());
    const std::string saved = Catalogue(first + 1, records.end());
    ASSERT_TRUE(StartAndDeleteFirst(launcher, records.end() - first)) << "trial " << trial;
    const Us delay(delays(random));
    const Clock::time_point start = Clock::now();
    ::PostMessageA(launcher.Window(), WM_CLOSE, 0, 0);
    while (Clock::now() - start < delay) {
    }
    launcher.Kill();

    const auto bytes = ReadFileBytes(launcher.DataPath());
    std::vector<std::string> strays;  // anything but the launcher's files and one temporary file
    for (const std::string& name : FilesIn(launcher.Folder())) {
      if (!std::binary_search(ownFiles.begin(), ownFiles.end(), name) && name != "LaunchData.olf.tmp") {
        strays.push_back(name);
      }
    }
    newCount += bytes == saved;
    oldCount += bytes == old;
    damaged += bytes != saved && bytes != old;
    withStrays += !strays.empty();
    if (bytes == saved) ++first;
    if ((bytes != saved && bytes != old) || !strays.empty()) {
      ADD_FAILURE() << "seed " << seed << ", trial " << trial << ", killed " << delay.count()
                    << " us after WM_CLOSE; the folder held:" << DescribeFolder(launcher.Folder(), old, saved);
      // The next trial starts from the old catalogue and a folder without strays.
      if (bytes != saved) {
        ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), old));
      }
      for (const std::string& name : strays) ::DeleteFileA((launcher.Folder() + "\\" + name).c_str());
    }
  }
  std::printf("[ SOAK     ] kill during save: seed %u, kills %lld-%lld us after WM_CLOSE (exit at %lld us): "
              "%d trials, %d old, %d new, %d damaged, %d with other files left\n",
              seed, static_cast<long long>(from.count()), static_cast<long long>(to.count()),
              static_cast<long long>(exited.count()), trials, oldCount, newCount, damaged, withStrays);

  // A save after all that takes over or removes what the interrupted ones left.
  ASSERT_TRUE(StartAndDeleteFirst(launcher, records.end() - first));
  ASSERT_TRUE(launcher.Close());
  EXPECT_EQ(ReadFileBytes(launcher.DataPath()), Catalogue(first + 1, records.end()));
  EXPECT_EQ(FilesIn(launcher.Folder()), ownFiles);
}
