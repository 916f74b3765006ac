// The main frame: menu, accelerators, toolbar and status bar laid out around the one view;
// command routing (view, frame, application); status-bar prompts and toolbar tooltips from
// the string table; idle-time command-state updates of the bars.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/DocTemplate.h"
#include "framework/Handle.h"
#include "framework/Wnd.h"

class CToolBar;
class CStatusBar;
class CView;
class CSingleDocTemplate;

inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
inline constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
inline constexpr UINT AFX_IDS_IDLEMESSAGE = 57345;

class CFrameWnd : public CWnd {
 public:
  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  // Creates the frame window from resource `id`: title string, menu, accelerators, icon.
  bool LoadFrame(UINT id, DWORD style, std::function<std::unique_ptr<CView>()> makeView);
  virtual bool PreCreateWindow(CREATESTRUCTA& cs);
  virtual void ActivateFrame(int showCommand);

  CView* GetActiveView() const { return m_pView.get(); }
  void RecalcLayout();
  // The prompt for a command (first line of its string), or "Idle" for 0.
  void SetMessageText(UINT id);
  void SetMessageText(const std::string& text);
  // Idle time: command-state updates of toolbar buttons and status-bar panes.
  void OnIdleUpdateCmdUI();

  bool OnCmdMsg(UINT id, UINT code, CCmdUI* cmdUI) override;
  bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  bool PreTranslateMessage(MSG* msg) override;
  void PostNcDestroy() override;

  CToolBar* m_pToolBar = nullptr;  // the bars register themselves when created
  CStatusBar* m_pStatusBar = nullptr;
  CSingleDocTemplate* m_pTemplate = nullptr;

 protected:
  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnSetFocus(WPARAM, LPARAM);
  LRESULT OnInitMenuPopup(WPARAM, LPARAM);
  LRESULT OnMenuSelect(WPARAM, LPARAM);
  LRESULT OnExitMenuLoop(WPARAM, LPARAM);
  LRESULT OnEndSession(WPARAM, LPARAM);
  LRESULT OnClose(WPARAM, LPARAM);

  // Updates every item of a menu (and its submenus) through the command routing.
  void UpdateMenu(HMENU menu);

 private:
  std::function<std::unique_ptr<CView>()> m_makeView;
  std::unique_ptr<CView> m_pView;
  ol::UniqueMenu m_menu;
  HACCEL m_hAccelTable = nullptr;  // resource accelerators need no freeing
  UINT m_nIDTracking = 0;          // the command whose prompt the status bar shows
  std::string m_strTitle;
};

// The first or the second line of a command's string resource ("prompt\ntooltip").
std::string CommandPrompt(UINT id);
std::string CommandTooltip(UINT id);
