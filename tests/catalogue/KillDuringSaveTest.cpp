// The built launcher killed at random moments while it saves a catalogue of ten thousand
// shortcuts at exit: LaunchData.olf must always read back as exactly the catalogue from before
// the save or exactly the one after it, and interrupted saves must not leave files piling up.
// OL_KILL_TRIALS sets the number of kills (make soak runs 200), OL_KILL_SEED the seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "catalogue/DataFileFormat.h"
#include "support/LauncherHarness.h"
#include "support/LauncherProcess.h"
#include "support/ModalResponder.h"
#include "support/TestFiles.h"

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

TEST(KillDuringSaveTest, TheDataFileIsAlwaysTheOldOrTheNewCatalogueAndNoFilesPileUp) {
  const auto trials = static_cast<int>(EnvNumber("OL_KILL_TRIALS", 5));
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
