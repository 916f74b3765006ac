// The program icons arriving after the list is shown: a start of a few hundred shortcuts whose
// extractions are held inside the shell, with everything a user can do while icons still
// arrive, ending with every program showing its target's picture, or image 0 for a target that
// is gone or gives no icon.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "catalogue/DataFileFormat.h"
#include "catalogue/IconCache.h"
#include "catalogue/IconFetcher.h"
#include "listview/ItemsOnScreen.h"
#include "listview/ListTestSupport.h"
#include "res/resource.h"
#include "support/ModalResponder.h"
#include "support/TestIconCalls.h"
#include "support/TestListWindow.h"
#include "util/SystemUtil.h"

using namespace oltest;

namespace {

using Pixels = std::vector<std::uint32_t>;

class IconArrivalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLauncherSettings();
    m_records = ol::LiveShortcutRecordCount();
    ol::CIconArrival::SetThreadsForTesting(2);
    ::CreateDirectoryA((m_dir / "Targets").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(m_dir / "Targets\\notes.exe", "no program, no icon"));
    // 260 shortcuts in no catalogue order: programs to 100 targets (most of them shared by two
    // or three shortcuts), folders, targets that are gone and a target without an icon.
    for (int t = 0; t < 100; ++t) {
      const std::string target = m_dir / ("Targets\\t" + std::to_string(t) + ".exe");
      if (!::CreateHardLinkA(target.c_str(), RecorderPath().c_str(), nullptr)) {
        ASSERT_TRUE(CopyTestFile(RecorderPath(), target));
      }
    }
    std::string file;
    for (int i = 0; i < 260; ++i) {
      std::string type = "PROGRAM";
      std::string target = m_dir / ("Targets\\t" + std::to_string(i % 100) + ".exe");
      if (i % 13 == 5) type = "FOLDER", target = m_dir / "Targets";
      if (i % 17 == 0) target = m_dir / ("Targets\\gone" + std::to_string(i) + ".exe");
      if (i == 77) target = m_dir / "Targets\\notes.exe";
      const std::string name = "Shortcut " + std::to_string(1000 - i);
      m_names.push_back(name);
      if (type == "PROGRAM" && (i % 17 == 0 || i == 77)) m_noIcon.insert(name);
      file += "SC_NAME=" + name + "\r\nSC_TYPE=" + type + "\r\nSC_PATH=" + target + "\r\nSC_CMLN=\r\n";
    }
    ASSERT_TRUE(WriteFileBytes(m_dir / "Catalogue.olf", file));
    m_picture = ProgramPicture(RecorderPath());
    ASSERT_NE(m_picture, Pixels(m_picture.size(), 0));
  }
  // A program's own picture, as appending its icon to a list gives it.
  static Pixels ProgramPicture(const std::string& program) {
    TestListWindow window;
    window.Large().Add(ol::UniqueIcon(::ExtractIconA(nullptr, program.c_str(), 0)).Get());
    return ImagePixels(window.Large().GetSafeHandle(), 2);
  }
  void TearDown() override {
    ol::CIconArrival::SetThreadsForTesting(0);
    EXPECT_EQ(ol::LiveShortcutRecordCount(), m_records);
  }

  static HIMAGELIST Large(LauncherHarness& launcher) {
    return launcher.View()->GetListCtrl().GetImageList(LVSIL_NORMAL);
  }
  static Pixels PictureOf(LauncherHarness& launcher, int item) {
    return ImagePixels(Large(launcher), launcher.View()->GetListCtrl().GetItemImage(item));
  }
  // Program items whose icon is in: the recorder's picture, or image 0 for a target that is
  // gone or gives no icon.
  std::vector<int> Arrived(LauncherHarness& launcher) {
    std::vector<int> items;
    for (int i = 0; i < launcher.View()->GetListCtrl().GetItemCount(); ++i) {
      const ol::CShortcut& record = Record(launcher, i);
      if (!record.IsProgram()) continue;
      if (m_noIcon.count(record.m_strName) ? record.m_nIconIndex == ol::kIconNone : PictureOf(launcher, i) == m_picture) {
        items.push_back(i);
      }
    }
    return items;
  }
  // Every item shows its record's image; every program the recorder's picture at an index of
  // its own, or image 0 when its target is gone or gives none.
  void ExpectEveryIconIn(LauncherHarness& launcher, const std::set<std::string>& noIcon,
                         const std::map<std::string, Pixels>& others = {}) {
    CListCtrl list = launcher.View()->GetListCtrl();
    std::set<int> indices;
    for (int i = 0; i < list.GetItemCount(); ++i) {
      const ol::CShortcut& record = Record(launcher, i);
      EXPECT_EQ(list.GetItemImage(i), record.m_nIconIndex) << record.m_strName;
      if (!record.IsProgram()) {
        EXPECT_EQ(record.m_nIconIndex, ol::kIconFolder) << record.m_strName;
      } else if (noIcon.count(record.m_strName)) {
        EXPECT_EQ(record.m_nIconIndex, ol::kIconNone) << record.m_strName;
      } else {
        EXPECT_TRUE(indices.insert(record.m_nIconIndex).second) << record.m_strName << " shares its image";
        const auto other = others.find(record.m_strName);
        EXPECT_EQ(PictureOf(launcher, i), other != others.end() ? other->second : m_picture) << record.m_strName;
      }
    }
  }
  static std::vector<std::string> Saved(const std::string& path) {
    std::vector<std::string> names;
    ol::ParseDataFile(*ReadFileBytes(path), [&names](ol::CShortcut&& record) { names.push_back(record.m_strName); });
    return names;
  }
  static int ItemNamed(LauncherHarness& launcher, const std::string& name) {
    const std::vector<std::string> names = Names(launcher);
    return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
  }
  static void WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) PumpMessagesFor(std::chrono::milliseconds(10));
  }
  static void ChangeDpi(LauncherHarness& launcher, int dpi) {
    const RECT frame = launcher.Frame()->GetWindowRect();
    RECT suggested{frame.left, frame.top, frame.left + ::MulDiv(450, dpi, 96), frame.top + ::MulDiv(300, dpi, 96)};
    ::SendMessageA(launcher.FrameHwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }

  ScratchDir m_dir;
  std::vector<std::string> m_names;
  std::set<std::string> m_noIcon;
  Pixels m_picture;
  long m_records = 0;
};

}  // namespace

TEST_F(IconArrivalTest, NamesComeAtOnceIconsFollowOnScreenFirstAndWhatNeedsOneGetsItAtOnce) {
  TestIconCalls calls;
  calls.Hold();
  LauncherHarness launcher;
  ASSERT_TRUE(CopyTestFile(m_dir / "Catalogue.olf", launcher.DataPath()));
  ASSERT_TRUE(launcher.Start(false));
  CListCtrl list = launcher.View()->GetListCtrl();

  // Every name at once, in file order; the programs on screen show the loading picture, and
  // none has its icon yet.
  EXPECT_EQ(Names(launcher), m_names);
  const Pixels loading = PictureOf(launcher, 1);  // "Shortcut 999", to t1
  for (int fixed : {ol::kIconNone, ol::kIconFolder}) EXPECT_NE(loading, ImagePixels(Large(launcher), fixed));
  const ol::ItemRange first = ol::ItemsOnScreen(list);
  ASSERT_GE(first.last, 4);
  for (int i = first.first; i <= first.last; ++i) {
    if (Record(launcher, i).IsProgram() && !m_noIcon.count(Record(launcher, i).m_strName)) {
      EXPECT_EQ(PictureOf(launcher, i), loading) << i;
    }
  }
  WaitUntil([&] { return calls.Waiting() == 2; });  // each thread inside the shell with a first-screen target
  EXPECT_EQ(calls.Extractions(), 0);
  EXPECT_TRUE(launcher.View()->IconsArriving());

  // Taken to the end, as the End key takes it: the icons on screen there come before those
  // above, and show the loading picture from their first paint.
  list.EnsureVisible(list.GetItemCount() - 1, false);
  ::UpdateWindow(list.GetSafeHwnd());
  const ol::ItemRange screen = ol::ItemsOnScreen(list);
  ASSERT_GT(screen.first, 100);
  EXPECT_EQ(PictureOf(launcher, screen.last), loading);
  calls.Allow(2 + 6);
  WaitUntil([&] { return calls.Extractions() == 8 && calls.Waiting() == 2; });
  PumpMessagesFor(std::chrono::milliseconds(100));
  const std::vector<int> arrived = Arrived(launcher);
  EXPECT_GE(std::count_if(arrived.begin(), arrived.end(), [&](int item) { return item >= screen.first; }), 6);
  // Beside those, only shortcuts to the same targets (one extraction serves them all), and
  // targets that are gone (which need none).
  std::set<std::string> onScreen;
  for (int i = 0; i < list.GetItemCount(); ++i) {
    if (i <= first.last || (i >= screen.first && i <= screen.last)) onScreen.insert(Record(launcher, i).m_strTarget);
  }
  for (int item : arrived) {
    EXPECT_TRUE(onScreen.count(Record(launcher, item).m_strTarget) || m_noIcon.count(Record(launcher, item).m_strName))
        << item;
  }

  // What is on screen is every item with a part of its icon in view, in every view mode: a
  // column or row shown in part, and labels of other lengths than their neighbours'.
  int longLabel = screen.first;
  while (!Record(launcher, longLabel).IsProgram() || m_noIcon.count(Record(launcher, longLabel).m_strName)) ++longLabel;
  ol::CShortcut* wrapping = ol::RecordAt(list, longLabel);
  wrapping->m_strName = "A name long enough to wrap onto more lines than its neighbours' names";
  list.SetItemText(longLabel, 0, wrapping->m_strName);
  for (UINT view : {ID_VIEW_LIST, ID_VIEW_SMALL_ICONS, ID_VIEW_LARGE_ICONS}) {
    Command(launcher, view);
    ::SetWindowPos(launcher.FrameHwnd(), nullptr, 0, 0, 431, 337, SWP_NOMOVE | SWP_NOZORDER);
    list.EnsureVisible(150, false);
    ::UpdateWindow(list.GetSafeHwnd());
    const ol::ItemRange shown = ol::ItemsOnScreen(list);
    const RECT client = launcher.View()->GetClientRect();
    for (int i = 0; i < list.GetItemCount(); ++i) {
      RECT icon{LVIR_ICON, 0, 0, 0}, overlap{};
      ::SendMessageA(list.GetSafeHwnd(), LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&icon));
      if (!::IntersectRect(&overlap, &icon, &client)) continue;
      EXPECT_TRUE(i >= shown.first && i <= shown.last) << "item " << i << " in view " << view;
      const ol::CShortcut& record = Record(launcher, i);
      if (record.IsProgram() && !onScreen.count(record.m_strTarget) && !m_noIcon.count(record.m_strName)) {
        EXPECT_EQ(PictureOf(launcher, i), loading) << "item " << i << " in view " << view;
      }
    }
  }

  // What needs an icon before it arrived gets it at once: a launch (a target that is gone is
  // refused as having no icon, one that is there starts), Reload Icon and Properties; Reload
  // Icon of a target deleted meanwhile makes the launch refuse it for good.
  ASSERT_TRUE(::DeleteFileA((m_dir / "Targets\\t40.exe").c_str()));  // "Shortcut 960", 860 and 760
  const std::string out = m_dir / "recorded.txt";
  {
    ModalResponder responder({IDOK, IDCANCEL, IDOK, IDOK});
    Select(launcher, ItemNamed(launcher, "Shortcut 983"));  // t17's target is gone
    Command(launcher, ID_LAUNCH_SELECTED);
    Select(launcher, ItemNamed(launcher, "Shortcut 998"));
    Command(launcher, ID_RELOAD_ICON);
    EXPECT_EQ(PictureOf(launcher, ItemNamed(launcher, "Shortcut 998")), m_picture);
    Select(launcher, ItemNamed(launcher, "Shortcut 997"));
    Command(launcher, ID_PROPERTIES);
    EXPECT_EQ(PictureOf(launcher, ItemNamed(launcher, "Shortcut 997")), m_picture);
    Select(launcher, ItemNamed(launcher, "Shortcut 960"));
    Command(launcher, ID_RELOAD_ICON);
    EXPECT_EQ(Record(launcher, ItemNamed(launcher, "Shortcut 960")).m_nIconIndex, ol::kIconNone);
    Command(launcher, ID_LAUNCH_SELECTED);
    const auto seen = responder.Seen();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].title, "Invalid Shortcut Target");
    EXPECT_EQ(seen[1].title, "Shortcut Properties");
    EXPECT_EQ(seen[2].title, "Invalid Target");
    EXPECT_EQ(seen[3].title, "Invalid Shortcut Target");
  }
  ::SetEnvironmentVariableA("OL_RECORDER_OUT", out.c_str());
  Select(launcher, ItemNamed(launcher, "Shortcut 996"));
  Command(launcher, ID_LAUNCH_SELECTED);
  EXPECT_TRUE(WaitForRecording(out).has_value());

  // A program dropped meanwhile comes with its icon; Refresh View sorts meanwhile.
  ASSERT_TRUE(CopyTestFile(RecorderPath(), m_dir / "Dropped.exe"));
  DropFiles(launcher, {m_dir / "Dropped.exe"});
  ASSERT_LT(ItemNamed(launcher, "Dropped"), list.GetItemCount());
  EXPECT_EQ(PictureOf(launcher, ItemNamed(launcher, "Dropped")), m_picture);
  Command(launcher, ID_REFRESH_VIEW);

  calls.Release();
  launcher.WaitForIcons();
  std::set<std::string> noIcon = m_noIcon;
  noIcon.insert({"Shortcut 960", "Shortcut 860", "Shortcut 760"});
  ExpectEveryIconIn(launcher, noIcon);
}

TEST_F(IconArrivalTest, DeletingRescalingAndClosingWhileIconsArriveLoseNothing) {
  TestIconCalls calls;
  calls.Hold();
  {
    LauncherHarness launcher;
    ASSERT_TRUE(CopyTestFile(m_dir / "Catalogue.olf", launcher.DataPath()));
    ASSERT_TRUE(launcher.Start(false));
    {
      ModalResponder responder({IDYES});
      Select(launcher, ItemNamed(launcher, "Shortcut 999"));
      Command(launcher, ID_DELETE);
    }
    // A display of another scale while icons arrive, and back before they are in: the pictures
    // come at the last scale's sizes, and the window never waits for the threads.
    calls.Allow(3);
    ChangeDpi(launcher, 144);
    calls.Allow(5);
    ChangeDpi(launcher, 96);
    calls.Release();
    launcher.WaitForIcons();
    EXPECT_EQ(ImagePixels(Large(launcher), 0).size(), 32u * 32u);
    ExpectEveryIconIn(launcher, m_noIcon);
    calls.Hold();
    launcher.Close();
    ASSERT_TRUE(CopyTestFile(launcher.DataPath(), m_dir / "Saved.olf"));
  }
  std::vector<std::string> names = m_names;
  names.erase(names.begin() + 1);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(Saved(m_dir / "Saved.olf"), names);

  // Delete All while the threads are inside the shell: nothing is written through the records
  // that went, and the arrival ends.
  {
    LauncherHarness launcher;
    ASSERT_TRUE(CopyTestFile(m_dir / "Saved.olf", launcher.DataPath()));
    ASSERT_TRUE(launcher.Start(false));
    WaitUntil([&] { return calls.Waiting() == 2; });
    ModalResponder responder({IDYES});
    Command(launcher, ID_DELETE_ALL);
    calls.Allow(4);
    PumpMessagesFor(std::chrono::milliseconds(200));
    EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 0);
    EXPECT_FALSE(launcher.View()->IconsArriving());
    ModalResponder none;
    launcher.Close();
    EXPECT_TRUE(none.Seen().empty());
  }

  // Closed while extractions are held inside the shell: the catalogue is saved all the same,
  // without waiting for them.
  LauncherHarness launcher;
  ASSERT_TRUE(CopyTestFile(m_dir / "Saved.olf", launcher.DataPath()));
  ASSERT_TRUE(launcher.Start(false));
  WaitUntil([&] { return calls.Waiting() == 2; });
  EXPECT_TRUE(launcher.View()->IconsArriving());
  launcher.Close();
  EXPECT_EQ(calls.Waiting(), 2) << "still inside the shell";
  EXPECT_EQ(ReadFileBytes(launcher.DataPath()), ReadFileBytes(m_dir / "Saved.olf"));
}

TEST_F(IconArrivalTest, ASecondStartTakesThePicturesFromTheCacheAndOnlyChangedTargetsAgain) {
  TestIconCalls calls;
  std::map<std::string, Pixels> others;  // shortcuts whose targets give another picture
  std::string data = *ReadFileBytes(m_dir / "Catalogue.olf");
  std::optional<std::string> cache;
  // Starts with the data file and the cache of the start before: the extractions it needed.
  const auto start = [&](const std::function<void(LauncherHarness&)>& meanwhile = nullptr) {
    LauncherHarness launcher;
    EXPECT_TRUE(WriteFileBytes(launcher.DataPath(), data));
    if (cache) {
      EXPECT_TRUE(WriteFileBytes(launcher.Dir() / "LaunchIcons.cache", *cache));
    }
    const int before = calls.Extractions();
    EXPECT_TRUE(launcher.Start());
    ExpectEveryIconIn(launcher, m_noIcon, others);
    if (meanwhile) meanwhile(launcher);
    launcher.Close();
    data = *ReadFileBytes(launcher.DataPath());
    cache = ReadFileBytes(launcher.Dir() / "LaunchIcons.cache");
    return calls.Extractions() - before;
  };
  // Every program target that is there, extracted once for all its shortcuts.
  const auto there = [&data] {
    std::set<std::string> targets;
    ol::ParseDataFile(data, [&targets](ol::CShortcut&& record) {
      if (record.IsProgram() && ol::PathExists(record.m_strTarget)) targets.insert(record.m_strTarget);
    });
    return static_cast<int>(targets.size());
  };
  EXPECT_EQ(start(), there());
  ASSERT_TRUE(cache.has_value());
  EXPECT_EQ(start(), 0) << "every picture from the cache";

  // A target replaced by a program with another icon (a new file: the old is a link to the
  // recorder), one deleted, one that gains an icon.
  ASSERT_TRUE(::DeleteFileA((m_dir / "Targets\\t5.exe").c_str()));
  ASSERT_TRUE(CopyTestFile("C:\\windows\\regedit.exe", m_dir / "Targets\\t5.exe"));  // 995, 895, 795
  ASSERT_TRUE(::DeleteFileA((m_dir / "Targets\\t6.exe").c_str()));                      // 994, 894, 794
  ASSERT_TRUE(CopyTestFile(RecorderPath(), m_dir / "Targets\\notes.exe"));              // "Shortcut 923"
  m_noIcon.insert({"Shortcut 994", "Shortcut 894", "Shortcut 794"});
  m_noIcon.erase("Shortcut 923");
  for (const char* name : {"Shortcut 995", "Shortcut 895", "Shortcut 795"}) {
    others[name] = ProgramPicture("C:\\windows\\regedit.exe");
  }
  ASSERT_NE(others["Shortcut 995"], m_picture);
  EXPECT_EQ(start(), 2);

  // A cache cut short, or another program's file, is ignored and made anew; one made at another
  // display scale holds that scale's pictures, and is of no use at this one.
  for (const std::string& damaged : {cache->substr(0, cache->size() / 2), data}) {
    cache = damaged;
    EXPECT_EQ(start(), there());
    EXPECT_TRUE(ol::CIconCache({32, 16}).Read(*cache));
  }
  EXPECT_EQ(start([&](LauncherHarness& launcher) {
              ChangeDpi(launcher, 144);
              launcher.WaitForIcons();
              const int image = Record(launcher, ItemNamed(launcher, "Shortcut 999")).m_nIconIndex;
              EXPECT_EQ(ImagePixels(Large(launcher), image).size(), 48u * 48u);
            }), there());
  EXPECT_TRUE(ol::CIconCache({48, 24}).Read(*cache));
  EXPECT_EQ(start(), there()) << "at 100 % again";
}

TEST_F(IconArrivalTest, OneWordOfWaitingResultsIsOnItsWayHoweverLongTheWindowTakes) {
  // A window's thread that takes results for a long turn without looking at its queue, as a
  // turn putting pictures in does, finds one word waiting at the end, not one per emptying.
  constexpr UINT kWord = WM_APP + 7;
  const HWND window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  std::vector<ol::CIconFetcher::Job> jobs;
  for (int t = 0; t < 100; ++t) jobs.push_back({m_dir / ("Targets\\t" + std::to_string(t) + ".exe"), true});
  ol::CIconFetcher fetcher;
  fetcher.Prepare(std::move(jobs), 'C', std::make_shared<ol::CIconCache>(ol::IconSizes{}), window, kWord);
  fetcher.Go(2);
  std::size_t taken = 0;
  while (fetcher.Busy()) taken += fetcher.Take(8).size(), ::Sleep(1);
  EXPECT_EQ(taken, 100u);
  MSG msg;
  int words = 0;
  while (::PeekMessageA(&msg, window, kWord, kWord, PM_REMOVE)) ++words;
  EXPECT_EQ(words, 1);
  ::DestroyWindow(window);
}
