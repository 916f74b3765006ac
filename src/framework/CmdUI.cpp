#include "framework/CmdUI.h"

#include <string>

#include "framework/ControlBars.h"

void CMenuCmdUI::Enable(bool on) {
  m_bEnableChanged = true;
  const UINT state = ::GetMenuState(m_hMenu, m_nIndex, MF_BYPOSITION);
  const bool enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
  if (enabled != on) ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}

void CMenuCmdUI::SetCheck(int check) {
  const UINT state = ::GetMenuState(m_hMenu, m_nIndex, MF_BYPOSITION);
  const bool checked = (state & MF_CHECKED) != 0;
  if (checked != (check != 0)) ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}

void CMenuCmdUI::SetText(const std::string& text) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<char*>(text.c_str());
  ::SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &info);
}

void CToolBarCmdUI::Enable(bool on) {
  m_bEnableChanged = true;
  const LRESULT state = ::SendMessageA(m_hToolBar, TB_GETSTATE, m_nID, 0);
  if (state == -1) return;
  if (((state & TBSTATE_ENABLED) != 0) != on) ::SendMessageA(m_hToolBar, TB_ENABLEBUTTON, m_nID, MAKELPARAM(on, 0));
}

void CToolBarCmdUI::SetCheck(int check) {
  const LRESULT state = ::SendMessageA(m_hToolBar, TB_GETSTATE, m_nID, 0);
  if (state == -1) return;
  if (((state & TBSTATE_CHECKED) != 0) != (check != 0)) {
    ::SendMessageA(m_hToolBar, TB_CHECKBUTTON, m_nID, MAKELPARAM(check != 0, 0));
  }
}

void CStatusPaneCmdUI::SetText(const std::string& text) { m_bar.SetPaneText(static_cast<int>(m_nIndex), text); }

void CDialogControlCmdUI::Enable(bool on) {
  m_bEnableChanged = true;
  if ((::IsWindowEnabled(m_hControl) != FALSE) != on) {
    // A control about to be disabled gives up the focus first, so the keyboard is not lost.
    if (!on && ::GetFocus() == m_hControl) ::SendMessageA(::GetParent(m_hControl), WM_NEXTDLGCTL, 0, FALSE);
    ::EnableWindow(m_hControl, on ? TRUE : FALSE);
  }
}

void CDialogControlCmdUI::SetCheck(int check) {
  if (::SendMessageA(m_hControl, BM_GETCHECK, 0, 0) != check) ::SendMessageA(m_hControl, BM_SETCHECK, check, 0);
}

void CDialogControlCmdUI::SetText(const std::string& text) {
  const int length = ::GetWindowTextLengthA(m_hControl);
  std::string current(static_cast<std::size_t>(length) + 1, '\0');
  current.resize(static_cast<std::size_t>(::GetWindowTextA(m_hControl, current.data(), length + 1)));
  if (current != text) ::SetWindowTextA(m_hControl, text.c_str());
}
