#include "framework/FrameWnd.h"

#include <algorithm>

#include "framework/CmdUI.h"
#include "framework/ControlBars.h"
#include "framework/DocTemplate.h"
#include "framework/FrameWindowClass.h"
#include "framework/WinApp.h"

std::string CommandPrompt(UINT id) {
  const std::string text = LoadStringResource(id);
  return text.substr(0, text.find('\n'));
}

std::string CommandTooltip(UINT id) {
  const std::string text = LoadStringResource(id);
  const std::size_t line = text.find('\n');
  return line == std::string::npos ? std::string() : text.substr(line + 1);
}

const MessageMap* CFrameWnd::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapMessage<&CFrameWnd::OnCreate>(WM_CREATE),
      MapMessage<&CFrameWnd::OnSize>(WM_SIZE),
      MapMessage<&CFrameWnd::OnSetFocus>(WM_SETFOCUS),
      MapMessage<&CFrameWnd::OnInitMenuPopup>(WM_INITMENUPOPUP),
      MapMessage<&CFrameWnd::OnMenuSelect>(WM_MENUSELECT),
      MapMessage<&CFrameWnd::OnExitMenuLoop>(WM_EXITMENULOOP),
      MapMessage<&CFrameWnd::OnEndSession>(WM_ENDSESSION),
      MapMessage<&CFrameWnd::OnClose>(WM_CLOSE),
  };
  static const MessageMap map{&CWnd::GetThisMessageMap, kEntries};
  return &map;
}

bool CFrameWnd::PreCreateWindow(CREATESTRUCTA&) { return true; }

bool CFrameWnd::LoadFrame(UINT id, DWORD style, std::function<std::unique_ptr<CView>()> makeView) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  m_makeView = std::move(makeView);
  m_strTitle = LoadStringResource(id);
  m_strTitle = m_strTitle.substr(0, m_strTitle.find('\n'));
  RegisterWindowClass(kFrameWindowClass, CS_DBLCLKS, ::LoadIconA(instance, MAKEINTRESOURCEA(id)),
                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  m_menu.Reset(::LoadMenuA(instance, MAKEINTRESOURCEA(id)));
  m_hAccelTable = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(id));

  CREATESTRUCTA cs{};
  cs.style = style;
  cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
  cs.lpszName = m_strTitle.c_str();
  cs.lpszClass = kFrameWindowClass;
  cs.hMenu = m_menu.Get();
  if (!PreCreateWindow(cs)) return false;
  if (!CreateEx(cs.dwExStyle, kFrameWindowClass, m_strTitle.c_str(), cs.style, cs.x, cs.y, cs.cx, cs.cy, nullptr,
                cs.hMenu)) {
    // A window that was made and then failed its creation took its menu with it.
    if (!::IsMenu(m_menu.Get())) m_menu.Release();
    return false;
  }
  m_menu.Release();  // the window owns its menu now
  return true;
}

LRESULT CFrameWnd::OnCreate(WPARAM, LPARAM) {
  if (!m_makeView) return 0;
  m_pView = m_makeView();
  if (m_pTemplate != nullptr) m_pView->m_pDocument = m_pTemplate->GetDocument();
  return m_pView->Create(this, AFX_IDW_PANE_FIRST) ? 0 : -1;
}

void CFrameWnd::ActivateFrame(int showCommand) {
  if (showCommand < 0) {
    // The main frame's first showing follows the show command the program was started with
    // (a Windows shortcut set to "Minimized" or "Maximized"); later ones just show it.
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this && app->m_nCmdShow >= 0) {
      showCommand = app->m_nCmdShow;
      app->m_nCmdShow = -1;
    } else {
      showCommand = SW_SHOW;
    }
  }
  ::ShowWindow(m_hWnd, showCommand);
  if (m_pView && m_pView->m_hWnd) ::SetFocus(m_pView->m_hWnd);
}

void CFrameWnd::RecalcLayout() {
  RECT client = GetClientRect();
  int top = client.top;
  int bottom = client.bottom;
  if (m_pToolBar && m_pToolBar->m_hWnd) {
    m_pToolBar->SendMessage(TB_AUTOSIZE);
    const RECT bar = m_pToolBar->GetWindowRect();
    const int height = bar.bottom - bar.top;
    ::MoveWindow(m_pToolBar->m_hWnd, client.left, top, client.right - client.left, height, TRUE);
    top += height;
  }
  if (m_pStatusBar && m_pStatusBar->m_hWnd) {
    m_pStatusBar->SendMessage(WM_SIZE, 0, 0);
    const RECT bar = m_pStatusBar->GetWindowRect();
    bottom -= bar.bottom - bar.top;
    m_pStatusBar->UpdatePanes();
  }
  if (m_pView && m_pView->m_hWnd) {
    ::MoveWindow(m_pView->m_hWnd, client.left, top, client.right - client.left, std::max(0, bottom - top), TRUE);
  }
}

LRESULT CFrameWnd::OnSize(WPARAM wParam, LPARAM) {
  if (wParam != SIZE_MINIMIZED) RecalcLayout();
  return 0;
}

LRESULT CFrameWnd::OnSetFocus(WPARAM, LPARAM) {
  if (m_pView && m_pView->m_hWnd) ::SetFocus(m_pView->m_hWnd);
  return 0;
}

bool CFrameWnd::OnCmdMsg(UINT id, UINT code, CCmdUI* cmdUI) {
  // The view first, then the frame, then the application.
  if (m_pView && m_pView->OnCmdMsg(id, code, cmdUI)) return true;
  if (CWnd::OnCmdMsg(id, code, cmdUI)) return true;
  CWinApp* app = AfxGetApp();
  return app != nullptr && app->OnCmdMsg(id, code, cmdUI);
}

bool CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr) return false;
  if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) {
    // Toolbar tooltips: the second line of the command's string.
    static std::string textA;
    static std::wstring textW;
    textA = CommandTooltip(static_cast<UINT>(header->idFrom));
    if (header->code == TTN_GETDISPINFOA) {
      reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = textA.data();
    } else {
      textW.assign(textA.begin(), textA.end());
      reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = textW.data();
    }
    *result = 0;
    return true;
  }
  if (header->code == TBN_HOTITEMCHANGE && m_pToolBar && header->hwndFrom == m_pToolBar->m_hWnd) {
    // Fly-by prompts: the status bar tells what the button under the pointer does.
    const auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
    SetMessageText((hot->dwFlags & HICF_LEAVING) ? 0u : static_cast<UINT>(hot->idNew));
    *result = 0;
    return true;
  }
  return CWnd::OnNotify(wParam, lParam, result);
}

bool CFrameWnd::PreTranslateMessage(MSG* msg) {
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable != nullptr) {
    return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0;
  }
  return false;
}

void CFrameWnd::UpdateMenu(HMENU menu) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      UpdateMenu(sub);
      continue;
    }
    const UINT id = ::GetMenuItemID(menu, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators
    CMenuCmdUI state(menu, static_cast<UINT>(i), id);
    state.DoUpdate(this, true);
  }
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(lParam) == 0) UpdateMenu(reinterpret_cast<HMENU>(wParam));  // not the system menu
  return 0;
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
  const UINT item = LOWORD(wParam);
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF && lParam == 0) {
    SetMessageText(0u);  // the menu closed
  } else if (flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) {
    SetMessageText(0u);
  } else {
    SetMessageText(item);
  }
  return 0;
}

LRESULT CFrameWnd::OnExitMenuLoop(WPARAM, LPARAM) {
  SetMessageText(0u);
  return 0;
}

void CFrameWnd::SetMessageText(UINT id) {
  m_nIDTracking = id;
  SetMessageText(id == 0 ? LoadStringResource(AFX_IDS_IDLEMESSAGE) : CommandPrompt(id));
}

void CFrameWnd::SetMessageText(const std::string& text) {
  if (m_pStatusBar) m_pStatusBar->SetPaneText(0, text);
}

void CFrameWnd::OnIdleUpdateCmdUI() {
  if (m_pToolBar && m_pToolBar->m_hWnd) {
    for (int i = 0; i < m_pToolBar->GetCount(); ++i) {
      const UINT id = m_pToolBar->GetItemID(i);
      if (id == ID_SEPARATOR) continue;
      CToolBarCmdUI state(m_pToolBar->m_hWnd, static_cast<UINT>(i), id);
      state.DoUpdate(this, true);
    }
  }
  if (m_pStatusBar && m_pStatusBar->m_hWnd) {
    if (m_nIDTracking == 0 && m_pStatusBar->GetPaneText(0).empty()) SetMessageText(0u);
    for (int i = 0; i < m_pStatusBar->GetCount(); ++i) {
      const UINT id = m_pStatusBar->GetItemID(i);
      if (id == ID_SEPARATOR) continue;
      CStatusPaneCmdUI state(*m_pStatusBar, static_cast<UINT>(i), id);
      state.DoUpdate(this, false);
    }
  }
}

LRESULT CFrameWnd::OnEndSession(WPARAM wParam, LPARAM) {
  // Windows is ending: close the normal way so the view saves everything first.
  if (wParam) ::DestroyWindow(m_hWnd);
  return 0;
}

LRESULT CFrameWnd::OnClose(WPARAM, LPARAM) {
  ::DestroyWindow(m_hWnd);  // the document has nothing to save
  return 0;
}

void CFrameWnd::PostNcDestroy() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    ::PostQuitMessage(0);
  }
}
