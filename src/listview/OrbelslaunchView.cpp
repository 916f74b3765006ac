#include "listview/OrbelslaunchView.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>

#include "app/MainFrame.h"
#include "app/RegistrySettings.h"
#include "catalogue/CatalogueList.h"
#include "dialogs/HelpContents.h"
#include "framework/Dpi.h"
#include "framework/DpiScale.h"
#include "games/GameLaunch.h"
#include "dialogs/ProgramOptions.h"
#include "games/GameLocations.h"
#include "listview/ListLayout.h"
#include "util/SystemUtil.h"
#include "res/resource.h"

namespace {

std::string g_dataFilePathForTesting;

constexpr DWORD kListStyles = LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | LVS_EDITLABELS | LVS_NOSORTHEADER;
constexpr DWORD kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
constexpr auto kIconThreadsEndWait = std::chrono::milliseconds(1500);

ol::CDataFile MakeDataFile() {
  return g_dataFilePathForTesting.empty() ? ol::CDataFile() : ol::CDataFile(g_dataFilePathForTesting);
}

}  // namespace

void COrbelslaunchView::SetDataFilePathForTesting(std::string path) { g_dataFilePathForTesting = std::move(path); }

COrbelslaunchView::COrbelslaunchView() : m_dataFile(MakeDataFile()) {}

COrbelslaunchView::~COrbelslaunchView() = default;

const MessageMap* COrbelslaunchView::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapMessage<&COrbelslaunchView::OnDestroy>(WM_DESTROY),
      MapMessage<&COrbelslaunchView::OnSize>(WM_SIZE),
      MapMessage<&COrbelslaunchView::OnPaint>(WM_PAINT),
      MapUpdate<&COrbelslaunchView::UpdateShortcutCount>(ID_INDICATOR_SHORTCUTS),
      MapCommand<&COrbelslaunchView::OnViewLargeIcons>(ID_VIEW_LARGE_ICONS),
      MapCommand<&COrbelslaunchView::OnViewSmallIcons>(ID_VIEW_SMALL_ICONS),
      MapCommand<&COrbelslaunchView::OnViewList>(ID_VIEW_LIST),
      MapCommand<&COrbelslaunchView::OnViewDetails>(ID_VIEW_DETAILS),
      MapUpdate<&COrbelslaunchView::OnUpdateViewLargeIcons>(ID_VIEW_LARGE_ICONS),
      MapUpdate<&COrbelslaunchView::OnUpdateViewSmallIcons>(ID_VIEW_SMALL_ICONS),
      MapUpdate<&COrbelslaunchView::OnUpdateViewList>(ID_VIEW_LIST),
      MapUpdate<&COrbelslaunchView::OnUpdateViewDetails>(ID_VIEW_DETAILS),
      MapCommand<&COrbelslaunchView::OnRefreshView>(ID_REFRESH_VIEW),
      MapMessage<&COrbelslaunchView::OnSysKeyDown>(WM_SYSKEYDOWN),
      MapNotifyReflect<&COrbelslaunchView::OnBeginLabelEdit>(LVN_BEGINLABELEDITA),
      MapNotifyReflect<&COrbelslaunchView::OnEndLabelEdit>(LVN_ENDLABELEDITA),
      MapNotifyReflect<&COrbelslaunchView::OnClick>(NM_CLICK),
      MapNotifyReflect<&COrbelslaunchView::OnDblClick>(NM_DBLCLK),
      MapNotifyReflect<&COrbelslaunchView::OnRightClick>(NM_RCLICK),
      MapNotifyReflect<&COrbelslaunchView::OnListKeyDown>(LVN_KEYDOWN),
      MapCommand<&COrbelslaunchView::OnLaunchShortcut>(ID_LAUNCH_SELECTED),
      MapUpdate<&COrbelslaunchView::OnUpdateSelectedShortcut>(ID_LAUNCH_SELECTED),
      MapCommand<&COrbelslaunchView::OnNewProgramShortcut>(ID_NEW_PROGRAM_SHORTCUT),
      MapCommand<&COrbelslaunchView::OnNewFolderShortcut>(ID_NEW_FOLDER_SHORTCUT),
      MapCommand<&COrbelslaunchView::OnRename>(ID_RENAME),
      MapCommand<&COrbelslaunchView::OnDelete>(ID_DELETE),
      MapCommand<&COrbelslaunchView::OnDeleteAll>(ID_DELETE_ALL),
      MapCommand<&COrbelslaunchView::OnProperties>(ID_PROPERTIES),
      MapCommand<&COrbelslaunchView::OnReloadIcon>(ID_RELOAD_ICON),
      MapMessage<&COrbelslaunchView::OnDropFiles>(WM_DROPFILES),
      MapUpdate<&COrbelslaunchView::OnUpdateSelectedShortcut>(ID_RENAME),
      MapUpdate<&COrbelslaunchView::OnUpdateSelectedShortcut>(ID_DELETE),
      MapUpdate<&COrbelslaunchView::OnUpdateSelectedShortcut>(ID_PROPERTIES),
      MapUpdate<&COrbelslaunchView::OnUpdateSelectedShortcut>(ID_RELOAD_ICON),
      MapUpdate<&COrbelslaunchView::OnUpdateDeleteAll>(ID_DELETE_ALL),
      MapCommand<&COrbelslaunchView::OnLaunchOrbels>(ID_LAUNCH_ORBELS),
      MapCommand<&COrbelslaunchView::OnLaunchOrbels2>(ID_LAUNCH_ORBELS2),
      MapCommand<&COrbelslaunchView::OnProgramOptions>(ID_PROGRAM_OPTIONS),
      MapCommand<&COrbelslaunchView::OnHelpContents>(ID_HELP_CONTENTS),
  };
  static const MessageMap map{&CListView::GetThisMessageMap, kEntries};
  return &map;
}

CMainFrame* COrbelslaunchView::MainFrame() const {
  return static_cast<CMainFrame*>(CWnd::FromHandlePermanent(::GetAncestor(m_hWnd, GA_ROOT)));
}

bool COrbelslaunchView::PreCreateWindow(CREATESTRUCTA& cs) {
  LoadSettings();
  return CListView::PreCreateWindow(cs);
}

void COrbelslaunchView::LoadSettings() {
  CProfileSettingsStore store(*AfxGetApp());
  // The first game's installer entry is read before the second's.
  const std::string gameLocation = ol::AutoLocateGame();
  const std::string gameTwoLocation = ol::AutoLocateGameTwo();
  ol::LoadSettings(store, *this, gameLocation, gameTwoLocation);
}

void COrbelslaunchView::SaveSettings() {
  // The placement is stored in figures at 96 DPI, whatever the display's scale.
  RECT frame{};
  int dpi = ol::kDefaultDpi;
  if (CMainFrame* main = MainFrame()) {
    frame = main->GetWindowRect();
    dpi = main->Dpi();
  }
  CProfileSettingsStore store(*AfxGetApp());
  ol::SaveSettings(store, *this,
                   {ol::UnscaleForDpi(frame.left, dpi), ol::UnscaleForDpi(frame.top, dpi),
                    ol::UnscaleForDpi(frame.right - frame.left, dpi), ol::UnscaleForDpi(frame.bottom - frame.top, dpi)});
}

void COrbelslaunchView::RestoreWindowPlacement() {
  CWinApp* app = AfxGetApp();
  const ol::Placement stored{static_cast<int>(app->GetProfileInt("", ol::kLeftPosition, 0)),
                             static_cast<int>(app->GetProfileInt("", ol::kTopPosition, 0)),
                             static_cast<int>(app->GetProfileInt("", ol::kWidth, ol::kDefaultWidth)),
                             static_cast<int>(app->GetProfileInt("", ol::kHeight, ol::kDefaultHeight))};
  // The clamping keeps the frame on the primary display's work area, so that display's DPI
  // gives the stored figures their size in pixels.
  const ol::Placement placement = ol::PlaceStoredFrame(stored, PrimaryDisplayDpi(), WorkArea());
  if (CMainFrame* main = MainFrame()) main->PlaceFrame(m_bKeepOnTop == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, placement);
}

void COrbelslaunchView::OnInitialUpdate() {
  CListView::OnInitialUpdate();
  CWinApp* app = AfxGetApp();
  app->BeginWaitCursor();
  m_list = GetListCtrl();
  m_pList = &m_list;
  ModifyStyle(0, kListStyles);
  RestoreWindowPlacement();
  const int dpi = Dpi();
  ApplyListFont(dpi);

  const ol::ColumnWidths widths = ol::SplitColumns(GetClientRect().right, ol::SystemMetricForDpi(SM_CXVSCROLL, dpi));
  m_list.InsertColumn(0, "Shortcut Name", LVCFMT_LEFT, widths.name, 0);
  m_list.InsertColumn(1, "Path", LVCFMT_LEFT, widths.path, 1);

  m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  DWORD extended = m_list.GetExtendedStyle();
  extended = m_nMouseSelection == 0 ? (extended | LVS_EX_TRACKSELECT) : (extended & ~LVS_EX_TRACKSELECT);
  m_list.SetExtendedStyle(extended);

  CreateImageLists(m_imageListLarge, m_imageListSmall, dpi);
  ApplyIconSpacing(dpi);
  // Not shared: the list destroys both lists with its window.
  m_list.SetImageList(m_imageListLarge.GetSafeHandle(), LVSIL_NORMAL);
  m_list.SetImageList(m_imageListSmall.GetSafeHandle(), LVSIL_SMALL);
  m_imageListLarge.SetOwnedByControl();
  m_imageListSmall.SetOwnedByControl();

  m_iconArrival.ReadCache(ol::GetDirectoryPart(m_dataFile.GetPath()) + "\\" + std::string(ol::kIconCacheFileName));
  LoadShortcuts();
  ::DragAcceptFiles(m_hWnd, TRUE);  // programs and folders dropped from Explorer; the frame takes none

  m_list.SetRedraw(false);
  SetViewMode(m_nViewSetting);
  m_list.SetRedraw(true);
  m_iconArrival.Start();  // the items on screen now are fetched first

  if (CMainFrame* main = MainFrame()) {
    main->SetSnapWidth(m_nSnapWidth);
    main->SetSnapEnabled(m_bSnapWindow != 0);
  }
  app->EndWaitCursor();
}

void COrbelslaunchView::LoadShortcuts() {
  // The names are listed at once; the program icons follow from a thread of their own.
  m_dataFile.LoadShortcuts(m_list, m_imageListLarge, m_imageListSmall, m_hWnd);
}

void COrbelslaunchView::SaveShortcuts() { m_dataFile.SaveShortcuts(m_list, m_hWnd); }

LRESULT COrbelslaunchView::OnDestroy(WPARAM wParam, LPARAM lParam) {
  // Nothing more is fetched, and nothing waits for a fetch: the catalogue is saved first, the
  // icon cache after it.
  m_iconArrival.Stop();
  if (m_pList != nullptr) {
    SaveShortcuts();
    m_iconArrival.WriteCache();
    ol::RemoveAllShortcuts(m_list);
  }
  SaveSettings();
  // A fetching thread gets a moment to end; one still inside the shell (a network share that
  // does not answer) is ended with the program.
  ol::CIconFetcher::WaitForThreads(kIconThreadsEndWait);
  return DefWindowProc(WM_DESTROY, wParam, lParam);
}

LRESULT COrbelslaunchView::OnSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProc(WM_SIZE, wParam, lParam);
  LayoutColumns();
  return result;
}

LRESULT COrbelslaunchView::OnPaint(WPARAM wParam, LPARAM lParam) {
  // Whatever comes on screen, by a scroll, a resize, a sort or a key, is painted first: the
  // icons still to come there go to the front, and their positions show the loading picture.
  m_iconArrival.PutOnScreenFirst();
  return DefWindowProc(WM_PAINT, wParam, lParam);
}

void COrbelslaunchView::LayoutColumns() {
  if (m_pList == nullptr || !::IsWindow(m_hWnd)) return;
  const ol::ColumnWidths widths = ol::SplitColumns(GetClientRect().right, ol::SystemMetricForDpi(SM_CXVSCROLL, Dpi()));
  m_list.SetColumnWidth(0, static_cast<short>(widths.name));
  // A list in List mode has one width for all its columns: there the path's share would
  // overwrite the name's (Windows refuses the call, other list controls take it).
  if ((GetStyle() & LVS_TYPEMASK) != LVS_LIST) m_list.SetColumnWidth(1, static_cast<short>(widths.path));
}

void COrbelslaunchView::SetViewMode(int mode) {
  const DWORD style = (mode >= 1 && mode <= 3) ? kViewStyles[mode] : LVS_ICON;
  m_list.SetRedraw(false);
  ModifyStyle(LVS_TYPEMASK, 0);
  ModifyStyle(0, style);
  if (style == LVS_LIST) FitListColumnWidth();
  // Column widths are taken only in Details: ones set in another view may not have held.
  if (style == LVS_REPORT) LayoutColumns();
  m_list.SetRedraw(true);
  Invalidate();
}

void COrbelslaunchView::FitListColumnWidth() {
  int widest = 0;
  for (int i = 0; i < m_list.GetItemCount(); ++i) widest = std::max(widest, m_list.GetStringWidth(m_list.GetItemText(i, 0)));
  m_list.SetColumnWidth(0, ol::ListColumnWidth(widest, Dpi()));
}

void COrbelslaunchView::ChooseViewMode(int mode) {
  m_nViewSetting = mode;
  SetViewMode(mode);
}

void COrbelslaunchView::OnViewLargeIcons() { ChooseViewMode(0); }
void COrbelslaunchView::OnViewSmallIcons() { ChooseViewMode(1); }
void COrbelslaunchView::OnViewList() { ChooseViewMode(2); }
void COrbelslaunchView::OnViewDetails() { ChooseViewMode(3); }
void COrbelslaunchView::OnUpdateViewLargeIcons(CCmdUI* cmdUI) { cmdUI->SetCheck(m_nViewSetting == 0); cmdUI->Enable(true); }
void COrbelslaunchView::OnUpdateViewSmallIcons(CCmdUI* cmdUI) { cmdUI->SetCheck(m_nViewSetting == 1); cmdUI->Enable(true); }
void COrbelslaunchView::OnUpdateViewList(CCmdUI* cmdUI) { cmdUI->SetCheck(m_nViewSetting == 2); cmdUI->Enable(true); }
void COrbelslaunchView::OnUpdateViewDetails(CCmdUI* cmdUI) { cmdUI->SetCheck(m_nViewSetting == 3); cmdUI->Enable(true); }

void COrbelslaunchView::OnRefreshView() { ol::SortCatalogue(m_list); }

void COrbelslaunchView::UpdateShortcutCount(CCmdUI* cmdUI) {
  cmdUI->SetText(ol::ShortcutCountText(m_pList ? m_list.GetItemCount() : 0));
  cmdUI->Enable(true);
}

void COrbelslaunchView::OnLaunchOrbels() { ol::LaunchFirstGame(*this, MainFrame() ? MainFrame()->m_hWnd : nullptr); }

void COrbelslaunchView::OnLaunchOrbels2() {
  ol::LaunchSecondGame(*this, MainFrame() ? MainFrame()->m_hWnd : nullptr);
}

void COrbelslaunchView::OnProgramOptions() {
  if (CMainFrame* main = MainFrame()) ol::RunProgramOptions(*this, *main, m_hWnd);
}

void COrbelslaunchView::OnHelpContents() { ol::ShowHelpContents(m_hWnd); }
