// Both game launch dialogs as the player meets them: their controls, texts, places and tab
// order; the preview following option clicks and custom typing but nothing else; the
// resolution controls following "Specify a Resolution:" at idle time; the folder picker and
// the file dialog behind "Change...".
#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>

#include "controls/FolderPicker.h"
#include "framework/FileDialog.h"
#include "framework/WinApp.h"
#include "games/DialogDriving.h"
#include "games/LaunchOrbels2Dlg.h"
#include "games/LaunchOrbelsDlg.h"
#include "res/resource.h"

using namespace oltest;

namespace {

constexpr int kNoId = 0xFFFF;

struct ExpectedControl {
  int id;
  const char* className;
  const char* text;
  DWORD kind;   // button type, or the edit's ES_READONLY
  DWORD flags;  // WS_TABSTOP and WS_GROUP as they must be
  RECT place;   // x, y, width, height in dialog units
};

constexpr DWORD kTab = WS_TABSTOP;
constexpr DWORD kGroupTab = WS_GROUP | WS_TABSTOP;

constexpr ExpectedControl kFirstDialog[] = {
    {kNoId, "Button", "Game Location", BS_GROUPBOX, 0, {4, 2, 212, 48}},
    {IDC_GAME_LOCATION, "Edit", "", 0, kTab, {10, 14, 200, 12}},
    {IDC_AUTO_LOCATE, "Button", "&Auto-Locate", BS_PUSHBUTTON, kTab, {10, 30, 60, 14}},
    {IDC_CHANGE_LOCATION, "Button", "&Change...", BS_PUSHBUTTON, kTab, {160, 30, 50, 14}},
    {kNoId, "Button", "Startup Options", BS_GROUPBOX, 0, {4, 52, 212, 52}},
    {IDC_RUN_HIGH_RES, "Button", "Run &High-Res (1024x768)", BS_AUTOCHECKBOX, kTab, {10, 64, 98, 10}},
    {IDC_SKIP_INTRO, "Button", "&Skip Introduction", BS_AUTOCHECKBOX, kTab, {10, 76, 69, 10}},
    {IDC_RUN_IN_WINDOW, "Button", "&Run in a Window", BS_AUTOCHECKBOX, kTab, {10, 88, 71, 10}},
    {IDC_NO_SOUND, "Button", "Disable S&ound", BS_AUTOCHECKBOX, kTab, {124, 64, 62, 10}},
    {IDC_SKIP_SYSTEM_CHECK, "Button", "S&kip System Checks", BS_AUTOCHECKBOX, kTab, {124, 76, 81, 10}},
    {IDC_DISABLE_DX6, "Button", "Disable Direct&X 6", BS_AUTOCHECKBOX, kTab, {124, 88, 71, 10}},
    {kNoId, "Button", "Command Line", BS_GROUPBOX, 0, {4, 108, 212, 30}},
    {IDC_COMMAND_LINE, "Edit", nullptr, ES_READONLY, 0, {10, 120, 200, 12}},
    {IDC_HIDE_LAUNCH, "Button", "&Do not show this dialog when launching The Orbels", BS_AUTOCHECKBOX, kTab,
     {4, 142, 173, 10}},
    {IDOK, "Button", "&Launch The Orbels", BS_DEFPUSHBUTTON, kTab, {82, 156, 80, 14}},
    {IDCANCEL, "Button", "Ca&ncel", BS_PUSHBUTTON, kTab, {166, 156, 50, 14}},
};

constexpr ExpectedControl kSecondDialog[] = {
    {kNoId, "Button", "Game Executable", BS_GROUPBOX, 0, {4, 2, 212, 48}},
    {IDC_GAME_EXECUTABLE, "Edit", "", 0, kTab, {10, 14, 200, 12}},
    {IDC_AUTO_LOCATE2, "Button", "&Auto-Locate", BS_PUSHBUTTON, kTab, {10, 30, 60, 14}},
    {IDC_CHANGE_EXECUTABLE, "Button", "&Change...", BS_PUSHBUTTON, kTab, {160, 32, 50, 14}},
    {kNoId, "Button", "Startup Options", BS_GROUPBOX, 0, {4, 52, 212, 62}},
    {IDC_SPECIFY_RESOLUTION, "Button", "Specify a &Resolution:", BS_AUTOCHECKBOX, kTab, {10, 62, 83, 10}},
    {IDC_RESOLUTION_800X600, "Button", "&800 x 600", BS_AUTORADIOBUTTON, kGroupTab, {22, 74, 47, 10}},
    {IDC_RESOLUTION_1024X768, "Button", "&1024 x 768", BS_AUTORADIOBUTTON, 0, {22, 86, 51, 10}},
    {IDC_RESOLUTION_CUSTOM, "Button", "&Use Custom:", BS_AUTORADIOBUTTON, 0, {22, 98, 56, 10}},
    {IDC_CUSTOM_RESOLUTION, "Edit", nullptr, 0, kGroupTab, {80, 96, 46, 12}},
    {IDC_RUN_IN_WINDOW2, "Button", "Run in a &Window", BS_AUTOCHECKBOX, kTab, {132, 62, 71, 10}},
    {IDC_NO_SOUND2, "Button", "Disable &Sound", BS_AUTOCHECKBOX, kTab, {132, 74, 62, 10}},
    {kNoId, "Button", "Command Line", BS_GROUPBOX, 0, {4, 118, 212, 30}},
    {IDC_COMMAND_LINE2, "Edit", nullptr, ES_READONLY, kTab, {10, 130, 198, 12}},
    {IDC_HIDE_LAUNCH2, "Button", "&Do not show this dialog when launching The Orbels 2", BS_AUTOCHECKBOX, kTab,
     {4, 152, 179, 10}},
    {IDOK, "Button", "&Launch The Orbels 2", BS_DEFPUSHBUTTON, kTab, {82, 166, 80, 14}},
    {IDCANCEL, "Button", "Ca&ncel", BS_PUSHBUTTON, kTab, {166, 166, 50, 14}},
};

// The dialog's frame, size and font, and its controls in z-order (which is the tab order).
void ExpectDialogMatches(HWND dialog, const char* caption, SIZE size, std::span<const ExpectedControl> expected) {
  EXPECT_EQ(WindowText(dialog), caption);
  const LONG style = ::GetWindowLongA(dialog, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_SYSMENU), WS_POPUP | WS_CAPTION | DS_MODALFRAME);
  RECT client{};
  ::GetClientRect(dialog, &client);
  RECT templateSize{0, 0, size.cx, size.cy};
  ::MapDialogRect(dialog, &templateSize);
  EXPECT_EQ(client.right, templateSize.right);
  EXPECT_EQ(client.bottom, templateSize.bottom);
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "MS Shell Dlg");

  HWND child = ::GetWindow(dialog, GW_CHILD);
  for (const ExpectedControl& want : expected) {
    ASSERT_NE(child, nullptr) << "missing control " << want.id;
    SCOPED_TRACE(testing::Message() << "control " << want.id << " " << (want.text ? want.text : ""));
    EXPECT_EQ(::GetDlgCtrlID(child), want.id);
    char className[32] = {};
    ::GetClassNameA(child, className, sizeof className);
    EXPECT_STREQ(className, want.className);
    if (want.text != nullptr) {
      EXPECT_EQ(WindowText(child), want.text);
    }
    const LONG childStyle = ::GetWindowLongA(child, GWL_STYLE);
    EXPECT_EQ(childStyle & (WS_TABSTOP | WS_GROUP), static_cast<LONG>(want.flags));
    EXPECT_TRUE(childStyle & WS_VISIBLE);
    if (std::string(want.className) == "Edit") {
      const LONG editStyle = childStyle & (ES_READONLY | ES_AUTOHSCROLL | ES_MULTILINE);
      EXPECT_EQ(editStyle, static_cast<LONG>(want.kind | ES_AUTOHSCROLL));
      EXPECT_TRUE((childStyle & WS_BORDER) || (::GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    } else {
      EXPECT_EQ(childStyle & BS_TYPEMASK, static_cast<LONG>(want.kind));
    }
    RECT place = want.place;  // x, y, width and height, each converted on its own
    ::MapDialogRect(dialog, &place);
    RECT actual{};
    ::GetWindowRect(child, &actual);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, place.left);
    EXPECT_EQ(actual.top, place.top);
    EXPECT_EQ(actual.right - actual.left, place.right);
    EXPECT_EQ(actual.bottom - actual.top, place.bottom);
    child = ::GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "more controls than the template has";
}

// Stands in for the shell's folder browser and the file dialog while a test runs.
struct PickerStandIns {
  ~PickerStandIns() {
    CFolderPicker::SetResponderForTesting(nullptr);
    CFileDialog::SetResponderForTesting(nullptr);
  }
};

class LaunchDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { m_app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOW); }
  CWinApp m_app;
  PickerStandIns m_standIns;
};

}  // namespace

TEST_F(LaunchDialogsTest, BothDialogsHaveTheirTemplatesControlsInTabOrder) {
  ModalResponder responder(
      {DriveThenPress([](HWND d) { ExpectDialogMatches(d, "Launch The Orbels...", {222, 174}, kFirstDialog); },
                      IDCANCEL),
       DriveThenPress([](HWND d) { ExpectDialogMatches(d, "Launch The Orbels 2...", {222, 186}, kSecondDialog); },
                      IDCANCEL)},
      0);
  CLaunchOrbelsDlg first;
  EXPECT_EQ(first.DoModal(), IDCANCEL);
  CLaunchOrbels2Dlg second;
  second.m_nResolution = 0;  // only the checked radio button keeps its tab stop
  EXPECT_EQ(second.DoModal(), IDCANCEL);
  EXPECT_EQ(responder.Seen().size(), 2u);
}

TEST_F(LaunchDialogsTest, TheFirstPreviewFollowsOptionClicksOnly) {
  CLaunchOrbelsDlg dialog;
  dialog.m_strGameLocation = "C:\\Games\\Orbels";
  dialog.m_strAutoLocation = "";  // the installer's entry is missing
  dialog.m_bSkipIntro = 1;
  ModalResponder responder({DriveThenPress(
                               [](HWND d) {
                                 EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE), "Orbels.exe -skip_intro");
                                 EXPECT_TRUE(IsChecked(d, IDC_SKIP_INTRO));
                                 Click(d, IDC_DISABLE_DX6);
                                 Click(d, IDC_SKIP_INTRO);
                                 EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE), "Orbels.exe -nodx6");
                                 Click(d, IDC_RUN_HIGH_RES);  // goes first, whatever the click order
                                 EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE), "Orbels.exe -r1024x768 -nodx6");
                                 for (int id :
                                      {IDC_SKIP_INTRO, IDC_RUN_IN_WINDOW, IDC_NO_SOUND, IDC_SKIP_SYSTEM_CHECK}) {
                                   Click(d, id);
                                 }
                                 const std::string all =
                                     "Orbels.exe -r1024x768 -skip_intro -w -nosound -skip_verify -nodx6";
                                 EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE), all);
                                 SetItemText(d, IDC_GAME_LOCATION, "D:\\Elsewhere");
                                 EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE), all);
                                 Click(d, IDC_AUTO_LOCATE);
                                 EXPECT_EQ(ItemText(d, IDC_GAME_LOCATION), "");
                                 Click(d, IDC_HIDE_LAUNCH);
                                 EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE), all);
                               },
                               IDOK)},
                           0);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_strCommandLine, "Orbels.exe -r1024x768 -skip_intro -w -nosound -skip_verify -nodx6");
  EXPECT_EQ(dialog.m_strGameLocation, "");
  EXPECT_EQ(dialog.m_bHideLaunch, 1);
}

TEST_F(LaunchDialogsTest, ChangeStartsThePickerAtTheLocationShownAndKeepsItOnCancel) {
  std::string caption, instruction, initial;
  bool confirm = true;
  CFolderPicker::SetResponderForTesting([&](const CFolderPicker& picker) -> std::optional<std::string> {
    caption = picker.m_strCaption;
    instruction = picker.m_strInstruction;
    initial = picker.m_strInitialFolder;
    return confirm ? std::optional<std::string>("E:\\Picked\\Orbels") : std::nullopt;
  });
  CLaunchOrbelsDlg dialog;
  dialog.m_strGameLocation = "C:\\Games\\Orbels";
  ModalResponder responder({DriveThenPress(
                               [&](HWND d) {
                                 SetItemText(d, IDC_GAME_LOCATION, "C:\\Typed Here\\ ");
                                 Click(d, IDC_CHANGE_LOCATION);
                                 EXPECT_EQ(initial, "C:\\Typed Here");  // tidied by the picker
                                 EXPECT_EQ(ItemText(d, IDC_GAME_LOCATION), "E:\\Picked\\Orbels");
                                 confirm = false;
                                 Click(d, IDC_CHANGE_LOCATION);
                                 EXPECT_EQ(initial, "E:\\Picked\\Orbels");
                                 EXPECT_EQ(ItemText(d, IDC_GAME_LOCATION), "E:\\Picked\\Orbels");
                                 EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE), "Orbels.exe");
                               },
                               IDOK)},
                           0);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(caption, "Select Folder");
  EXPECT_EQ(instruction, "Select the root installation folder for The Orbels:");
  EXPECT_EQ(dialog.m_strGameLocation, "E:\\Picked\\Orbels");
}

TEST_F(LaunchDialogsTest, ResolutionControlsFollowSpecifyOnceTheDialogIsIdle) {
  CLaunchOrbels2Dlg dialog;
  dialog.m_strExecutable = "D:\\Games\\Orbels 2\\TOBin\\Orbels2.exe";
  dialog.m_strCustomResolution = "1152x864";
  dialog.m_nResolution = 1;
  const int resolutionControls[] = {IDC_RESOLUTION_800X600, IDC_RESOLUTION_1024X768, IDC_RESOLUTION_CUSTOM,
                                    IDC_CUSTOM_RESOLUTION};
  auto allEnabled = [&](HWND d, bool on) {
    for (int id : resolutionControls) {
      if (IsEnabled(d, id) != on) return false;
    }
    return true;
  };
  ModalResponder responder(
      {DriveThenPress(
          [&](HWND d) {
            EXPECT_TRUE(WaitUntil([&] { return allEnabled(d, false); })) << "disabled right after opening";
            EXPECT_TRUE(IsChecked(d, IDC_RESOLUTION_1024X768));
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe");
            PostClick(d, IDC_SPECIFY_RESOLUTION);
            EXPECT_TRUE(WaitUntil([&] { return allEnabled(d, true); }));
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -r1024x768");
            Click(d, IDC_RESOLUTION_CUSTOM);
            Click(d, IDC_RUN_IN_WINDOW2);
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -r1152x864");
            SetItemText(d, IDC_CUSTOM_RESOLUTION, "");
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -r");
            // Each keystroke shows at once, and recomposing leaves the caret where it was.
            TypeInto(d, IDC_CUSTOM_RESOLUTION, "1280 1024");
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -r1280 1024");
            ::SendMessageA(Item(d, IDC_CUSTOM_RESOLUTION), EM_SETSEL, 4, 4);
            TypeInto(d, IDC_CUSTOM_RESOLUTION, " x");
            EXPECT_EQ(CaretOf(d, IDC_CUSTOM_RESOLUTION), 6u);
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -r1280 x 1024");
            Click(d, IDC_NO_SOUND2);
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -nosound -r1280 x 1024");
            PostClick(d, IDC_SPECIFY_RESOLUTION);
            EXPECT_TRUE(WaitUntil([&] { return allEnabled(d, false); }));
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -nosound");
            // Not specified: typing here recomposes nothing, not even the stale first word.
            SetItemText(d, IDC_GAME_EXECUTABLE, "C:\\Other\\Next.exe");
            SetItemText(d, IDC_CUSTOM_RESOLUTION, "640x480");
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -nosound");
            Click(d, IDC_HIDE_LAUNCH2);
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -nosound");
          },
          IDOK)},
      0);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_strCustomResolution, "640x480");
  EXPECT_EQ(dialog.m_nResolution, 2);
  EXPECT_EQ(dialog.m_bSpecifyResolution, 0);
  EXPECT_EQ(dialog.m_bHideLaunch, 1);
  EXPECT_EQ(dialog.m_strCommandLine, "Orbels2.exe -w -nosound");
}

TEST_F(LaunchDialogsTest, ThePreviewsFirstWordFollowsOnlyARecomposition) {
  std::string initialDir = "unset", title, defExt, filter;
  DWORD flags = 0;
  std::optional<std::string> choice = "F:\\New Place\\Game2.exe";
  CFileDialog::SetResponderForTesting([&](const CFileDialog& file) {
    initialDir = file.m_strInitialDir;
    title = file.m_strTitle;
    defExt = file.DefaultExtension();
    filter = file.Filter();
    flags = file.Flags();
    return choice;
  });
  CLaunchOrbels2Dlg dialog;
  dialog.m_strExecutable = "D:\\Games\\Orbels 2\\TOBin\\Orbels2.exe";
  dialog.m_strAutoExecutable = "C:\\Auto\\TOBin\\Orbels2.exe";
  dialog.m_strCustomResolution = "1152x864";
  dialog.m_bSpecifyResolution = 1;
  dialog.m_nResolution = 3;  // a stray stored value: no button, the custom text
  ModalResponder responder(
      {DriveThenPress(
          [&](HWND d) {
            for (int id : {IDC_RESOLUTION_800X600, IDC_RESOLUTION_1024X768, IDC_RESOLUTION_CUSTOM}) {
              EXPECT_FALSE(IsChecked(d, id)) << id;
            }
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -r1152x864");
            SetItemText(d, IDC_GAME_EXECUTABLE, "C:\\Typed\\Other.exe");
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -r1152x864");
            Click(d, IDC_CHANGE_EXECUTABLE);
            EXPECT_EQ(initialDir, "C:\\Typed");
            EXPECT_EQ(ItemText(d, IDC_GAME_EXECUTABLE), "F:\\New Place\\Game2.exe");
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Game2.exe -r1152x864");
            Click(d, IDC_AUTO_LOCATE2);
            EXPECT_EQ(ItemText(d, IDC_GAME_EXECUTABLE), "C:\\Auto\\TOBin\\Orbels2.exe");
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Game2.exe -r1152x864");
            Click(d, IDC_RUN_IN_WINDOW2);
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2.exe -w -r1152x864");
            // A path without a backslash: the whole path is the name, no initial folder, and a
            // cancelled file dialog changes nothing.
            SetItemText(d, IDC_GAME_EXECUTABLE, "Orbels2 Beta.exe");
            choice.reset();
            Click(d, IDC_CHANGE_EXECUTABLE);
            EXPECT_EQ(initialDir, "");
            EXPECT_EQ(ItemText(d, IDC_GAME_EXECUTABLE), "Orbels2 Beta.exe");
            Click(d, IDC_RUN_IN_WINDOW2);
            EXPECT_EQ(ItemText(d, IDC_COMMAND_LINE2), "Orbels2 Beta.exe -r1152x864");
          },
          IDOK)},
      0);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(title, "Select The Orbels 2 Executable");
  EXPECT_EQ(defExt, "EXE");
  EXPECT_EQ(filter, "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||");
  EXPECT_EQ(flags, static_cast<DWORD>(0x1804));
  EXPECT_EQ(dialog.m_nResolution, -1);
  EXPECT_EQ(dialog.m_strExecutable, "Orbels2 Beta.exe");
}
