// The launcher's main frame: exactly an overlapped window captioned "Orbels Launch", with the
// toolbar and status bar, a minimum size, and snapping to the work area's edges while moved.
#pragma once

#include "app/FrameGeometry.h"
#include "framework/ControlBars.h"
#include "framework/FrameWnd.h"
#include "framework/ImageList.h"

class CMainFrame : public CFrameWnd {
 public:
  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  ol::Point m_ptGrabOffset{0, 0};
  int m_nSnapWidth = 0;
  int m_bSnapEnabled = 0;
  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;
  CImageList m_imageListToolbar;
  CImageList m_imageListToolbarDisabled;

  bool PreCreateWindow(CREATESTRUCTA& cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void SetSnapWidth(int pixels) { m_nSnapWidth = pixels; }
  void SetSnapEnabled(bool on) { m_bSnapEnabled = on ? 1 : 0; }

  // Acts on WM_ENTERSIZEMOVE and WM_MOVING while snapping is on; never consumes a message.
  void FilterSnapMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void SnapToWorkArea(RECT* proposed);
  bool IsNear(int a, int b) const { return ol::IsNear(a, b, m_nSnapWidth); }

 protected:
  LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
};

// The primary display's work area.
ol::Rect WorkArea();
