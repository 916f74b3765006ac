// The launcher on a scaled display. ctest runs this program at 96, 144 and 192 DPI (OL_DPI
// picks a Wine prefix whose display has that scale). What the system reports (window
// rectangles, sizes, fonts) is checked against the program's own figures written out in pixels
// for each scale, and against the system's metrics for the DPI.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "catalogue/DataFileFormat.h"
#include "dialogs/AboutDlg.h"
#include "framework/Dpi.h"
#include "listview/ListTestSupport.h"
#include "res/resource.h"
#include "support/LauncherHarness.h"
#include "support/ModalScript.h"
#include "support/TestFiles.h"
#include "support/TestListWindow.h"

using namespace oltest;

namespace {

using Figures = std::map<std::string, int>;

// The DPI this run's display has.
int DisplayDpi() { return static_cast<int>(EnvNumber("OL_DPI", 96)); }

// The system's own answers for a DPI, asked directly: the yardstick of every figure here.
int SystemMetric(int index, int dpi) {
  using Function = int(WINAPI*)(int, UINT);
  static const auto function =
      reinterpret_cast<Function>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi"));
  return function(index, static_cast<UINT>(dpi));
}

template <typename Value>
Value SystemParameter(UINT action, int dpi) {
  using Function = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  static const auto function =
      reinterpret_cast<Function>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "SystemParametersInfoForDpi"));
  Value value{};
  if constexpr (sizeof(Value) == sizeof(NONCLIENTMETRICSW)) value.cbSize = sizeof value;
  function(action, sizeof value, &value, 0, static_cast<UINT>(dpi));
  return value;
}

LONG FontHeight(HWND window) {
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

SIZE TextSize(HWND window, const std::string& text) {
  HDC dc = ::GetDC(window);
  const HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)));
  SIZE size{};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, previous);
  ::ReleaseDC(window, dc);
  return size;
}

SIZE WindowSize(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

int ImageSize(HIMAGELIST images) {
  int cx = 0;
  int cy = 0;
  ::ImageList_GetIconSize(images, &cx, &cy);
  return cx == cy ? cx : -1;
}

// The main window's pixel figures as they are.
Figures MeasureMainWindow(LauncherHarness& launcher) {
  CMainFrame& frame = *launcher.Frame();
  COrbelslaunchView& view = *launcher.View();
  const CListCtrl list = view.GetListCtrl();
  MINMAXINFO limits{};
  ::SendMessageA(frame.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  HWND toolbar = frame.m_wndToolBar.m_hWnd;
  const auto button = static_cast<DWORD>(::SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
  const auto spacing = static_cast<DWORD>(::SendMessageA(view.m_hWnd, LVM_GETITEMSPACING, FALSE, 0));
  return {
      {"frame dpi", frame.Dpi()},
      {"frame width", WindowSize(frame.m_hWnd).cx},
      {"frame height", WindowSize(frame.m_hWnd).cy},
      {"least width", limits.ptMinTrackSize.x},
      {"least height", limits.ptMinTrackSize.y},
      {"snap distance", frame.SnapDistance()},
      {"large icons", ImageSize(list.GetImageList(LVSIL_NORMAL))},
      {"small icons", ImageSize(list.GetImageList(LVSIL_SMALL))},
      {"toolbar images", ImageSize(reinterpret_cast<HIMAGELIST>(::SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0)))},
      {"toolbar disabled images",
       ImageSize(reinterpret_cast<HIMAGELIST>(::SendMessageA(toolbar, TB_GETDISABLEDIMAGELIST, 0, 0)))},
      {"toolbar button width", LOWORD(button)},
      {"toolbar button height", HIWORD(button)},
      {"status font", FontHeight(frame.m_wndStatusBar.m_hWnd)},
      {"list font", FontHeight(view.m_hWnd)},
      {"icon spacing x", LOWORD(spacing)},
      {"icon spacing y", HIWORD(spacing)},
      {"name column", list.GetColumnWidth(0)},
  };
}

// What they must be at `dpi`, for the view's width in the details view: the frame's own figures
// in pixels at each scale the tests meet (a first start's size, the least size, the snap
// distance, the toolbar's images and buttons), the rest as the system gives them.
Figures ExpectedMainWindow(int dpi, int viewWidth) {
  const std::map<int, std::array<int, 8>> pixels = {{96, {450, 300, 330, 250, 10, 16, 23, 22}},
                                                    {120, {563, 375, 413, 313, 13, 20, 29, 28}},
                                                    {144, {675, 450, 495, 375, 15, 24, 35, 33}},
                                                    {192, {900, 600, 660, 500, 20, 32, 46, 44}}};
  const auto [width, height, leastWidth, leastHeight, snap, images, buttonWidth, buttonHeight] = pixels.at(dpi);
  const int usable = viewWidth - SystemMetric(SM_CXVSCROLL, dpi);
  return {
      {"frame dpi", dpi},
      {"frame width", width},
      {"frame height", height},
      {"least width", leastWidth},
      {"least height", leastHeight},
      {"snap distance", snap},
      {"large icons", SystemMetric(SM_CXICON, dpi)},
      {"small icons", SystemMetric(SM_CXSMICON, dpi)},
      {"toolbar images", images},
      {"toolbar disabled images", images},
      {"toolbar button width", buttonWidth},
      {"toolbar button height", buttonHeight},
      {"status font", SystemParameter<NONCLIENTMETRICSW>(SPI_GETNONCLIENTMETRICS, dpi).lfStatusFont.lfHeight},
      {"list font", SystemParameter<LOGFONTW>(SPI_GETICONTITLELOGFONT, dpi).lfHeight},
      {"icon spacing x", SystemMetric(SM_CXICONSPACING, dpi)},
      {"icon spacing y", SystemMetric(SM_CYICONSPACING, dpi)},
      {"name column", usable / 10 * 4},
  };
}

// Nothing the main window shows is cut off: the count pane holds its widest text, the bars
// their text and buttons, the list column its longest label, the header its titles.
void ExpectNoTextCutOff(LauncherHarness& launcher) {
  HWND status = launcher.Frame()->m_wndStatusBar.m_hWnd;
  RECT countPane{};
  ::SendMessageA(status, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&countPane));
  RECT bar{};
  ::GetClientRect(status, &bar);
  EXPECT_GE(countPane.right - countPane.left, TextSize(status, "## Shortcuts").cx);
  EXPECT_LE(countPane.right, bar.right - SystemMetric(SM_CXVSCROLL, launcher.Frame()->Dpi()));  // not under the grip
  EXPECT_GE(countPane.bottom - countPane.top, TextSize(status, "## Shortcuts").cy);
  HWND toolbar = launcher.Frame()->m_wndToolBar.m_hWnd;
  ::GetClientRect(toolbar, &bar);
  EXPECT_GE(bar.bottom, HIWORD(::SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0)));

  const CListCtrl list = launcher.View()->GetListCtrl();
  Command(launcher, ID_VIEW_LIST);
  for (int i = 0; i < list.GetItemCount(); ++i) {
    EXPECT_GT(list.GetColumnWidth(0), TextSize(launcher.View()->m_hWnd, list.GetItemText(i, 0)).cx);
  }
  Command(launcher, ID_VIEW_DETAILS);
  HWND header = ListView_GetHeader(launcher.View()->m_hWnd);
  RECT title{};
  ::GetClientRect(header, &title);
  EXPECT_GE(title.bottom, TextSize(launcher.View()->m_hWnd, "Shortcut Name").cy);
}

std::string Catalogue(const std::vector<ol::CShortcut>& records) {
  return ol::FormatDataFile(static_cast<int>(records.size()),
                            [&records](int i) -> const ol::CShortcut& { return records[static_cast<std::size_t>(i)]; });
}

// The picture of the recorder's icon drawn at `size`, as an image list of that size shows it.
std::vector<std::uint32_t> RecorderIconAt(int size) {
  HMODULE recorder = ::LoadLibraryExA(RecorderPath().c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ol::UniqueIcon icon(static_cast<HICON>(::LoadImageA(recorder, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0)));
  CImageList list;
  list.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1);
  list.SetBkColor(CLR_NONE);
  list.Add(icon.Get());
  ::FreeLibrary(recorder);
  return ImagePixels(list.GetSafeHandle(), 0);
}

class DisplayScaleTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearLauncherSettings(); }
  void TearDown() override { ol::UseSystemDpiOnlyForTesting(false); }
};

}  // namespace

TEST_F(DisplayScaleTest, TheMainWindowTakesEveryFigureAtTheDisplaysDpi) {
  const int dpi = DisplayDpi();
  // With the calls of Windows 10, and with the system DPI alone as Windows 7 answers.
  for (const bool systemDpiOnly : {false, true}) {
    SCOPED_TRACE(systemDpiOnly ? "system DPI only" : "per-DPI calls");
    ol::UseSystemDpiOnlyForTesting(systemDpiOnly);
    {
      LauncherHarness launcher;
      ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), Catalogue({{"FOLDER", "A name that takes room", "C:\\", "", 0},
                                                                  {"PROGRAM", "Recorder", RecorderPath(), "", 0}})));
      ASSERT_TRUE(launcher.Start());
      EXPECT_EQ(ol::WindowDpi(launcher.FrameHwnd()), dpi) << "the display is not at OL_DPI";
      Command(launcher, ID_VIEW_DETAILS);
      EXPECT_EQ(MeasureMainWindow(launcher), ExpectedMainWindow(dpi, launcher.View()->GetClientRect().right));
      ExpectNoTextCutOff(launcher);
      // The target's icon is extracted at the list's size, not enlarged from a smaller one.
      EXPECT_EQ(ImagePixels(launcher.View()->GetListCtrl().GetImageList(LVSIL_NORMAL), 2),
                RecorderIconAt(SystemMetric(SM_CXICON, dpi)));
      launcher.Close();
    }
    // What is stored is at 96 DPI: the frame's 450 x 300 at any scale.
    EXPECT_EQ(ReadSettingsDword("Width"), 450u);
    EXPECT_EQ(ReadSettingsDword("Height"), 300u);
  }

  // A placement stored at 96 DPI (as the earlier program, which Windows did not tell of the
  // scale, stored it) opens at the same place and size on this display.
  WriteSettingsDword("Left Position", 40);
  WriteSettingsDword("Top Position", 30);
  WriteSettingsDword("Width", 400);  // so that it fits the work area at 200 % too
  WriteSettingsDword("Height", 260);
  {
    LauncherHarness launcher(false);
    ASSERT_TRUE(launcher.Start());
    const std::map<int, std::array<LONG, 4>> placed = {
        {96, {40, 30, 400, 260}}, {144, {60, 45, 600, 390}}, {192, {80, 60, 800, 520}}};
    const RECT frame = launcher.Frame()->GetWindowRect();
    EXPECT_EQ((std::array{frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top}), placed.at(dpi));
    launcher.Close();
  }
  EXPECT_EQ(ReadSettingsDword("Left Position"), 40u);
  EXPECT_EQ(ReadSettingsDword("Top Position"), 30u);
  EXPECT_EQ(ReadSettingsDword("Width"), 400u);
  EXPECT_EQ(ReadSettingsDword("Height"), 260u);
}

TEST_F(DisplayScaleTest, MovingToADisplayOfAnotherScaleGivesTheFiguresOfAStartThere) {
  const int from = DisplayDpi();
  const int to = from == 192 ? 120 : 192;
  ScratchDir targets;
  ASSERT_TRUE(CopyTestFile(RecorderPath(), targets / "kept.exe"));
  ASSERT_TRUE(CopyTestFile(RecorderPath(), targets / "gone.exe"));
  std::vector<ol::CShortcut> records;
  for (int i = 0; i < 40; ++i) {
    const char* target = i == 7 ? "gone.exe" : "kept.exe";
    records.push_back({"PROGRAM", "Program " + std::to_string(100 + i), targets / target, "", 0});
  }
  for (int i = 0; i < 20; ++i) records.push_back({"FOLDER", "Folder " + std::to_string(100 + i), "C:\\", "", 0});

  LauncherHarness launcher;
  ASSERT_TRUE(WriteFileBytes(launcher.DataPath(), Catalogue(records)));
  ASSERT_TRUE(launcher.Start());
  const CListCtrl list = launcher.View()->GetListCtrl();
  // Large icons, scrolled so that item 20 is in the top row.
  auto inTopRow = [&list](int item) {
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    ::SendMessageA(list.GetSafeHwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds));
    return bounds.top >= 0 && bounds.top < HIWORD(::SendMessageA(list.GetSafeHwnd(), LVM_GETITEMSPACING, FALSE, 0));
  };
  list.EnsureVisible(list.GetItemCount() - 1, false);
  list.EnsureVisible(20, false);
  ASSERT_TRUE(inTopRow(20));
  Select(launcher, 25);
  const std::vector<int> indices = [&] {
    std::vector<int> all;
    for (int i = 0; i < list.GetItemCount(); ++i) all.push_back(Record(launcher, i).m_nIconIndex);
    return all;
  }();
  const int images = ::ImageList_GetImageCount(list.GetImageList(LVSIL_NORMAL));
  const int gone = Record(launcher, 7).m_nIconIndex;
  ASSERT_TRUE(::DeleteFileA((targets / "gone.exe").c_str()));

  // As Windows sends it: the new DPI in both halves of wParam, the rectangle it suggests.
  const RECT frame = launcher.Frame()->GetWindowRect();
  RECT suggested{frame.left, frame.top, frame.left + ::MulDiv(450, to, 96), frame.top + ::MulDiv(300, to, 96)};
  ::SendMessageA(launcher.FrameHwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  // The pictures at the new size arrive from the icon thread, as at start-up: the window does
  // not wait for them.
  EXPECT_TRUE(launcher.View()->IconsArriving());
  launcher.WaitForIcons();

  EXPECT_EQ(launcher.View()->GetStyle() & LVS_TYPEMASK, DWORD{LVS_ICON});
  EXPECT_EQ(list.GetSelectedItem(), 25);
  EXPECT_TRUE(inTopRow(20));
  Command(launcher, ID_VIEW_DETAILS);
  EXPECT_EQ(MeasureMainWindow(launcher), ExpectedMainWindow(to, launcher.View()->GetClientRect().right));
  // Every shortcut keeps its icon index; its picture is drawn anew at the new size.
  for (int i = 0; i < list.GetItemCount(); ++i) EXPECT_EQ(Record(launcher, i).m_nIconIndex, indices[i]) << i;
  HIMAGELIST large = list.GetImageList(LVSIL_NORMAL);
  EXPECT_EQ(::ImageList_GetImageCount(large), images);
  EXPECT_EQ(::ImageList_GetImageCount(list.GetImageList(LVSIL_SMALL)), images);
  EXPECT_EQ(ImagePixels(large, Record(launcher, 30).m_nIconIndex), RecorderIconAt(SystemMetric(SM_CXICON, to)));
  // A target that is gone keeps its old picture, resized.
  EXPECT_NE(ImagePixels(large, gone), ImagePixels(large, ol::kIconNone));
  EXPECT_NE(ImagePixels(large, gone), std::vector<std::uint32_t>(ImagePixels(large, gone).size(), 0));
  ExpectNoTextCutOff(launcher);

  // And back: the toolbar made anew shows its commands' states at once, before any idle time.
  list.SetItemState(25, 0, LVIS_SELECTED);
  launcher.Idle();
  RECT back{suggested.left, suggested.top, suggested.left + ::MulDiv(450, from, 96),
            suggested.top + ::MulDiv(300, from, 96)};
  ::SendMessageA(launcher.FrameHwnd(), WM_DPICHANGED, MAKEWPARAM(from, from), reinterpret_cast<LPARAM>(&back));
  EXPECT_EQ(MeasureMainWindow(launcher), ExpectedMainWindow(from, launcher.View()->GetClientRect().right));
  EXPECT_FALSE(::SendMessageA(launcher.Frame()->m_wndToolBar.m_hWnd, TB_ISBUTTONENABLED, ID_DELETE, 0));
}

TEST_F(DisplayScaleTest, EveryDialogKeepsItsDialogUnitsInAFontOfTheDisplaysScale) {
  const int dpi = DisplayDpi();
  // The dialog font, 8 points at this DPI, and its base units as Windows derives them.
  const int height = -::MulDiv(8, dpi, 72);
  HDC screen = ::GetDC(nullptr);
  HFONT font = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
  const HGDIOBJ previous = ::SelectObject(screen, font);
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(screen, &metrics);
  SIZE alphabet{};
  ::GetTextExtentPoint32A(screen, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
  ::SelectObject(screen, previous);
  ::DeleteObject(font);
  ::ReleaseDC(nullptr, screen);
  const SIZE base{(alphabet.cx / 26 + 1) / 2, metrics.tmHeight};

  const struct {
    UINT id;
    SIZE units;
  } dialogs[] = {{IDD_ABOUTBOX, {208, 196}},
                 {IDD_SHORTCUT_PROPERTIES, {264, 57}},
                 {IDD_OPTIONS, {210, 146}},
                 {IDD_LAUNCH_ORBELS, {222, 174}},
                 {IDD_LAUNCH_ORBELS2, {222, 186}}};
  for (const auto& dialog : dialogs) {
    SCOPED_TRACE(dialog.id);
    HWND hwnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog.id), nullptr,
                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(hwnd, nullptr);
    LOGFONTA used{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof used, &used);
    EXPECT_STREQ(used.lfFaceName, "MS Shell Dlg");
    EXPECT_EQ(used.lfHeight, height);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, ::MulDiv(dialog.units.cx, base.cx, 4));
    EXPECT_EQ(client.bottom, ::MulDiv(dialog.units.cy, base.cy, 8));
    ::DestroyWindow(hwnd);
  }
}

TEST_F(DisplayScaleTest, TheAboutBoxShowsItsPictureAtTheDisplaysScaleAndItsLinksFollowTheFont) {
  const int dpi = DisplayDpi();
  CWinApp app;
  app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOW);
  CAboutDlg dialog;
  ModalScript script([&] {
    HWND banner = ::GetWindow(dialog.m_hWnd, GW_CHILD);
    BITMAP picture{};
    ::GetObjectA(reinterpret_cast<HBITMAP>(::SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof picture,
                 &picture);
    EXPECT_EQ(picture.bmWidth, ::MulDiv(300, dpi, 96));
    EXPECT_EQ(picture.bmHeight, ::MulDiv(75, dpi, 96));
    EXPECT_EQ(WindowSize(banner).cx, ::MulDiv(300, dpi, 96));
    EXPECT_EQ(WindowSize(banner).cy, ::MulDiv(75, dpi, 96));
    // On a display of another scale Windows gives the picture's place the size for that scale:
    // 200 % (drawn for it), or 125 % from 200 % (shrunk from the picture drawn for 150 %).
    const SIZE place = dpi == 192 ? SIZE{375, 94} : SIZE{600, 150};
    ::SetWindowPos(banner, nullptr, 0, 0, place.cx, place.cy, SWP_NOMOVE | SWP_NOZORDER);
    ::SendMessageA(banner, ol::kWmDpiChangedAfterParent, 0, 0);
    ::GetObjectA(reinterpret_cast<HBITMAP>(::SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof picture,
                 &picture);
    EXPECT_EQ(picture.bmWidth, place.cx);
    EXPECT_EQ(picture.bmHeight, place.cy);

    // Windows scales a dialog that moves to a display of another DPI, makes its font anew, then
    // tells the controls: a link takes the dialog's new font, underlined, and fits it. Wine
    // does not scale dialogs; a subclass answers for the dialog's new font as Windows would.
    CHyperLink& link = dialog.m_linkWeb;
    EXPECT_EQ(WindowSize(link.m_hWnd).cx, TextSize(link.m_hWnd, link.GetWindowText()).cx);
    LOGFONTA larger{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(dialog.m_hWnd, WM_GETFONT, 0, 0)), sizeof larger, &larger);
    larger.lfHeight = larger.lfHeight * 2;
    ol::UniqueGdiObject font(::CreateFontIndirectA(&larger));
    const SUBCLASSPROC answerNewFont = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR newFont) -> LRESULT {
      return message == WM_GETFONT ? static_cast<LRESULT>(newFont) : ::DefSubclassProc(hwnd, message, wParam, lParam);
    };
    ::SetWindowSubclass(dialog.m_hWnd, answerNewFont, 1, reinterpret_cast<DWORD_PTR>(font.Get()));
    ::SendMessageA(link.m_hWnd, ol::kWmDpiChangedAfterParent, 0, 0);
    ::RemoveWindowSubclass(dialog.m_hWnd, answerNewFont, 1);
    LOGFONTA taken{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(link.m_hWnd, WM_GETFONT, 0, 0)), sizeof taken, &taken);
    EXPECT_EQ(taken.lfHeight, larger.lfHeight);
    EXPECT_TRUE(taken.lfUnderline);
    EXPECT_EQ(WindowSize(link.m_hWnd).cx, TextSize(link.m_hWnd, link.GetWindowText()).cx);
    ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
}
