#include "app/MainFrame.h"

#include <iterator>

#include "framework/Dpi.h"
#include "framework/DpiScale.h"
#include "listview/OrbelslaunchView.h"
#include "res/resource.h"

namespace {

constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_SHORTCUTS};
constexpr COLORREF kToolbarMask = RGB(192, 192, 192);
constexpr int kMinTrackWidth = 330;  // at 96 DPI, as every figure here
constexpr int kMinTrackHeight = 250;
constexpr int kToolbarImageSize = 16;
constexpr SIZE kToolbarPadding = {7, 6};  // the toolbar's own room around an image at 96 DPI

// The toolbar's strips, drawn at the button sizes of 100 % to 200 % display scaling.
struct ToolbarStrip {
  int size;
  UINT normal;
  UINT disabled;
};
constexpr ToolbarStrip kToolbarStrips[] = {
    {16, IDB_TOOLBAR, IDB_TOOLBAR_DISABLED},       {20, IDB_TOOLBAR_20, IDB_TOOLBAR_DISABLED_20},
    {24, IDB_TOOLBAR_24, IDB_TOOLBAR_DISABLED_24}, {28, IDB_TOOLBAR_28, IDB_TOOLBAR_DISABLED_28},
    {32, IDB_TOOLBAR_32, IDB_TOOLBAR_DISABLED_32},
};

const ToolbarStrip& StripForDpi(int dpi) {
  int sizes[std::size(kToolbarStrips)] = {};
  for (std::size_t i = 0; i < std::size(kToolbarStrips); ++i) sizes[i] = kToolbarStrips[i].size;
  const int size = ol::PickDrawnSize(ol::ScaleForDpi(kToolbarImageSize, dpi), sizes);
  for (const ToolbarStrip& strip : kToolbarStrips) {
    if (strip.size == size) return strip;
  }
  return kToolbarStrips[0];
}

// An image list of the strip's buttons, or null when it cannot be made (it is then skipped).
HIMAGELIST LoadStripImages(UINT bitmapId, int size) {
  ol::UniqueGdiObject bitmap(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId)));
  HIMAGELIST images = ::ImageList_Create(size, size, ILC_COLOR16 | ILC_MASK, 8, 4);
  if (images != nullptr) ::ImageList_AddMasked(images, static_cast<HBITMAP>(bitmap.Get()), kToolbarMask);
  return images;  // the list keeps its own copy of the pictures
}

}  // namespace

ol::Rect WorkArea() {
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

int PrimaryDisplayDpi() { return ol::MonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

const MessageMap* CMainFrame::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapMessage<&CMainFrame::OnCreate>(WM_CREATE),
      MapMessage<&CMainFrame::OnGetMinMaxInfo>(WM_GETMINMAXINFO),
      MapMessage<&CMainFrame::OnDpiChanged>(WM_DPICHANGED),
  };
  static const MessageMap map{&CFrameWnd::GetThisMessageMap, kEntries};
  return &map;
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return false;
  cs.style = WS_OVERLAPPEDWINDOW;  // and so no document name in the caption
  return true;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  FilterSnapMessage(message, wParam, lParam);
  return CFrameWnd::WindowProc(message, wParam, lParam);
}

LRESULT CMainFrame::OnCreate(WPARAM wParam, LPARAM lParam) {
  m_nDpi = ol::WindowDpi(m_hWnd);
  if (CFrameWnd::OnCreate(wParam, lParam) == -1) return -1;
  if (!CreateToolBar(m_nDpi)) return -1;

  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
      !m_wndStatusBar.SetIndicators(kIndicators, 2)) {
    return -1;
  }
  m_wndStatusBar.SetPaneInfo(0, ID_SEPARATOR, SBPS_NOBORDERS | SBPS_STRETCH, 0);
  CreateStatusFont(m_nDpi);
  SetMessageText(0u);
  RecalcLayout();
  return 0;
}

bool CMainFrame::CreateToolBar(int dpi) {
  if (m_wndToolBar.m_hWnd != nullptr) m_wndToolBar.DestroyWindow();
  const ToolbarStrip& strip = StripForDpi(dpi);
  if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                             WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                             RECT{0, 0, 0, 0}, AFX_IDW_TOOLBAR)) {
    return false;
  }
  if (!m_wndToolBar.LoadToolBar(IDR_MAINFRAME, strip.size)) return false;
  // The toolbar draws from these lists but does not own them; the frame does (the old ones
  // went with the old toolbar).
  m_imageListToolbar.Attach(LoadStripImages(strip.normal, strip.size));
  m_imageListToolbarDisabled.Attach(LoadStripImages(strip.disabled, strip.size));
  m_wndToolBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_imageListToolbar.GetSafeHandle()));
  m_wndToolBar.SendMessage(TB_SETDISABLEDIMAGELIST, 0,
                           reinterpret_cast<LPARAM>(m_imageListToolbarDisabled.GetSafeHandle()));
  // The toolbar pads its images by the same pixels at every scale: the buttons get their size,
  // once they are all there (adding a button measures them again).
  m_wndToolBar.SendMessage(TB_SETBUTTONSIZE, 0,
                           MAKELPARAM(strip.size + ol::ScaleForDpi(kToolbarPadding.cx, dpi),
                                      strip.size + ol::ScaleForDpi(kToolbarPadding.cy, dpi)));
  m_wndToolBar.SendMessage(TB_AUTOSIZE);
  return true;
}

void CMainFrame::CreateStatusFont(int dpi) {
  const LOGFONTW font = ol::StatusFontForDpi(dpi);
  ol::UniqueGdiObject created(::CreateFontIndirectW(&font));
  m_wndStatusBar.SetFontForDpi(static_cast<HFONT>(created.Get()), dpi);
  m_fontStatus = std::move(created);  // the old font goes once the bar has the new one
}

void CMainFrame::PlaceFrame(HWND insertAfter, const ol::Placement& placement) {
  m_bPlacing = true;
  ::SetWindowPos(m_hWnd, insertAfter, placement.left, placement.top, placement.width, placement.height,
                 SWP_SHOWWINDOW);
  m_bPlacing = false;
}

LRESULT CMainFrame::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  // The new DPI comes with the message: the window's own DPI may not say it yet.
  const int dpi = LOWORD(wParam);
  if (dpi <= 0) return 0;
  m_nDpi = dpi;
  CreateToolBar(dpi);
  CreateStatusFont(dpi);
  auto* view = dynamic_cast<COrbelslaunchView*>(GetActiveView());
  if (view != nullptr) view->BeginDpiChange();
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested != nullptr && !m_bPlacing) {
    ::SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RecalcLayout();
  if (view != nullptr) view->EndDpiChange();
  OnIdleUpdateCmdUI();  // the new toolbar's buttons in their commands' states at once
  return 0;
}

LRESULT CMainFrame::OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam) {
  DefWindowProc(WM_GETMINMAXINFO, wParam, lParam);
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize.x = ol::ScaleForDpi(kMinTrackWidth, m_nDpi);
  info->ptMinTrackSize.y = ol::ScaleForDpi(kMinTrackHeight, m_nDpi);
  return 0;
}

int CMainFrame::SnapDistance() const { return ol::ScaleForDpi(m_nSnapWidth, m_nDpi); }

void CMainFrame::FilterSnapMessage(UINT message, WPARAM, LPARAM lParam) {
  if (!m_bSnapEnabled) return;
  if (message == WM_ENTERSIZEMOVE) {
    const RECT window = GetWindowRect();
    POINT cursor{};
    ::GetCursorPos(&cursor);
    m_ptGrabOffset = {cursor.x - window.left, cursor.y - window.top};
  } else if (message == WM_MOVING && lParam != 0) {
    SnapToWorkArea(reinterpret_cast<RECT*>(lParam));
  }
}

void CMainFrame::SnapToWorkArea(RECT* proposed) {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  const ol::Rect snapped = ol::SnapToWorkArea({proposed->left, proposed->top, proposed->right, proposed->bottom},
                                              {cursor.x, cursor.y}, m_ptGrabOffset, WorkArea(), SnapDistance());
  *proposed = RECT{snapped.left, snapped.top, snapped.right, snapped.bottom};
}
