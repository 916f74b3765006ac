// The command-state objects for each kind of user-interface element. Each touches its element
// only when the state really changes.
#pragma once

#include <windows.h>

#include "framework/CmdTarget.h"

class CMenuCmdUI : public CCmdUI {
 public:
  CMenuCmdUI(HMENU menu, UINT index, UINT id) : m_hMenu(menu) { m_nIndex = index, m_nID = id; }
  void Enable(bool on) override;
  void SetCheck(int check) override;
  void SetText(const std::string& text) override;

 private:
  HMENU m_hMenu;
};

class CToolBarCmdUI : public CCmdUI {
 public:
  CToolBarCmdUI(HWND toolbar, UINT index, UINT id) : m_hToolBar(toolbar) { m_nIndex = index, m_nID = id; }
  void Enable(bool on) override;
  void SetCheck(int check) override;
  void SetText(const std::string&) override {}

 private:
  HWND m_hToolBar;
};

class CStatusBar;
class CStatusPaneCmdUI : public CCmdUI {
 public:
  CStatusPaneCmdUI(CStatusBar& bar, UINT index, UINT id) : m_bar(bar) { m_nIndex = index, m_nID = id; }
  void Enable(bool on) override { m_bEnabled = on; }
  void SetCheck(int) override {}
  void SetText(const std::string& text) override;
  bool m_bEnabled = true;

 private:
  CStatusBar& m_bar;
};

class CDialogControlCmdUI : public CCmdUI {
 public:
  CDialogControlCmdUI(HWND control, UINT id) : m_hControl(control) { m_nID = id; }
  void Enable(bool on) override;
  void SetCheck(int check) override;
  void SetText(const std::string& text) override;

 private:
  HWND m_hControl;
};
