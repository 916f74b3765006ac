#include "framework/ControlBars.h"

#include <algorithm>

#include "framework/Dpi.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

bool CToolBar::CreateEx(CFrameWnd* parent, DWORD controlStyle, DWORD style, RECT, UINT id) {
  m_dwBarStyle = style;
  // The bar stays at the top of the frame: no gripper, never docked or floated elsewhere.
  DWORD windowStyle = (style & 0xFFFF0000u) | controlStyle | CCS_TOP | CCS_NODIVIDER;
  if (style & CBRS_TOOLTIPS) windowStyle |= TBSTYLE_TOOLTIPS;
  if (!CWnd::CreateEx(0, TOOLBARCLASSNAME, "", windowStyle, 0, 0, 0, 0, parent->m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
    return false;
  }
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  parent->m_pToolBar = this;
  return true;
}

bool CToolBar::LoadToolBar(UINT resourceId, int imageSize) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(241));
  if (found == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(module, found);
  const auto* words = static_cast<const WORD*>(::LockResource(loaded));
  const DWORD size = ::SizeofResource(module, found);
  if (words == nullptr || size < 8 || words[0] != 1) return false;
  const int width = imageSize > 0 ? imageSize : words[1];
  const int height = imageSize > 0 ? imageSize : words[2];
  const WORD count = words[3];
  if (size < 8u + 2u * count) return false;
  m_items.assign(words + 4, words + 4 + count);

  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (UINT item : m_items) {
    TBBUTTON button{};
    if (item == ID_SEPARATOR) {
      button.fsStyle = TBSTYLE_SEP;
    } else {
      button.iBitmap = image++;
      button.idCommand = static_cast<int>(item);
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = TBSTYLE_BUTTON;
    }
    buttons.push_back(button);
  }
  SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessage(TB_AUTOSIZE);
  return true;
}

bool CStatusBar::Create(CFrameWnd* parent, DWORD style, UINT id) {
  m_dwBarStyle = style;
  const DWORD windowStyle = (style & 0xFFFF0000u) | CCS_BOTTOM | SBARS_SIZEGRIP;
  if (!CWnd::CreateEx(0, STATUSCLASSNAMEA, "", windowStyle, 0, 0, 0, 0, parent->m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
    return false;
  }
  parent->m_pStatusBar = this;
  m_nDpi = ol::WindowDpi(m_hWnd);
  return true;
}

int CStatusBar::TextWidth(const std::string& text) const {
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
  SIZE size{};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  return size.cx;
}

void CStatusBar::SetFontForDpi(HFONT font, int dpi) {
  m_nDpi = dpi;
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  for (Pane& pane : m_panes) {
    if (pane.id != ID_SEPARATOR) pane.width = TextWidth(LoadStringResource(pane.id));
  }
  UpdatePanes();
}

bool CStatusBar::SetIndicators(const UINT* ids, int count) {
  if (m_hWnd == nullptr || count <= 0) return false;
  m_panes.clear();
  for (int i = 0; i < count; ++i) {
    Pane pane{ids[i], 0, 0, {}};
    if (ids[i] != ID_SEPARATOR) {
      // An indicator is as wide as its string resource in the bar's font.
      const std::string text = LoadStringResource(ids[i]);
      if (text.empty()) return false;
      pane.width = TextWidth(text);
    } else {
      pane.style = SBPS_STRETCH;
    }
    m_panes.push_back(pane);
  }
  UpdatePanes();
  return true;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
  Pane& pane = m_panes.at(static_cast<std::size_t>(index));
  pane.id = id;
  pane.style = style;
  pane.width = width;
  UpdatePanes();
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
  const Pane& pane = m_panes.at(static_cast<std::size_t>(index));
  id = pane.id;
  style = pane.style;
  width = pane.width;
}

void CStatusBar::UpdatePanes() {
  if (m_hWnd == nullptr || m_panes.empty()) return;
  RECT client = GetClientRect();
  int borders[3] = {};
  SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  const int gap = borders[2];
  const int grip = ol::SystemMetricForDpi(SM_CXVSCROLL, m_nDpi);
  int fixed = 0;
  for (const Pane& pane : m_panes) {
    if (!(pane.style & SBPS_STRETCH)) fixed += pane.width + 2 * borders[0] + gap;
  }
  const int stretch = std::max(0, static_cast<int>(client.right) - grip - fixed);
  std::vector<int> edges;
  int right = 0;
  for (const Pane& pane : m_panes) {
    right += (pane.style & SBPS_STRETCH) ? stretch : pane.width + 2 * borders[0] + gap;
    edges.push_back(right);
  }
  // The last pane ends where the size grip begins, so that its right-aligned text is never
  // drawn under the grip.
  SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t i = 0; i < m_panes.size(); ++i) {
    const UINT type = (m_panes[i].style & SBPS_NOBORDERS) ? SBT_NOBORDERS : 0;
    SendMessage(SB_SETTEXTA, i | type, reinterpret_cast<LPARAM>(m_panes[i].text.c_str()));
  }
}

void CStatusBar::SetPaneText(int index, const std::string& text) {
  if (index < 0 || index >= GetCount()) return;
  Pane& pane = m_panes[static_cast<std::size_t>(index)];
  if (pane.text == text) return;
  pane.text = text;
  const UINT type = (pane.style & SBPS_NOBORDERS) ? SBT_NOBORDERS : 0;
  SendMessage(SB_SETTEXTA, static_cast<WPARAM>(index) | type, reinterpret_cast<LPARAM>(pane.text.c_str()));
}

std::string CStatusBar::GetPaneText(int index) const {
  if (index < 0 || index >= GetCount()) return std::string();
  return m_panes[static_cast<std::size_t>(index)].text;
}
