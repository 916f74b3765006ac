// Closes the launcher's main window the normal way (WM_CLOSE), as a user would, and waits
// until it is gone. Exit code 0 when it closed, 1 when not found, 2 when it is still there
// after ten seconds.
#include <windows.h>

#include "framework/FrameWindowClass.h"

int main() {
  HWND window = ::FindWindowA(kFrameWindowClass, nullptr);
  if (window == nullptr) return 1;
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  for (int i = 0; i < 100; ++i) {
    if (!::IsWindow(window)) return 0;
    ::Sleep(100);
  }
  return 2;
}
