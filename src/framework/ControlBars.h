// The frame's toolbar and status bar.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/Wnd.h"

class CFrameWnd;

// Bar style bits of the frame's bars (kept by the bar, not by the window).
inline constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
inline constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010;
inline constexpr DWORD CBRS_FLYBY = 0x0020;
inline constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
inline constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | 0x0800;  // aligned top, with a bottom border
inline constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | 0x0200;
inline constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
inline constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
inline constexpr UINT ID_SEPARATOR = 0;
inline constexpr UINT SBPS_NOBORDERS = 0x00000100;
inline constexpr UINT SBPS_STRETCH = 0x08000000;

class CToolBar : public CWnd {
 public:
  // `controlStyle` takes the toolbar control's TBSTYLE_ bits; `style` the window and bar bits.
  bool CreateEx(CFrameWnd* parent, DWORD controlStyle, DWORD style, RECT borders, UINT id);
  // Loads the toolbar-order resource: version, button width, height, count, then the command
  // of each item left to right (0 for a separator). `imageSize` pixels square replaces the
  // resource's image size, which is the one at 96 DPI (0 keeps it). The toolbar takes an image
  // size only before its buttons: for another one, it is made anew.
  bool LoadToolBar(UINT resourceId, int imageSize = 0);

  DWORD GetBarStyle() const { return m_dwBarStyle; }
  int GetCount() const { return static_cast<int>(m_items.size()); }
  UINT GetItemID(int index) const { return m_items.at(static_cast<std::size_t>(index)); }
  const std::vector<UINT>& Items() const { return m_items; }

 private:
  DWORD m_dwBarStyle = 0;
  std::vector<UINT> m_items;
};

class CStatusBar : public CWnd {
 public:
  bool Create(CFrameWnd* parent, DWORD style, UINT id);
  bool SetIndicators(const UINT* ids, int count);
  // The bar's font (not owned) and the DPI its size grip is measured at; the indicator panes
  // are measured again in the font.
  void SetFontForDpi(HFONT font, int dpi);
  void SetPaneInfo(int index, UINT id, UINT style, int width);
  void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
  // Sets a pane's text when it differs from what the pane shows.
  void SetPaneText(int index, const std::string& text);
  std::string GetPaneText(int index) const;
  int GetCount() const { return static_cast<int>(m_panes.size()); }
  UINT GetItemID(int index) const { return m_panes.at(static_cast<std::size_t>(index)).id; }
  DWORD GetBarStyle() const { return m_dwBarStyle; }
  // Lays the panes out over the bar's current width.
  void UpdatePanes();

 private:
  struct Pane {
    UINT id;
    UINT style;
    int width;
    std::string text;
  };
  int TextWidth(const std::string& text) const;
  DWORD m_dwBarStyle = 0;
  int m_nDpi = 96;
  std::vector<Pane> m_panes;
};
