// A message-only window of the program's own, for work that goes on from the message loop: a
// thread's posted word that something waits, and a timer's turn. Unlike a control's window,
// whose own messages and timers it cannot know, every message and timer here is its owner's.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/Handle.h"

class CMessageWindow {
 public:
  // `handler` gets every posted message from WM_APP on and every WM_TIMER (with the timer's id).
  explicit CMessageWindow(std::function<void(UINT message, WPARAM wParam)> handler);
  CMessageWindow(const CMessageWindow&) = delete;
  CMessageWindow& operator=(const CMessageWindow&) = delete;

  HWND Handle() const { return m_window.Get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  std::function<void(UINT, WPARAM)> m_handler;
  ol::UniqueWindow m_window;
};
