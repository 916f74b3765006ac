#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "OrbelsLaunchFrame";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  ::RegisterClassA(&wc);
  HWND frame = ::CreateWindowA("OrbelsLaunchFrame", "Orbels Launch", WS_OVERLAPPEDWINDOW, 0, 0, 450, 300, nullptr,
                               nullptr, wc.hInstance, nullptr);
  ::ShowWindow(frame, show);
  MSG msg;
  while (::IsWindow(frame) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
