#include "app/MainFrame.h"

#include "res/resource.h"

namespace {
constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_SHORTCUTS};
constexpr COLORREF kToolbarMask = RGB(192, 192, 192);
}  // namespace

ol::Rect WorkArea() {
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

const MessageMap* CMainFrame::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapMessage<&CMainFrame::OnCreate>(WM_CREATE),
      MapMessage<&CMainFrame::OnGetMinMaxInfo>(WM_GETMINMAXINFO),
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
  if (CFrameWnd::OnCreate(wParam, lParam) == -1) return -1;
  if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                             WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                             RECT{0, 0, 0, 0}, AFX_IDW_TOOLBAR) ||
      !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
    return -1;
  }

  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  ol::UniqueGdiObject normal(::LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_TOOLBAR)));
  ol::UniqueGdiObject disabled(::LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_TOOLBAR_DISABLED)));
  if (m_imageListToolbar.Create(16, 16, ILC_COLOR16 | ILC_MASK, 8, 4)) {
    m_imageListToolbar.AddMasked(static_cast<HBITMAP>(normal.Get()), kToolbarMask);
  }
  if (m_imageListToolbarDisabled.Create(16, 16, ILC_COLOR16 | ILC_MASK, 8, 4)) {
    m_imageListToolbarDisabled.AddMasked(static_cast<HBITMAP>(disabled.Get()), kToolbarMask);
  }
  // The toolbar draws from these lists but does not own them; the frame does.
  m_wndToolBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_imageListToolbar.GetSafeHandle()));
  m_wndToolBar.SendMessage(TB_SETDISABLEDIMAGELIST, 0,
                           reinterpret_cast<LPARAM>(m_imageListToolbarDisabled.GetSafeHandle()));

  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
      !m_wndStatusBar.SetIndicators(kIndicators, 2)) {
    return -1;  // the bitmaps go with their owners
  }
  m_wndStatusBar.SetPaneInfo(0, ID_SEPARATOR, SBPS_NOBORDERS | SBPS_STRETCH, 0);
  SetMessageText(0u);
  RecalcLayout();
  return 0;
}

LRESULT CMainFrame::OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam) {
  DefWindowProc(WM_GETMINMAXINFO, wParam, lParam);
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize.x = 330;
  info->ptMinTrackSize.y = 250;
  return 0;
}

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
                                              {cursor.x, cursor.y}, m_ptGrabOffset, WorkArea(), m_nSnapWidth);
  *proposed = RECT{snapped.left, snapped.top, snapped.right, snapped.bottom};
}
