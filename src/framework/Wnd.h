// Windows as objects. One static window procedure: the object pointer arrives with the
// creation message and is kept in a table of the process's windows; controls made elsewhere
// are subclassed by replacing their window procedure. Messages go through the object's
// message map, then to the default handling. No exception crosses a window procedure.
// (Window properties and SetWindowSubclass cost a round trip to the Wine server on every
// message, which made a list of thousands of items slow to read and to free.)
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/CmdTarget.h"

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  ~CWnd() override;

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The object behind a window, when it is one of ours.
  static CWnd* FromHandlePermanent(HWND hwnd);

  // Creates a window of a class registered by RegisterWindowClass, or of any system class
  // (which is then subclassed so that this object sees its messages).
  bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int cx,
                int cy, HWND parent, HMENU idOrMenu);
  // Makes an existing window (a dialog's control) this object's window.
  bool SubclassWindow(HWND hwnd);
  HWND UnsubclassWindow();
  bool DestroyWindow();

  // The default handling of everything the message map does not handle.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Runs the message map for one message; false when no entry handled it.
  virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
  virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Runs before the message is dispatched; true when it was used up.
  virtual bool PreTranslateMessage(MSG* msg);
  virtual void PreSubclassWindow() {}
  virtual void PostNcDestroy() {}

  // Small conveniences over the window handle.
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
  bool ModifyStyle(DWORD remove, DWORD add);
  RECT GetWindowRect() const;
  RECT GetClientRect() const;
  std::string GetWindowText() const;
  void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase ? TRUE : FALSE); }

  // Registers a window class of ours whose windows all use the common window procedure.
  static bool RegisterWindowClass(const char* className, UINT style, HICON icon, HBRUSH background);

 protected:
  static LRESULT CALLBACK StandardWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Every message of our windows passes here; catches what a handler throws.
  LRESULT DispatchSafely(UINT message, WPARAM wParam, LPARAM lParam);
  void Attach(HWND hwnd);
  void Detach();

  // The control's own window procedure, while this object has it subclassed.
  WNDPROC m_pfnSuper = nullptr;
};

// Reflected WM_CTLCOLOR* messages carry the control type in MessageArgs::message.
bool IsCtlColorMessage(UINT message);
