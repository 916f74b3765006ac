// The launcher's shell as a user meets it: first start, stored settings, the frame's menu,
// toolbar and status bar, snapping, and shutting down (also with Windows).
#include <gtest/gtest.h>

#include <vector>

#include "framework/ControlBars.h"
#include "games/GameLocations.h"
#include "res/resource.h"
#include "catalogue/CatalogueList.h"
#include "support/LauncherHarness.h"
#include "support/ModalResponder.h"

using namespace oltest;

namespace {

struct MenuLine {
  std::string text;
  UINT id;  // 0 for a separator, -1 for a submenu
};

std::vector<MenuLine> MenuLines(HMENU menu) {
  std::vector<MenuLine> lines;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[256] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    const UINT id = ::GetSubMenu(menu, i) ? static_cast<UINT>(-1) : ::GetMenuItemID(menu, i);
    lines.push_back({text, id});
  }
  return lines;
}

bool IsTopmost(HWND hwnd) { return (::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class LauncherShellTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearInstallerEntries(); }
  void TearDown() override { ClearInstallerEntries(); }
};

}  // namespace

TEST_F(LauncherShellTest, FirstStartUsesTheDefaultsAndWritesAllTwentyFiveSettings) {
  {
    LauncherHarness launcher;
    // Reading a setting makes the key, as writing one does.
    launcher.App().SetRegistryKey("Nettlewick");
    EXPECT_EQ(launcher.App().GetProfileInt("", "View Setting", 7), 7u);
    HKEY key = nullptr;
    EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    if (key != nullptr) ::RegCloseKey(key);
    ASSERT_TRUE(launcher.Start());
    const RECT frame = launcher.Frame()->GetWindowRect();
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right - frame.left, 450);
    EXPECT_EQ(frame.bottom - frame.top, 300);
    EXPECT_FALSE(IsTopmost(launcher.FrameHwnd()));
    EXPECT_EQ(launcher.Frame()->m_bSnapEnabled, 1);
    EXPECT_EQ(launcher.Frame()->m_nSnapWidth, 10);
    EXPECT_EQ(launcher.Frame()->GetWindowText(), "Orbels Launch");
    const DWORD style = launcher.Frame()->GetStyle() & ~(WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(style, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
    launcher.Close();
  }
  EXPECT_EQ(CountSettingsValues(), 25);
  EXPECT_EQ(ReadSettingsText("Game Location"), "");
  EXPECT_EQ(ReadSettingsText("Game Two Executable"), "\\TOBin\\Orbels2.exe");
  EXPECT_EQ(ReadSettingsText("Custom Resolution"), "1152x864");
  EXPECT_EQ(ReadSettingsText("Last Add Folder"), "");
  EXPECT_EQ(ReadSettingsDword("Width"), 450u);
  EXPECT_EQ(ReadSettingsDword("Height"), 300u);
  EXPECT_EQ(ReadSettingsDword("Left Position"), 0u);
  for (const auto* name : {"Mouse Selection", "Snap Window", "Skip Intro", "Auto Minimize"}) {
    EXPECT_EQ(ReadSettingsDword(name), 1u) << name;
  }
  EXPECT_EQ(ReadSettingsDword("Snap Width"), 10u);
  for (const auto* name : {"Disable DX 6", "Hide Launch", "Keep On Top", "No Sound", "No Sound Two",
                           "Resolution Radio", "Run High Res", "Run in Window", "Run Two in Window",
                           "Skip System Check", "Specify Resolution", "View Setting"}) {
    EXPECT_EQ(ReadSettingsDword(name), 0u) << name;
  }
}

TEST_F(LauncherShellTest, TheInstallersEntriesBecomeTheGameDefaults) {
  // (Which registry view is read first is the next test's.)
  SetInstallerEntry("Software\\Quarrow\\The Orbels", "ORBELS_DATA", "C:\\Games\\Orbels\\");
  SetInstallerEntry("Software\\VORN GAMES\\The Orbels 2", "Install Dir", "D:\\Games\\Orbels 2\\\\");
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  EXPECT_EQ(launcher.View()->m_strGameLocation, "C:\\Games\\Orbels\\");  // kept as stored
  // Only one of the two trailing backslashes goes.
  EXPECT_EQ(launcher.View()->m_strGameTwoExecutable, "D:\\Games\\Orbels 2\\\\TOBin\\Orbels2.exe");
}

TEST_F(LauncherShellTest, InstallerEntriesAreReadFromThe32BitViewFirstAndOnlyAsTextThatFits) {
  const char* key = "Software\\Quarrow\\The Orbels";
  SetInstallerEntry(key, "ORBELS_DATA", "C:\\In64", KEY_WOW64_64KEY);
  EXPECT_EQ(ol::AutoLocateGame(), "C:\\In64");
  SetInstallerEntry(key, "ORBELS_DATA", "C:\\In32", KEY_WOW64_32KEY);
  EXPECT_EQ(ol::AutoLocateGame(), "C:\\In32");

  ClearInstallerEntries();
  SetInstallerEntry(key, nullptr, "");  // the key without its value
  EXPECT_EQ(ol::AutoLocateGame(), "");
  const std::string longest(259, 'x');  // with its terminating zero, exactly 260 bytes
  SetInstallerEntry(key, "ORBELS_DATA", longest);
  EXPECT_EQ(ol::AutoLocateGame(), longest);
  SetInstallerEntry(key, "ORBELS_DATA", longest + "y");
  EXPECT_EQ(ol::AutoLocateGame(), "");
  // The limit is a path's 260 characters, however many bytes each takes in UTF-8.
  std::string cyrillic;
  for (int i = 0; i < 259; ++i) cyrillic += "Ж";
  SetInstallerEntry(key, "ORBELS_DATA", cyrillic);
  EXPECT_EQ(ol::AutoLocateGame(), cyrillic);
  SetInstallerEntry(key, "ORBELS_DATA", cyrillic + "Ж");
  EXPECT_EQ(ol::AutoLocateGame(), "");
  SetInstallerEntry(key, "ORBELS_DATA", "%SystemDrive%\\Games", KEY_WOW64_32KEY, REG_EXPAND_SZ);
  EXPECT_EQ(ol::AutoLocateGame(), "");
  SetInstallerEntry(key, "ORBELS_DATA", "1234", KEY_WOW64_32KEY, REG_DWORD);
  EXPECT_EQ(ol::AutoLocateGame(), "");
  // A 32-bit entry that cannot be used leaves the 64-bit one to count.
  SetInstallerEntry(key, "ORBELS_DATA", "C:\\In64", KEY_WOW64_64KEY);
  EXPECT_EQ(ol::AutoLocateGame(), "C:\\In64");
}

TEST_F(LauncherShellTest, StoredGameLocationsWinOverTheInstallers) {
  WriteSettingsText("Game Location", "");
  SetInstallerEntry("Software\\Quarrow\\The Orbels", "ORBELS_DATA", "C:\\Games\\Orbels");
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  EXPECT_EQ(launcher.View()->m_strGameLocation, "");
}

TEST_F(LauncherShellTest, StoredPlacementIsClampedAndOnTopNeedsExactlyOne) {
  ClearLauncherSettings();
  WriteSettingsDword("Left Position", static_cast<DWORD>(-32000));
  WriteSettingsDword("Top Position", 100000);
  WriteSettingsDword("Width", 500);
  WriteSettingsDword("Height", 350);
  WriteSettingsDword("Keep On Top", 2);
  {
    LauncherHarness launcher(false);
    ASSERT_TRUE(launcher.Start());
    const RECT frame = launcher.Frame()->GetWindowRect();
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right - frame.left, 500);
    EXPECT_EQ(frame.bottom - frame.top, 350);
    EXPECT_FALSE(IsTopmost(launcher.FrameHwnd()));
  }
  WriteSettingsDword("Keep On Top", 1);
  WriteSettingsDword("Left Position", 40);
  WriteSettingsDword("Top Position", 30);
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  EXPECT_TRUE(IsTopmost(launcher.FrameHwnd()));
  EXPECT_EQ(launcher.Frame()->GetWindowRect().left, 40);
  EXPECT_EQ(launcher.Frame()->GetWindowRect().top, 30);
}

TEST_F(LauncherShellTest, ValuesOfTheWrongTypeReadAsMissingAndOddIntegersPassThrough) {
  ClearLauncherSettings();
  WriteSettingsText("Snap Width", "25");    // text where a number belongs
  WriteSettingsDword("Custom Resolution", 7);  // a number where text belongs
  WriteSettingsDword("View Setting", 7);
  WriteSettingsDword("Mouse Selection", 5);
  {
    LauncherHarness launcher(false);
    ASSERT_TRUE(launcher.Start());
    EXPECT_EQ(launcher.View()->m_nSnapWidth, 10);
    EXPECT_EQ(launcher.View()->m_strCustomResolution, "1152x864");
    EXPECT_EQ(launcher.View()->m_nViewSetting, 7);
    EXPECT_EQ(launcher.View()->GetStyle() & LVS_TYPEMASK, static_cast<DWORD>(LVS_ICON));
    EXPECT_EQ(launcher.View()->m_nMouseSelection, 5);
    EXPECT_EQ(launcher.View()->GetListCtrl().GetExtendedStyle() & LVS_EX_TRACKSELECT, 0u);
    // No view-mode item carries a check mark.
    HMENU view = ::GetSubMenu(::GetMenu(launcher.FrameHwnd()), 1);
    ::SendMessageA(launcher.FrameHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 1);
    for (UINT id : {ID_VIEW_LARGE_ICONS, ID_VIEW_SMALL_ICONS, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
      EXPECT_EQ(::GetMenuState(view, id, MF_BYCOMMAND) & MF_CHECKED, 0u) << id;
    }
  }
  EXPECT_EQ(ReadSettingsDword("View Setting"), 7u);  // written back unchanged
  EXPECT_EQ(ReadSettingsDword("Snap Width"), 10u);   // and now of the right type
}

TEST_F(LauncherShellTest, TheMenuBarHasEveryItemAndSeparator) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  HMENU bar = ::GetMenu(launcher.FrameHwnd());
  const auto top = MenuLines(bar);
  ASSERT_EQ(top.size(), 4u);
  EXPECT_EQ(top[0].text, "&File");
  EXPECT_EQ(top[3].text, "&Help");
  const auto file = MenuLines(::GetSubMenu(bar, 0));
  const std::vector<std::pair<std::string, UINT>> expectedFile = {
      {"&New Program Shortcut...\tCtrl+N", 32786}, {"New &Folder Shortcut...\tCtrl+Shift+N", 32787}, {"", 0},
      {"&Rename\tF2", 32788}, {"&Delete\tDel", 32789}, {"Delete &All Shortcuts", 32795}, {"", 0},
      {"&Properties...\tAlt+Enter", 32790}, {"", 0}, {"E&xit", 57665}};
  ASSERT_EQ(file.size(), expectedFile.size());
  for (std::size_t i = 0; i < file.size(); ++i) {
    EXPECT_EQ(file[i].text, expectedFile[i].first);
    EXPECT_EQ(file[i].id, expectedFile[i].second);
  }
  // Exit has its handler, so the update that greys commands without one leaves it alone.
  ::SendMessageA(launcher.FrameHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSubMenu(bar, 0)), 0);
  EXPECT_EQ(::GetMenuState(bar, ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED, 0u);
  const auto view = MenuLines(::GetSubMenu(bar, 1));
  ASSERT_EQ(view.size(), 9u);
  EXPECT_EQ(view[4].id, 0u);
  EXPECT_EQ(view[6].text, "&Refresh View\tF5");
  EXPECT_EQ(view[7].id, 0u);
  EXPECT_EQ(view[8].text, "&Program Options...");
  const auto launch = MenuLines(::GetSubMenu(bar, 2));
  ASSERT_EQ(launch.size(), 4u);
  EXPECT_EQ(launch[3].text, "T&he Orbels 2...\tF12");
  const auto help = MenuLines(::GetSubMenu(bar, 3));
  ASSERT_EQ(help.size(), 3u);
  EXPECT_EQ(help[2].text, "&About Orbels Launch");
  EXPECT_EQ(help[2].id, 57664u);
}

TEST_F(LauncherShellTest, AcceleratorsAreTheTablesKeys) {
  HACCEL table = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  ACCEL keys[16] = {};
  const int count = ::CopyAcceleratorTableA(table, keys, 16);
  ASSERT_EQ(count, 8);
  auto find = [&](WORD key, BYTE modifiers) -> int {
    for (int i = 0; i < count; ++i) {
      if (keys[i].key == key && (keys[i].fVirt & (FCONTROL | FSHIFT | FALT)) == modifiers) return keys[i].cmd;
    }
    return -1;
  };
  EXPECT_EQ(find('N', FCONTROL), 32786);
  EXPECT_EQ(find('N', FCONTROL | FSHIFT), 32787);
  EXPECT_EQ(find(VK_F2, 0), 32788);
  EXPECT_EQ(find(VK_F5, 0), 32784);
  EXPECT_EQ(find(VK_F9, 0), 32779);
  EXPECT_EQ(find(VK_F11, 0), 32780);
  EXPECT_EQ(find(VK_F12, 0), 32796);
  EXPECT_EQ(find(VK_F1, 0), 32778);
  for (int i = 0; i < count; ++i) EXPECT_TRUE(keys[i].fVirt & FVIRTKEY);
}

TEST_F(LauncherShellTest, AnAcceleratorKeyReachesTheViewAsACommand) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  // F5 in the list becomes Refresh View: the list is sorted.
  auto list = launcher.View()->GetListCtrl();
  for (const char* name : {"b", "C", "a"}) {
    ol::InsertShortcutItem(list, list.GetItemCount(), ol::NewShortcutRecord(ol::CShortcut{"FOLDER", name, "x", "", 1}));
  }
  MSG key{launcher.View()->m_hWnd, WM_KEYDOWN, VK_F5, 0};
  ASSERT_TRUE(launcher.App().PreTranslateMessage(&key));
  EXPECT_EQ(list.GetItemText(0, 0), "C");
  EXPECT_EQ(list.GetItemText(2, 0), "b");
}

TEST_F(LauncherShellTest, ToolbarButtonsStandInOrderWithTheirTooltipsAndPrompts) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  HWND toolbar = launcher.Frame()->m_wndToolBar.m_hWnd;
  // The buttons draw from the frame's two lists of ten images each.
  const auto images = reinterpret_cast<HIMAGELIST>(::SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
  const auto disabled = reinterpret_cast<HIMAGELIST>(::SendMessageA(toolbar, TB_GETDISABLEDIMAGELIST, 0, 0));
  EXPECT_EQ(images, launcher.Frame()->m_imageListToolbar.GetSafeHandle());
  EXPECT_EQ(disabled, launcher.Frame()->m_imageListToolbarDisabled.GetSafeHandle());
  EXPECT_EQ(::ImageList_GetImageCount(images), 10);
  EXPECT_EQ(::ImageList_GetImageCount(disabled), 10);
  const int count = static_cast<int>(::SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
  std::vector<int> ids;
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    ::SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    ids.push_back((button.fsStyle & TBSTYLE_SEP) ? 0 : button.idCommand);
  }
  EXPECT_EQ(ids, (std::vector<int>{32786, 32787, 0, 32789, 32790, 0, 32779, 32780, 32796, 0, 32785, 0, 32778, 57664}));

  NMTTDISPINFOA tip{};
  tip.hdr = {toolbar, 32780, TTN_GETDISPINFOA};
  ::SendMessageA(launcher.FrameHwnd(), WM_NOTIFY, 32780, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip.lpszText, nullptr);
  EXPECT_STREQ(tip.lpszText, "Launch The Orbels");

  NMTBHOTITEM hot{};
  hot.hdr = {toolbar, AFX_IDW_TOOLBAR, TBN_HOTITEMCHANGE};
  hot.idNew = 32780;
  ::SendMessageA(launcher.FrameHwnd(), WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&hot));
  EXPECT_EQ(launcher.Frame()->m_wndStatusBar.GetPaneText(0), "Open the \"Launch Game\" dialog for The Orbels.");
  hot.dwFlags = HICF_LEAVING;
  ::SendMessageA(launcher.FrameHwnd(), WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&hot));
  EXPECT_EQ(launcher.Frame()->m_wndStatusBar.GetPaneText(0), "Idle");

  ::SendMessageA(launcher.FrameHwnd(), WM_MENUSELECT, MAKEWPARAM(32784, MF_STRING), 0);
  EXPECT_EQ(launcher.Frame()->m_wndStatusBar.GetPaneText(0), "Sort all items in alphabetical order.");
  ::SendMessageA(launcher.FrameHwnd(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(launcher.Frame()->m_wndStatusBar.GetPaneText(0), "Idle");
}

TEST_F(LauncherShellTest, TheCountPaneFollowsTheListAtIdleTime) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  launcher.Idle();
  CStatusBar& bar = launcher.Frame()->m_wndStatusBar;
  EXPECT_EQ(bar.GetPaneText(1), "\t\t0 Shortcuts");
  char shown[64] = {};
  ::SendMessageA(bar.m_hWnd, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, "\t\t0 Shortcuts");
  auto list = launcher.View()->GetListCtrl();
  ol::InsertShortcutItem(list, 0, ol::NewShortcutRecord(ol::CShortcut{"FOLDER", "one", "x", "", 1}));
  launcher.Idle();
  EXPECT_EQ(bar.GetPaneText(1), "\t\t1 Shortcut");
  UINT id = 0;
  UINT style = 0;
  int width = 0;
  bar.GetPaneInfo(0, id, style, width);
  EXPECT_EQ(style, SBPS_NOBORDERS | SBPS_STRETCH);
  bar.GetPaneInfo(1, id, style, width);
  EXPECT_EQ(id, static_cast<UINT>(ID_INDICATOR_SHORTCUTS));
  EXPECT_GT(width, 0);
}

TEST_F(LauncherShellTest, OneHandlerServesTheMenuAndTheToolbar) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  ::SendMessageA(launcher.FrameHwnd(), WM_COMMAND, ID_VIEW_DETAILS, 0);
  EXPECT_EQ(launcher.View()->m_nViewSetting, 3);
  EXPECT_EQ(launcher.View()->GetStyle() & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
  HMENU view = ::GetSubMenu(::GetMenu(launcher.FrameHwnd()), 1);
  ::SendMessageA(launcher.FrameHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 1);
  EXPECT_NE(::GetMenuState(view, ID_VIEW_DETAILS, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(::GetMenuState(view, ID_VIEW_LARGE_ICONS, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(::GetMenuState(view, ID_REFRESH_VIEW, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(LauncherShellTest, TheFrameCannotBeMadeSmallerThan330By250) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  MINMAXINFO info{};
  ::SendMessageA(launcher.FrameHwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 330);
  EXPECT_EQ(info.ptMinTrackSize.y, 250);
  ::SetWindowPos(launcher.FrameHwnd(), nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOMOVE);
  const RECT frame = launcher.Frame()->GetWindowRect();
  EXPECT_GE(frame.right - frame.left, 330);
  EXPECT_GE(frame.bottom - frame.top, 250);
}

TEST_F(LauncherShellTest, AFrameWhoseCreationFailsHasItsMenuFreedOnceByTheSystem) {
  struct RefusingView : CView {
    bool PreCreateWindow(CREATESTRUCTA&) override { return false; }
  };
  CFrameWnd frame;
  EXPECT_FALSE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, [] { return std::make_unique<RefusingView>(); }));
  EXPECT_EQ(frame.m_hWnd, nullptr);
}

TEST_F(LauncherShellTest, MovingNearAnEdgeSnapsFlush) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  HWND frame = launcher.FrameHwnd();
  ::SetWindowPos(frame, nullptr, 100, 100, 450, 300, SWP_NOZORDER);
  ASSERT_TRUE(::SetCursorPos(150, 110));  // grab 50, 10 from the corner
  ::SendMessageA(frame, WM_ENTERSIZEMOVE, 0, 0);
  EXPECT_EQ(launcher.Frame()->m_ptGrabOffset, (ol::Point{50, 10}));
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);

  ::SetCursorPos(work.left + 9 + 50, 210);  // left edge 9 pixels from the work area's
  RECT proposed{0, 0, 450, 300};
  ::SendMessageA(frame, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.left, work.left);
  EXPECT_EQ(proposed.top, 200);
  EXPECT_EQ(proposed.right - proposed.left, 450);

  ::SetCursorPos(work.left + 10 + 50, 210);  // exactly 10: no snap
  proposed = RECT{0, 0, 450, 300};
  ::SendMessageA(frame, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.left, work.left + 10);

  launcher.Frame()->SetSnapEnabled(false);  // off: the proposal passes untouched
  proposed = RECT{3, 4, 453, 304};
  ::SendMessageA(frame, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.left, 3);
}

TEST_F(LauncherShellTest, EndingTheWindowsSessionSavesLikeClosing) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  auto list = launcher.View()->GetListCtrl();
  ol::InsertShortcutItem(list, 0, ol::NewShortcutRecord(ol::CShortcut{"FOLDER", "Saves", "C:\\Saves", "", 1}));
  launcher.View()->m_strLastAddFolder = "C:\\Tools";
  ::SendMessageA(launcher.FrameHwnd(), WM_QUERYENDSESSION, 0, 0);
  ::SendMessageA(launcher.FrameHwnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(::IsWindow(launcher.FrameHwnd()));
  const auto bytes = ReadFileBytes(launcher.DataPath());
  ASSERT_TRUE(bytes);
  EXPECT_NE(bytes->find("SC_NAME=Saves\r\nSC_TYPE=FOLDER\r\nSC_PATH=C:\\Saves\r\nSC_CMLN=\r\n"), std::string::npos);
  EXPECT_EQ(ReadSettingsText("Last Add Folder"), "C:\\Tools");
}

TEST_F(LauncherShellTest, TheCatalogueIsLoadedAtStartAndEveryRecordFreedAtExit) {
  const long before = ol::LiveShortcutRecordCount();
  {
    LauncherHarness launcher;
    ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), "SC_NAME=b\r\nSC_TYPE=FOLDER\r\nSC_PATH=x\r\nSC_CMLN=\r\n"
                                                    "SC_NAME=a\r\nSC_TYPE=FOLDER\r\nSC_PATH=y\r\nSC_CMLN=\r\n"));
    ASSERT_TRUE(launcher.Start());
    EXPECT_EQ(launcher.View()->GetListCtrl().GetItemCount(), 2);
    EXPECT_EQ(launcher.View()->GetListCtrl().GetItemText(0, 0), "b");  // file order until sorted
    EXPECT_EQ(ol::LiveShortcutRecordCount(), before + 2);
    launcher.Close();
    EXPECT_EQ(ol::LiveShortcutRecordCount(), before);
    const auto bytes = ReadFileBytes(launcher.DataPath());
    ASSERT_TRUE(bytes);
    EXPECT_LT(bytes->find("SC_NAME=a"), bytes->find("SC_NAME=b"));
  }
}

TEST_F(LauncherShellTest, AboutOptionsAndHelpAreReachedFromTheirCommands) {
  LauncherHarness launcher;
  ASSERT_TRUE(launcher.Start());
  {
    ModalResponder responder({IDCANCEL, IDCANCEL});
    ::SendMessageA(launcher.FrameHwnd(), WM_COMMAND, ID_APP_ABOUT, 0);  // handled by the application
    ::SendMessageA(launcher.FrameHwnd(), WM_COMMAND, ID_PROGRAM_OPTIONS, 0);
    const auto seen = responder.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "About Orbels Launch");
    EXPECT_EQ(seen[1].title, "Program Options");
  }
  // The help file is built next to the test programs: F1 opens its window.
  MSG key{launcher.View()->m_hWnd, WM_KEYDOWN, VK_F1, 0};
  ASSERT_TRUE(launcher.App().PreTranslateMessage(&key));
  PumpMessagesFor(std::chrono::milliseconds(500));
  HWND help = ::FindWindowA(nullptr, "Orbels Launch Help");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(::GetMenuState(::GetSystemMenu(help, FALSE), 0xEFFF, MF_BYCOMMAND), static_cast<UINT>(-1));
  ::SendMessageA(help, WM_CLOSE, 0, 0);
}

TEST_F(LauncherShellTest, F11AndF12StartTheGamesByQuickLaunch) {
  ScratchDir games;
  ASSERT_TRUE(CopyTestFile(RecorderPath(), games / "Orbels.exe"));
  ASSERT_TRUE(::CreateDirectoryA((games / "TOBin").c_str(), nullptr));
  ASSERT_TRUE(CopyTestFile(RecorderPath(), games / "TOBin\\Orbels2.exe"));
  ClearLauncherSettings();
  WriteSettingsDword("Hide Launch", 1);
  WriteSettingsDword("Auto Minimize", 0);
  WriteSettingsText("Game Location", games.Path());
  WriteSettingsText("Game Two Executable", games / "TOBin\\Orbels2.exe");
  LauncherHarness launcher(false);
  ASSERT_TRUE(launcher.Start());
  const std::string out = games / "recording.txt";
  ::SetEnvironmentVariableA("OL_RECORDER_OUT", out.c_str());

  MSG f11{launcher.View()->m_hWnd, WM_KEYDOWN, VK_F11, 0};
  ASSERT_TRUE(launcher.App().PreTranslateMessage(&f11));
  auto seen = WaitForRecording(out);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->commandLine, games / "Orbels.exe -skip_intro");  // "Skip Intro" is on by default
  EXPECT_EQ(seen->workingDirectory, games.Path());
  ::DeleteFileA(out.c_str());

  MSG f12{launcher.View()->m_hWnd, WM_KEYDOWN, VK_F12, 0};
  ASSERT_TRUE(launcher.App().PreTranslateMessage(&f12));
  seen = WaitForRecording(out);
  ASSERT_TRUE(seen);
  // No switch set: the second game gets no command line at all (the system then passes the
  // program's own path).
  EXPECT_NE(seen->commandLine.find("Orbels2.exe"), std::string::npos);
  EXPECT_EQ(seen->workingDirectory, games / "TOBin");
  EXPECT_FALSE(::IsIconic(launcher.FrameHwnd()));
}
