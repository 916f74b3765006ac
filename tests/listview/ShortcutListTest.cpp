// The shortcut list as the user sees it: its set-up, view modes, columns, clicks and keys,
// the context menu and label editing.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "listview/ListTestSupport.h"
#include "res/resource.h"
#include "support/ModalResponder.h"

using namespace oltest;

namespace {

class ShortcutListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearInstallerEntries();
    ClearLauncherSettings();
    m_records = ol::LiveShortcutRecordCount();
  }
  void TearDown() override { EXPECT_EQ(ol::LiveShortcutRecordCount(), m_records) << "a record leaked or was lost"; }
  long m_records = 0;
};

struct MenuItemState {
  std::string text;
  bool enabled;
  bool checked;
};

// Opens the context menu with a right click and reads its items while it is shown.
std::vector<MenuItemState> ContextMenuItems(LauncherHarness& launcher) {
  std::vector<MenuItemState> items;
  std::atomic<bool> done{false};
  const DWORD uiThread = ::GetCurrentThreadId();
  std::thread watcher([&] {
    for (int tries = 0; tries < 500 && !done; ++tries) {
      HWND menuWindow = nullptr;
      ::EnumThreadWindows(
          uiThread,
          [](HWND hwnd, LPARAM found) -> BOOL {
            char name[16] = {};
            ::GetClassNameA(hwnd, name, sizeof name);
            if (std::string(name) == "#32768" && ::IsWindowVisible(hwnd)) {
              *reinterpret_cast<HWND*>(found) = hwnd;
              return FALSE;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&menuWindow));
      if (menuWindow != nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        std::function<void(HMENU)> read = [&](HMENU m) {
          for (int i = 0; i < ::GetMenuItemCount(m); ++i) {
            char text[128] = {};
            ::GetMenuStringA(m, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            const UINT state = ::GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION);
            items.push_back({text, (state & MF_GRAYED) == 0, (state & MF_CHECKED) != 0});
            if (HMENU sub = ::GetSubMenu(m, i)) read(sub);
          }
        };
        read(menu);
        ::PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        done = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  SimpleNotify(launcher, NM_RCLICK);
  done = true;
  watcher.join();
  return items;
}

}  // namespace

TEST_F(ShortcutListTest, TheListIsSetUpWithItsStylesColumnsAndFixedImages) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  COrbelslaunchView* view = launcher.View();
  EXPECT_EQ(view->GetStyle() & 0x830Cu, 0x830Cu);
  EXPECT_EQ(view->GetStyle() & LVS_SHAREIMAGELISTS, 0u);
  const CListCtrl list = view->GetListCtrl();
  EXPECT_EQ(list.GetExtendedStyle() & (LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT), DWORD{LVS_EX_FULLROWSELECT});
  EXPECT_EQ(::ImageList_GetImageCount(list.GetImageList(LVSIL_NORMAL)), 2);
  EXPECT_EQ(::ImageList_GetImageCount(list.GetImageList(LVSIL_SMALL)), 2);
  int cx = 0;
  int cy = 0;
  ::ImageList_GetIconSize(list.GetImageList(LVSIL_NORMAL), &cx, &cy);
  EXPECT_EQ(cx, 32);
  ::ImageList_GetIconSize(list.GetImageList(LVSIL_SMALL), &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(view->GetStyle() & LVS_TYPEMASK, DWORD{LVS_ICON});
  // In Details the columns split the usable width 40/60 on every size change.
  Command(launcher, ID_VIEW_DETAILS);
  for (int width : {450, 700, 333}) {
    ::SetWindowPos(launcher.FrameHwnd(), nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
    const int usable = view->GetClientRect().right - ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(list.GetColumnWidth(0), usable / 10 * 4) << width;
    EXPECT_EQ(list.GetColumnWidth(1), usable - usable / 10 * 4) << width;
  }
}

TEST_F(ShortcutListTest, HoverSelectionOnlyInTheSingleClickMode) {
  WriteSettingsDword("Mouse Selection", 0);
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  EXPECT_NE(launcher.View()->GetListCtrl().GetExtendedStyle() & LVS_EX_TRACKSELECT, 0u);
}

TEST_F(ShortcutListTest, ViewModesSwitchTheStyleAreCheckedAndRemembered) {
  {
    LauncherHarness launcher;
    ASSERT_TRUE(launcher.Start());
    AddItem(launcher, "FOLDER", "A rather long shortcut name", "C:\\x", 1);
    AddItem(launcher, "FOLDER", "B", "C:\\y", 1);
    const struct {
      UINT command;
      DWORD style;
      int value;
    } modes[] = {{ID_VIEW_SMALL_ICONS, LVS_SMALLICON, 1}, {ID_VIEW_DETAILS, LVS_REPORT, 3},
                 {ID_VIEW_LARGE_ICONS, LVS_ICON, 0}, {ID_VIEW_LIST, LVS_LIST, 2}};
    for (const auto& mode : modes) {
      Command(launcher, mode.command);
      EXPECT_EQ(launcher.View()->GetStyle() & LVS_TYPEMASK, mode.style);
      EXPECT_EQ(launcher.View()->m_nViewSetting, mode.value);
      HMENU view = ::GetSubMenu(::GetMenu(launcher.FrameHwnd()), 1);
      ::SendMessageA(launcher.FrameHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 1);
      for (const auto& other : modes) {
        EXPECT_EQ((::GetMenuState(view, other.command, MF_BYCOMMAND) & MF_CHECKED) != 0, other.value == mode.value);
      }
    }
    // List mode fits the column to the widest label plus 32 pixels.
    const CListCtrl list = launcher.View()->GetListCtrl();
    EXPECT_EQ(list.GetColumnWidth(0), list.GetStringWidth("A rather long shortcut name") + 32);
    // Until the next size change, which gives the column its share of the width again.
    ::SetWindowPos(launcher.FrameHwnd(), nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
    const int usable = launcher.View()->GetClientRect().right - ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(list.GetColumnWidth(0), usable / 10 * 4);
    launcher.Close();
  }
  EXPECT_EQ(ReadSettingsDword("View Setting"), 2u);
  LauncherHarness again(false);
  ASSERT_TRUE(again.Start());
  EXPECT_EQ(again.View()->GetStyle() & LVS_TYPEMASK, DWORD{LVS_LIST});
}

TEST_F(ShortcutListTest, AnEmptyLabelIsAnEmptyNameAndNoTextIsNoEdit) {
  // Renames, the sorting they wait for and cancelled edits go through the label editor in
  // RandomUseTest. Wine's list control reports an emptied label as no edit at all, so the
  // empty name is sent here as a control that reports it sends it.
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  AddItem(launcher, "FOLDER", "Zeta", "C:\\z", 1);
  NMLVDISPINFOA edit{};
  edit.hdr.code = LVN_ENDLABELEDITA;
  edit.item.iItem = 0;
  char empty[] = "";
  edit.item.pszText = empty;
  EXPECT_EQ(NotifyFromList(launcher, edit.hdr), 1);  // the list is told to keep the new label
  EXPECT_EQ(Record(launcher, 0).m_strName, "");
  edit.item.pszText = nullptr;
  EXPECT_EQ(NotifyFromList(launcher, edit.hdr), 0);
  EXPECT_EQ(Record(launcher, 0).m_strName, "");
}

TEST_F(ShortcutListTest, SelectionDependentCommandsFollowTheSelection) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  for (UINT id : {ID_LAUNCH_SELECTED, ID_RENAME, ID_DELETE, ID_PROPERTIES, ID_RELOAD_ICON, ID_DELETE_ALL}) {
    EXPECT_FALSE(MenuItemEnabled(launcher, id)) << id;
  }
  EXPECT_TRUE(MenuItemEnabled(launcher, ID_NEW_PROGRAM_SHORTCUT));
  EXPECT_TRUE(MenuItemEnabled(launcher, ID_REFRESH_VIEW));
  AddItem(launcher, "FOLDER", "One", "C:\\one", 1);
  EXPECT_TRUE(MenuItemEnabled(launcher, ID_DELETE_ALL));
  EXPECT_FALSE(MenuItemEnabled(launcher, ID_DELETE));
  Select(launcher, 0);
  for (UINT id : {ID_LAUNCH_SELECTED, ID_RENAME, ID_DELETE, ID_PROPERTIES, ID_RELOAD_ICON}) {
    EXPECT_TRUE(MenuItemEnabled(launcher, id)) << id;
  }
  // The toolbar follows the same handlers at idle time.
  launcher.Idle();
  HWND toolbar = launcher.Frame()->m_wndToolBar.m_hWnd;
  EXPECT_TRUE(::SendMessageA(toolbar, TB_ISBUTTONENABLED, ID_DELETE, 0));
  launcher.View()->GetListCtrl().SetItemState(0, 0, LVIS_SELECTED);
  launcher.Idle();
  EXPECT_FALSE(::SendMessageA(toolbar, TB_ISBUTTONENABLED, ID_DELETE, 0));
}

TEST_F(ShortcutListTest, TheContextMenuUsesTheSameCommandStates) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  const auto items = ContextMenuItems(launcher);
  ASSERT_EQ(items.size(), 17u);  // the View submenu counts as an item of its own
  EXPECT_EQ(items[0].text, "Launch Shortcut");
  EXPECT_FALSE(items[0].enabled);  // nothing selected
  EXPECT_EQ(items[4].text, "Rename");
  EXPECT_FALSE(items[4].enabled);
  EXPECT_EQ(items[8].text, "Large Icons");
  EXPECT_TRUE(items[8].checked);
  EXPECT_EQ(items[7].text, "View");
  EXPECT_EQ(items[16].text, "Properties...");
  EXPECT_FALSE(items[16].enabled);

  AddItem(launcher, "FOLDER", "One", "C:\\one", 1);
  Select(launcher, 0);
  Command(launcher, ID_VIEW_DETAILS);
  const auto selected = ContextMenuItems(launcher);
  ASSERT_EQ(selected.size(), 17u);
  EXPECT_TRUE(selected[0].enabled);
  EXPECT_TRUE(selected[5].enabled);
  EXPECT_TRUE(selected[16].enabled);
  EXPECT_TRUE(selected[11].checked);  // Details
  EXPECT_FALSE(selected[8].checked);
}

TEST_F(ShortcutListTest, DeleteAsksWithYesAsTheDefaultAndDeleteAllWithNo) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  for (const char* name : {"c", "a", "b"}) AddItem(launcher, "FOLDER", name, name, 1);
  Select(launcher, 0);
  {
    ModalResponder responder({IDNO, IDYES});
    KeyDownInList(launcher, VK_DELETE);  // No: kept
    EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 3);
    Command(launcher, ID_DELETE);        // Yes: gone, and the rest sorted
    const auto seen = responder.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "Remove Shortcut");
    EXPECT_EQ(seen[0].text, "Are you sure you want to remove the selected shortcut?");
    EXPECT_EQ(seen[0].icon, "question");
    EXPECT_EQ(seen[0].ButtonTexts(), "&Yes|&No");
    EXPECT_EQ(seen[0].DefaultButton(), IDYES);
  }
  EXPECT_EQ(Names(launcher), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(launcher.View()->SelectedItem(), -1);
  {
    ModalResponder responder({IDNO, IDYES});
    Command(launcher, ID_DELETE_ALL);
    EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 2);
    Command(launcher, ID_DELETE_ALL);
    const auto seen = responder.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "Remove All Shortcuts");
    EXPECT_EQ(seen[0].text, "Are you sure you want to remove all shortcuts?\nThis action cannot be undone.");
    EXPECT_EQ(seen[0].DefaultButton(), IDNO);
  }
  EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 0);
  EXPECT_EQ(::ImageList_GetImageCount(launcher.View()->GetListCtrl().GetImageList(LVSIL_NORMAL)), 2);
}

TEST_F(ShortcutListTest, DeletingTheLastShortcutLeavesAHeaderOnlyFile) {
  LauncherHarness launcher;
  ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), "SC_NAME=Only\r\nSC_TYPE=FOLDER\r\nSC_PATH=C:\\\r\nSC_CMLN=\r\n"));
  ASSERT_TRUE(launcher.Start());
  Select(launcher, 0);
  {
    ModalResponder responder({IDYES});
    Command(launcher, ID_DELETE);
  }
  launcher.Close();
  const auto bytes = ReadFileBytes(launcher.DataPath());
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->find("SC_"), std::string::npos);
  EXPECT_EQ(bytes->rfind("*/\r\n"), bytes->size() - 4);
}

TEST_F(ShortcutListTest, LoadedIconsStandInCatalogueOrder) {
  LauncherHarness launcher;
  std::string bytes;
  for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"}) {
    bytes += std::string("SC_NAME=") + name + "\r\nSC_TYPE=FOLDER\r\nSC_PATH=C:\\" + name + "\r\nSC_CMLN=\r\n";
  }
  ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), bytes));
  ASSERT_TRUE(launcher.Start());
  PumpMessagesFor(std::chrono::milliseconds(100));
  POINT previous{-1, -1};
  for (int i = 0; i < launcher.View()->GetListCtrl().GetItemCount(); ++i) {
    POINT position{};
    launcher.View()->SendMessage(LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&position));
    // Row by row, left to right: each item after the one before it.
    EXPECT_TRUE(position.y > previous.y || (position.y == previous.y && position.x > previous.x)) << "item " << i;
    previous = position;
  }
}
