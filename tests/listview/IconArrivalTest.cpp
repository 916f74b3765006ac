// The program icons arriving after the list is shown: a start of a few hundred shortcuts held
// at its first icon (the fetching thread's test hold), with everything a user can do while
// icons still arrive, ending as a start that extracts every icon one by one ends.
#include <gtest/gtest.h>

#include <map>

#include "catalogue/DataFile.h"
#include "catalogue/DataFileFormat.h"
#include "catalogue/IconFetcher.h"
#include "listview/ListTestSupport.h"
#include "res/resource.h"
#include "support/ModalResponder.h"
#include "support/TestListWindow.h"

using namespace oltest;

namespace {

using Pixels = std::vector<std::uint32_t>;

class IconArrivalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLauncherSettings();
    m_records = ol::LiveShortcutRecordCount();
    ::CreateDirectoryA((m_dir / "Targets").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(m_dir / "Targets\\notes.exe", "no program, no icon"));
    // 260 shortcuts in no catalogue order: programs to 100 targets (most of them shared by two
    // or three shortcuts), folders, targets that are gone (the very first program among them,
    // so that every later icon moves up) and a target without an icon.
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
      file += "SC_NAME=" + name + "\r\nSC_TYPE=" + type + "\r\nSC_PATH=" + target + "\r\nSC_CMLN=\r\n";
    }
    ASSERT_TRUE(WriteFileBytes(m_dir / "Reference.olf", file));
  }
  void TearDown() override {
    ol::CIconFetcher::HoldForTesting(false);
    EXPECT_EQ(ol::LiveShortcutRecordCount(), m_records);
  }

  static HIMAGELIST Large(LauncherHarness& launcher) {
    return launcher.View()->GetListCtrl().GetImageList(LVSIL_NORMAL);
  }
  static Pixels PictureOf(LauncherHarness& launcher, int item) {
    return ImagePixels(Large(launcher), launcher.View()->GetListCtrl().GetItemImage(item));
  }
  // Program items whose icon is in: their picture is the target's own, or image 0 for a target
  // that gives none.
  std::vector<int> Arrived(LauncherHarness& launcher) {
    std::vector<int> items;
    for (int i = 0; i < launcher.View()->GetListCtrl().GetItemCount(); ++i) {
      const ol::CShortcut& record = Record(launcher, i);
      if (!record.IsProgram()) continue;
      const auto picture = m_reference.picture.find(record.m_strName);
      if (picture == m_reference.picture.end() ? record.m_nIconIndex == ol::kIconNone
                                               : PictureOf(launcher, i) == picture->second) {
        items.push_back(i);
      }
    }
    return items;
  }
  // What a start that extracts every icon before the list is shown gives: icon index and
  // picture per shortcut, and the number of images.
  struct Reference {
    std::map<std::string, int> index;
    std::map<std::string, Pixels> picture;
    int images = 0;
  };
  Reference LoadAtOnce() {
    Reference reference;
    TestListWindow window;
    ol::CDataFile(m_dir / "Reference.olf").LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
    for (int i = 0; i < window.List().GetItemCount(); ++i) {
      const ol::CShortcut& record = window.RecordAt(i);
      reference.index[record.m_strName] = record.m_nIconIndex;
      if (record.m_nIconIndex >= 2) {
        reference.picture[record.m_strName] = ImagePixels(window.Large().GetSafeHandle(), record.m_nIconIndex);
      }
    }
    reference.images = window.Large().GetImageCount();
    return reference;
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

  ScratchDir m_dir;
  std::vector<std::string> m_names;
  long m_records = 0;
  Reference m_reference;
};

}  // namespace

TEST_F(IconArrivalTest, NamesComeAtOnceIconsFollowOnScreenFirstAndEndAsAOneByOneLoadEnds) {
  m_reference = LoadAtOnce();
  Reference& expected = m_reference;
  auto& expectedIndex = expected.index;
  auto& expectedPicture = expected.picture;
  const int expectedImages = expected.images;
  ASSERT_EQ(expectedIndex["Shortcut 1000"], ol::kIconNone);  // the first program's target is gone
  ASSERT_EQ(expectedIndex["Shortcut 923"], ol::kIconNone);   // no icon in it

  ol::CIconFetcher::HoldForTesting(true);
  LauncherHarness launcher;
  ASSERT_TRUE(CopyTestFile(m_dir / "Reference.olf", launcher.DataPath()));
  ASSERT_TRUE(launcher.Start(false));
  CListCtrl list = launcher.View()->GetListCtrl();

  // Every name at once, in file order; the programs on screen show the loading picture, and
  // none has its icon yet.
  EXPECT_EQ(Names(launcher), m_names);
  const Pixels loading = PictureOf(launcher, 0);
  for (int fixed : {ol::kIconNone, ol::kIconFolder}) EXPECT_NE(loading, ImagePixels(Large(launcher), fixed));
  const ol::ItemRange first = ol::ItemsOnScreen(list);
  ASSERT_GE(first.last, 4);
  for (int i = first.first; i <= first.last; ++i) {
    if (Record(launcher, i).IsProgram()) {
      EXPECT_EQ(PictureOf(launcher, i), loading) << i;
    }
  }
  EXPECT_TRUE(Arrived(launcher).empty());
  EXPECT_TRUE(launcher.View()->IconsArriving());

  // Taken to the end, as the End key takes it: the icons on screen there come before those
  // above, and show the loading picture from their first paint.
  list.EnsureVisible(list.GetItemCount() - 1, false);
  ::UpdateWindow(list.GetSafeHwnd());
  const ol::ItemRange screen = ol::ItemsOnScreen(list);
  ASSERT_GT(screen.first, 100);
  EXPECT_EQ(PictureOf(launcher, screen.last), loading);
  ol::CIconFetcher::AllowFetchesForTesting(6);
  for (int i = 0; i < 400 && Arrived(launcher).size() < 6; ++i) PumpMessagesFor(std::chrono::milliseconds(10));
  const std::vector<int> arrived = Arrived(launcher);
  EXPECT_EQ(arrived.size(), 6u);
  for (int item : arrived) EXPECT_TRUE(item >= screen.first && item <= screen.last) << item;

  // What needs an icon before it arrived gets it at once: a launch (a target that is gone is
  // refused as having no icon, one that is there starts), Reload Icon and Properties.
  const std::string out = m_dir / "recorded.txt";
  {
    ModalResponder responder({IDOK, IDCANCEL});
    Select(launcher, ItemNamed(launcher, "Shortcut 983"));  // t17's target is gone
    Command(launcher, ID_LAUNCH_SELECTED);
    Select(launcher, ItemNamed(launcher, "Shortcut 998"));
    Command(launcher, ID_RELOAD_ICON);
    EXPECT_EQ(PictureOf(launcher, ItemNamed(launcher, "Shortcut 998")), expectedPicture["Shortcut 998"]);
    Select(launcher, ItemNamed(launcher, "Shortcut 997"));
    Command(launcher, ID_PROPERTIES);
    EXPECT_EQ(PictureOf(launcher, ItemNamed(launcher, "Shortcut 997")), expectedPicture["Shortcut 997"]);
    const auto seen = responder.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "Invalid Shortcut Target");
    EXPECT_EQ(seen[1].title, "Shortcut Properties");
  }
  ::SetEnvironmentVariableA("OL_RECORDER_OUT", out.c_str());
  Select(launcher, ItemNamed(launcher, "Shortcut 996"));
  Command(launcher, ID_LAUNCH_SELECTED);
  EXPECT_TRUE(WaitForRecording(out).has_value());

  // A program dropped meanwhile comes with its icon; Refresh View sorts meanwhile.
  ASSERT_TRUE(CopyTestFile(RecorderPath(), m_dir / "Dropped.exe"));
  DropFiles(launcher, {m_dir / "Dropped.exe"});
  const int dropped = ItemNamed(launcher, "Dropped");
  ASSERT_LT(dropped, list.GetItemCount());
  EXPECT_EQ(PictureOf(launcher, dropped), expectedPicture["Shortcut 999"]);
  Command(launcher, ID_REFRESH_VIEW);

  ol::CIconFetcher::HoldForTesting(false);
  launcher.WaitForIcons();
  for (int i = 0; i < list.GetItemCount(); ++i) {
    const ol::CShortcut& record = Record(launcher, i);
    EXPECT_EQ(list.GetItemImage(i), record.m_nIconIndex) << record.m_strName;
    if (record.m_strName == "Dropped") {
      EXPECT_EQ(record.m_nIconIndex, expectedImages) << "appended after every loaded icon";
      continue;
    }
    EXPECT_EQ(record.m_nIconIndex, expectedIndex[record.m_strName]) << record.m_strName;
    if (record.m_nIconIndex >= 2) {
      EXPECT_EQ(PictureOf(launcher, i), expectedPicture[record.m_strName]) << record.m_strName;
    }
  }
  EXPECT_EQ(::ImageList_GetImageCount(Large(launcher)), expectedImages + 1);
  EXPECT_EQ(::ImageList_GetImageCount(list.GetImageList(LVSIL_SMALL)), expectedImages + 1);
}

TEST_F(IconArrivalTest, AShortcutDeletedBeforeItsIconGivesUpItsPlaceAndAClosingMidwaySavesEverything) {
  Reference expected = LoadAtOnce();
  ol::CIconFetcher::HoldForTesting(true);
  {
    LauncherHarness launcher;
    ASSERT_TRUE(CopyTestFile(m_dir / "Reference.olf", launcher.DataPath()));
    ASSERT_TRUE(launcher.Start(false));
    {
      ModalResponder responder({IDYES});
      Select(launcher, ItemNamed(launcher, "Shortcut 999"));
      Command(launcher, ID_DELETE);
    }
    ol::CIconFetcher::HoldForTesting(false);
    launcher.WaitForIcons();
    CListCtrl list = launcher.View()->GetListCtrl();
    EXPECT_EQ(::ImageList_GetImageCount(Large(launcher)), expected.images - 1);
    for (int i = 0; i < list.GetItemCount(); ++i) {
      const ol::CShortcut& record = Record(launcher, i);
      EXPECT_EQ(list.GetItemImage(i), record.m_nIconIndex) << record.m_strName;
      if (record.m_nIconIndex >= 2) {
        EXPECT_EQ(PictureOf(launcher, i), expected.picture[record.m_strName]) << record.m_strName;
      }
    }
    ol::CIconFetcher::HoldForTesting(true);
    launcher.Close();
    ASSERT_TRUE(CopyTestFile(launcher.DataPath(), m_dir / "Saved.olf"));
  }
  std::vector<std::string> names = m_names;
  names.erase(names.begin() + 1);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(Saved(m_dir / "Saved.olf"), names);

  // Closed while every icon is still to come: the catalogue is saved all the same.
  LauncherHarness launcher;
  ASSERT_TRUE(CopyTestFile(m_dir / "Saved.olf", launcher.DataPath()));
  ASSERT_TRUE(launcher.Start(false));
  EXPECT_TRUE(launcher.View()->IconsArriving());
  launcher.Close();
  EXPECT_EQ(ReadFileBytes(launcher.DataPath()), ReadFileBytes(m_dir / "Saved.olf"));
}
