// Driving a modal dialog from a ModalResponder action, which runs on the watcher thread:
// everything goes through the dialog's messages, so the dialog's own thread does the work.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "support/ModalResponder.h"

namespace oltest {

inline HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

inline std::string ItemText(HWND dialog, int id) { return WindowText(Item(dialog, id)); }

inline bool IsChecked(HWND dialog, int id) {
  return ::SendMessageA(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(Item(dialog, id)) != FALSE; }

// A mouse click on a button, handled before this returns.
inline void Click(HWND dialog, int id) { ::SendMessageA(Item(dialog, id), BM_CLICK, 0, 0); }

// The same click through the dialog's message queue, as real input arrives; the dialog's
// loop goes idle after it.
inline void PostClick(HWND dialog, int id) { ::PostMessageA(Item(dialog, id), BM_CLICK, 0, 0); }

// Replaces an edit's text the way pasting over a selection does (one change notification).
inline void SetItemText(HWND dialog, int id, const std::string& text) {
  ::SendMessageA(Item(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Types characters at the caret, one keystroke each.
inline void TypeInto(HWND dialog, int id, const std::string& text) {
  for (char c : text) ::SendMessageA(Item(dialog, id), WM_CHAR, static_cast<unsigned char>(c), 1);
}

inline DWORD CaretOf(HWND dialog, int id) {
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageA(Item(dialog, id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return end;
}

// Waits for something the dialog does when its loop next goes idle; false when it never
// happens.
inline bool WaitUntil(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// A key pressed while the control has the focus, through the dialog's message queue.
inline void PressKey(HWND dialog, int id, WPARAM key) { ::PostMessageA(Item(dialog, id), WM_KEYDOWN, key, 1); }

// One responder step that runs `drive` and then presses `button` (IDOK or IDCANCEL), also
// when a check inside `drive` failed, so that the dialog always ends.
inline ModalResponder::Action DriveThenPress(std::function<void(HWND)> drive, int button) {
  return [drive = std::move(drive), button](HWND dialog, const SeenDialog& seen) {
    drive(dialog);
    ModalResponder::Press(button)(dialog, seen);
  };
}

}  // namespace oltest
