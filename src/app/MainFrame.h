// The launcher's main frame: exactly an overlapped window captioned "Orbels Launch", with the
// toolbar and status bar, a minimum size, and snapping to the work area's edges while moved.
// Its pixel figures are figures at 96 DPI scaled to the DPI of the display it is on.
#pragma once

#include "app/FrameGeometry.h"
#include "framework/ControlBars.h"
#include "framework/FrameWnd.h"
#include "framework/Handle.h"
#include "framework/ImageList.h"

class CMainFrame : public CFrameWnd {
 public:
  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  ol::Point m_ptGrabOffset{0, 0};
  int m_nSnapWidth = 0;  // at 96 DPI, as the setting holds it
  int m_bSnapEnabled = 0;
  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;
  CImageList m_imageListToolbar;
  CImageList m_imageListToolbarDisabled;
  int m_nDpi = 96;                   // the DPI the frame's figures are scaled to now
  ol::UniqueGdiObject m_fontStatus;  // the status bar's font at that DPI

  bool PreCreateWindow(CREATESTRUCTA& cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void SetSnapWidth(int pixels) { m_nSnapWidth = pixels; }
  void SetSnapEnabled(bool on) { m_bSnapEnabled = on ? 1 : 0; }
  int Dpi() const { return m_nDpi; }

  // Places and shows the frame at a position and size in pixels. A move onto a display of
  // another scale on the way takes that display's DPI but keeps this rectangle.
  void PlaceFrame(HWND insertAfter, const ol::Placement& placement);

  // The toolbar for the DPI, made anew when there is one (a toolbar takes its button size only
  // before its buttons), with its two image lists from the strip drawn nearest the DPI's size.
  bool CreateToolBar(int dpi);
  // The status bar's font for the DPI.
  void CreateStatusFont(int dpi);

  // Acts on WM_ENTERSIZEMOVE and WM_MOVING while snapping is on; never consumes a message.
  void FilterSnapMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void SnapToWorkArea(RECT* proposed);
  bool IsNear(int a, int b) const { return ol::IsNear(a, b, SnapDistance()); }
  // The snap width in pixels at the frame's DPI.
  int SnapDistance() const;

 protected:
  LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
  // The frame went to a display of another scale (the new DPI in wParam, the rectangle
  // Windows suggests for it in lParam).
  LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);

 private:
  bool m_bPlacing = false;
};

// The primary display's work area.
ol::Rect WorkArea();
// The DPI of the primary display, where the frame opens.
int PrimaryDisplayDpi();
