// The Program Options dialog on its real template, and the command's flow on the real
// launcher: seeding, the validation that answers every keystroke, and OK applying the
// settings to the main window and the list at once (Cancel applying nothing).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/OptionsDlg.h"
#include "dialogs/ProgramOptions.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "support/LauncherHarness.h"
#include "support/ModalResponder.h"
#include "support/ModalScript.h"

using namespace oltest;

namespace {

constexpr const char* kTitle = "Program Options";

bool IsChecked(HWND dialog, int id) { return ::SendMessageA(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetCheck(HWND dialog, int id, bool on) {
  ::SendMessageA(::GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool IsTopmost(HWND hwnd) { return (::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
DWORD ListExStyle(HWND list) { return static_cast<DWORD>(::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)); }

std::vector<SeenDialog> MessageBoxesOf(const ModalResponder& responder) {
  std::vector<SeenDialog> boxes;
  for (const SeenDialog& seen : responder.Seen()) {
    if (seen.title != kTitle) boxes.push_back(seen);
  }
  return boxes;
}

// The dialog of this thread with the given title, when one is open.
HWND FindThreadDialog(const char* title) {
  struct Search {
    const char* title;
    HWND found;
  } search{title, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (WindowText(hwnd) != s->title) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { m_app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOW); }
  CWinApp m_app;
};

struct ControlRow {
  int id;
  const char* className;
  const char* text;
  LONG kind;  // the button type, the static's alignment, or -1 for an edit
  bool tabStop;
  bool group;
  RECT units;  // x, y, width, height in dialog units
};

}  // namespace

TEST_F(OptionsDialogTest, StartsEmptyAndMatchesItsTemplate) {
  COptionsDlg dialog;
  EXPECT_EQ(dialog.m_bKeepOnTop, 0);
  EXPECT_EQ(dialog.m_nMouseSelection, -1);
  EXPECT_EQ(dialog.m_bSnapWindow, 0);
  EXPECT_EQ(dialog.m_nSnapWidth, 0);
  EXPECT_EQ(dialog.m_bAutoMinimize, 0);
  EXPECT_EQ(dialog.m_bHideLaunch, 0);
  // A checked radio button is the one that the Tab key stops at in its group.
  dialog.m_nMouseSelection = 0;

  const ControlRow expected[] = {
      {-1, "Button", "General", BS_GROUPBOX, false, false, {4, 2, 200, 40}},
      {1023, "Button", "S&nap main window at", BS_AUTOCHECKBOX, true, false, {10, 14, 83, 10}},
      {1025, "Edit", "0", -1, true, false, {94, 12, 18, 12}},
      {-1, "Static", "pixels", SS_LEFT, false, false, {116, 14, 18, 8}},
      {1015, "Button", "&Always keep main window on top", BS_AUTOCHECKBOX, true, false, {10, 26, 121, 10}},
      {-1, "Button", "Launching The Orbels and The Orbels 2", BS_GROUPBOX, false, false, {4, 44, 200, 40}},
      {1000, "Button", "Automatically &minimize Orbels Launch", BS_AUTOCHECKBOX, true, false, {10, 56, 128, 10}},
      {1001, "Button", "&Hide launch game dialog (quick launch)", BS_AUTOCHECKBOX, true, false, {10, 68, 141, 10}},
      {-1, "Button", "Mouse Selection", BS_GROUPBOX, false, false, {4, 88, 200, 36}},
      {1006, "Button", "&Single click to launch shortcut (point to select)", BS_AUTORADIOBUTTON, true, true,
       {10, 99, 161, 10}},
      {1007, "Button", "&Double click to launch shortcut (single click to select)", BS_AUTORADIOBUTTON, false, false,
       {10, 110, 183, 10}},
      {IDOK, "Button", "OK", BS_DEFPUSHBUTTON, true, true, {96, 128, 50, 14}},
      {IDCANCEL, "Button", "Cancel", BS_PUSHBUTTON, true, false, {152, 128, 50, 14}},
  };

  ModalScript script([&] {
    HWND hwnd = dialog.m_hWnd;
    EXPECT_EQ(WindowText(hwnd), "Program Options");
    const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & DS_MODALFRAME);
    EXPECT_FALSE(style & WS_SYSMENU);  // no close box
    RECT size{0, 0, 210, 146};
    ::MapDialogRect(hwnd, &size);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Shell Dlg");

    // Every control in template order, which is also the tab order.
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
      children.push_back(child);
    }
    ASSERT_EQ(children.size(), std::size(expected));
    for (std::size_t i = 0; i < children.size(); ++i) {
      const ControlRow& row = expected[i];
      HWND child = children[i];
      SCOPED_TRACE(row.text);
      char className[32] = {};
      ::GetClassNameA(child, className, sizeof className);
      EXPECT_STREQ(className, row.className);
      if (row.id != -1) {
        EXPECT_EQ(::GetDlgCtrlID(child), row.id);
      }
      EXPECT_EQ(WindowText(child), row.text);
      const LONG childStyle = ::GetWindowLongA(child, GWL_STYLE);
      if (row.kind == -1) {
        EXPECT_TRUE(childStyle & ES_NUMBER);
        EXPECT_TRUE(childStyle & ES_AUTOHSCROLL);
        EXPECT_TRUE((childStyle & WS_BORDER) || (::GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
      } else {
        EXPECT_EQ(childStyle & 0x0F, row.kind);
      }
      EXPECT_EQ((childStyle & WS_TABSTOP) != 0, row.tabStop);
      EXPECT_EQ((childStyle & WS_GROUP) != 0, row.group);
      // Position and size are converted to pixels each on its own, as the dialog manager does.
      RECT pixels = row.units;
      ::MapDialogRect(hwnd, &pixels);
      RECT place{};
      ::GetWindowRect(child, &place);
      ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&place), 2);
      EXPECT_EQ(place.left, pixels.left);
      EXPECT_EQ(place.top, pixels.top);
      EXPECT_EQ(place.right - place.left, pixels.right);
      EXPECT_EQ(place.bottom - place.top, pixels.bottom);
    }
    // The Tab key's round, from the first control back to it.
    const int tabRound[] = {1023, 1025, 1015, 1000, 1001, 1006, IDOK, IDCANCEL, 1023};
    HWND at = ::GetDlgItem(hwnd, tabRound[0]);
    EXPECT_EQ(::GetFocus(), at);
    for (std::size_t i = 1; i < std::size(tabRound); ++i) {
      at = ::GetNextDlgTabItem(hwnd, at, FALSE);
      EXPECT_EQ(::GetDlgCtrlID(at), tabRound[i]);
    }
    // Esc cancels, although there is no close box.
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(OptionsDialogTest, ABadSnapWidthIsReportedOnTheKeystrokeAndTheDialogStaysOpen) {
  COptionsDlg dialog;
  dialog.m_nSnapWidth = 10;
  dialog.m_nMouseSelection = 1;
  ModalResponder responder = AnswerMessageBoxes(kTitle);
  std::vector<std::size_t> boxesAfterStep;
  ModalScript script([&] {
    HWND hwnd = dialog.m_hWnd;
    HWND edit = ::GetDlgItem(hwnd, IDC_SNAP_WIDTH);
    auto expectEditSelectedWithFocus = [&] {
      EXPECT_EQ(::GetFocus(), edit);
      DWORD start = 1;
      DWORD end = 0;
      ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      EXPECT_EQ(start, 0u);
      EXPECT_EQ(end, static_cast<DWORD>(::GetWindowTextLengthA(edit)));
      EXPECT_TRUE(::IsWindowVisible(hwnd));
    };
    // Emptying the field.
    ::SetWindowTextA(edit, "");
    boxesAfterStep.push_back(MessageBoxesOf(responder).size());
    expectEditSelectedWithFocus();
    // Typing the digit that makes 10 into 101.
    ::SetWindowTextA(edit, "10");
    ::SendMessageA(edit, EM_SETSEL, 2, 2);
    ::SendMessageA(edit, WM_CHAR, '1', 1);
    EXPECT_EQ(WindowText(edit), "101");
    boxesAfterStep.push_back(MessageBoxesOf(responder).size());
    expectEditSelectedWithFocus();
    // A click of a check box checks the field as well, and stops before the later fields.
    SetCheck(hwnd, IDC_AUTO_MINIMIZE, true);
    ::SendMessageA(::GetDlgItem(hwnd, IDC_KEEP_ON_TOP), BM_CLICK, 0, 0);
    boxesAfterStep.push_back(MessageBoxesOf(responder).size());
    EXPECT_EQ(dialog.m_bKeepOnTop, 1);
    EXPECT_EQ(dialog.m_bAutoMinimize, 0);
    expectEditSelectedWithFocus();
    // OK refuses as well; 100 is accepted, and a letter cannot be typed at all.
    ::SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
    boxesAfterStep.push_back(MessageBoxesOf(responder).size());
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    ::SetWindowTextA(edit, "100");
    EXPECT_EQ(dialog.m_nSnapWidth, 100);
    EXPECT_EQ(dialog.m_bAutoMinimize, 1);  // this time the exchange went through
    ::SendMessageA(edit, EM_SETSEL, 3, 3);
    ::SendMessageA(edit, WM_CHAR, 'x', 1);
    EXPECT_EQ(WindowText(edit), "100");
    boxesAfterStep.push_back(MessageBoxesOf(responder).size());
    ::SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_nSnapWidth, 100);
  EXPECT_EQ(dialog.m_nMouseSelection, 1);
  EXPECT_EQ(boxesAfterStep, (std::vector<std::size_t>{1, 2, 3, 4, 4}));
  const std::vector<SeenDialog> boxes = MessageBoxesOf(responder);
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].text, "Please enter an integer.");
  for (std::size_t i = 1; i < boxes.size(); ++i) {
    EXPECT_EQ(boxes[i].text, "Please enter an integer between 0 and 100.");
  }
  for (const SeenDialog& box : boxes) {
    EXPECT_EQ(box.title, "Orbels Launch");
    EXPECT_EQ(box.icon, "exclamation");
    EXPECT_EQ(box.ButtonTexts(), "OK");
  }
}

// The command's flow on the real launcher: its settings, its frame and its list.
class ProgramOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearInstallerEntries();
    ASSERT_TRUE(m_launcher.Start());
    m_list = m_launcher.View()->m_hWnd;
  }
  void TearDown() override { m_launcher.Close(); }

  // Opens the dialog through the command's flow and lets `user` work it on the UI thread.
  void Run(std::function<void(HWND dialog)> user) {
    ModalScript script([&] {
      HWND dialog = FindThreadDialog(kTitle);
      ASSERT_NE(dialog, nullptr);
      m_owner = ::GetWindow(dialog, GW_OWNER);
      user(dialog);
    });
    ol::RunProgramOptions(*m_launcher.View(), *m_launcher.Frame(), m_list);
  }

  LauncherHarness m_launcher;
  HWND m_list = nullptr;
  HWND m_owner = nullptr;
};

TEST_F(ProgramOptionsTest, OkStoresTheSixSettingsAndAppliesThemAtOnce) {
  COrbelslaunchView& view = *m_launcher.View();
  view.m_bKeepOnTop = 0;
  view.m_nMouseSelection = 1;
  view.m_bSnapWindow = 1;
  view.m_nSnapWidth = 10;
  view.m_bAutoMinimize = 1;
  view.m_bHideLaunch = 1;
  const DWORD otherStyles = ListExStyle(m_list) & ~static_cast<DWORD>(LVS_EX_TRACKSELECT);
  ASSERT_FALSE(IsTopmost(m_launcher.FrameHwnd()));

  Run([&](HWND dialog) {
    EXPECT_FALSE(IsChecked(dialog, IDC_KEEP_ON_TOP));
    EXPECT_TRUE(IsChecked(dialog, IDC_MOUSE_DOUBLE_CLICK));
    EXPECT_TRUE(IsChecked(dialog, IDC_SNAP_WINDOW));
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_SNAP_WIDTH)), "10");
    EXPECT_TRUE(IsChecked(dialog, IDC_AUTO_MINIMIZE));
    EXPECT_TRUE(IsChecked(dialog, IDC_OPTIONS_HIDE_LAUNCH));
    SetCheck(dialog, IDC_KEEP_ON_TOP, true);
    SetCheck(dialog, IDC_MOUSE_DOUBLE_CLICK, false);
    SetCheck(dialog, IDC_MOUSE_SINGLE_CLICK, true);
    SetCheck(dialog, IDC_SNAP_WINDOW, false);
    ::SetWindowTextA(::GetDlgItem(dialog, IDC_SNAP_WIDTH), "25");
    SetCheck(dialog, IDC_AUTO_MINIMIZE, false);
    SetCheck(dialog, IDC_OPTIONS_HIDE_LAUNCH, false);
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(m_owner, m_launcher.FrameHwnd());  // owned by the main window
  EXPECT_EQ(view.m_bKeepOnTop, 1);
  EXPECT_EQ(view.m_nMouseSelection, 0);
  EXPECT_EQ(view.m_bSnapWindow, 0);
  EXPECT_EQ(view.m_nSnapWidth, 25);
  EXPECT_EQ(view.m_bAutoMinimize, 0);
  EXPECT_EQ(view.m_bHideLaunch, 0);
  EXPECT_TRUE(IsTopmost(m_launcher.FrameHwnd()));
  EXPECT_TRUE(::IsWindowVisible(m_launcher.FrameHwnd()));
  EXPECT_EQ(m_launcher.Frame()->m_nSnapWidth, 25);
  EXPECT_EQ(m_launcher.Frame()->m_bSnapEnabled, 0);
  EXPECT_EQ(ListExStyle(m_list), otherStyles | LVS_EX_TRACKSELECT);

  // And back: not on top, double click, snapping on.
  Run([&](HWND dialog) {
    SetCheck(dialog, IDC_KEEP_ON_TOP, false);
    SetCheck(dialog, IDC_MOUSE_SINGLE_CLICK, false);
    SetCheck(dialog, IDC_MOUSE_DOUBLE_CLICK, true);
    SetCheck(dialog, IDC_SNAP_WINDOW, true);
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_FALSE(IsTopmost(m_launcher.FrameHwnd()));
  EXPECT_EQ(view.m_nMouseSelection, 1);
  EXPECT_EQ(ListExStyle(m_list), otherStyles);
  EXPECT_EQ(m_launcher.Frame()->m_bSnapEnabled, 1);
  EXPECT_EQ(m_launcher.Frame()->m_nSnapWidth, 25);
}

TEST_F(ProgramOptionsTest, OkWithoutChangesStillSetsTheZOrderAndTheListStyles) {
  COrbelslaunchView& view = *m_launcher.View();
  view.m_bKeepOnTop = 1;  // stored, but the window was never made topmost
  view.m_nMouseSelection = 0;
  ASSERT_FALSE(IsTopmost(m_launcher.FrameHwnd()));
  Run([](HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
  EXPECT_TRUE(IsTopmost(m_launcher.FrameHwnd()));
  EXPECT_TRUE(ListExStyle(m_list) & LVS_EX_TRACKSELECT);
}

TEST_F(ProgramOptionsTest, AnUnknownMouseSelectionChecksNoButtonAndOkStoresMinusOne) {
  COrbelslaunchView& view = *m_launcher.View();
  view.m_nMouseSelection = 5;
  ::SendMessageA(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, ListExStyle(m_list) | LVS_EX_TRACKSELECT);
  Run([](HWND dialog) {
    EXPECT_FALSE(IsChecked(dialog, IDC_MOUSE_SINGLE_CLICK));
    EXPECT_FALSE(IsChecked(dialog, IDC_MOUSE_DOUBLE_CLICK));
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(view.m_nMouseSelection, -1);
  EXPECT_FALSE(ListExStyle(m_list) & LVS_EX_TRACKSELECT);
}

TEST_F(ProgramOptionsTest, CancelAfterABadSnapWidthChangesNothing) {
  COrbelslaunchView& view = *m_launcher.View();
  view.m_bKeepOnTop = 0;
  view.m_nMouseSelection = 1;
  view.m_bSnapWindow = 1;
  view.m_nSnapWidth = 10;
  view.m_bAutoMinimize = 1;
  view.m_bHideLaunch = 0;
  m_launcher.Frame()->SetSnapWidth(10);
  const DWORD styles = ListExStyle(m_list);
  ModalResponder responder = AnswerMessageBoxes(kTitle);
  Run([&](HWND dialog) {
    SetCheck(dialog, IDC_KEEP_ON_TOP, true);
    SetCheck(dialog, IDC_MOUSE_SINGLE_CLICK, true);
    SetCheck(dialog, IDC_MOUSE_DOUBLE_CLICK, false);
    ::SendMessageA(::GetDlgItem(dialog, IDC_OPTIONS_HIDE_LAUNCH), BM_CLICK, 0, 0);
    ::SetWindowTextA(::GetDlgItem(dialog, IDC_SNAP_WIDTH), "");
    EXPECT_TRUE(::IsWindowVisible(dialog));
    ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  const std::vector<SeenDialog> boxes = MessageBoxesOf(responder);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Please enter an integer.");
  EXPECT_EQ(view.m_bKeepOnTop, 0);
  EXPECT_EQ(view.m_nMouseSelection, 1);
  EXPECT_EQ(view.m_bSnapWindow, 1);
  EXPECT_EQ(view.m_nSnapWidth, 10);
  EXPECT_EQ(view.m_bAutoMinimize, 1);
  EXPECT_EQ(view.m_bHideLaunch, 0);
  EXPECT_FALSE(IsTopmost(m_launcher.FrameHwnd()));
  EXPECT_EQ(ListExStyle(m_list), styles);
  EXPECT_EQ(m_launcher.Frame()->m_nSnapWidth, 10);
}
