#include "framework/MessageWindow.h"

namespace {
constexpr char kWindowClass[] = "OrbelsLaunchMessageWindow";
}

CMessageWindow::CMessageWindow(std::function<void(UINT message, WPARAM wParam)> handler)
    : m_handler(std::move(handler)) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  if (!::GetClassInfoA(instance, kWindowClass, &windowClass)) {
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassA(&windowClass);
  }
  m_window.Reset(::CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this));
}

LRESULT CALLBACK CMessageWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* window = reinterpret_cast<CMessageWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (window != nullptr && (message >= WM_APP || message == WM_TIMER)) {
    try {
      window->m_handler(message, wParam);
    } catch (...) {
      // No exception crosses a window procedure: the work it stopped is dropped.
    }
    return 0;
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}
