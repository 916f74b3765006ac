#include "framework/Dpi.h"

#include <commctrl.h>

#include "framework/DpiScale.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

template <typename Function>
Function Find(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(::GetProcAddress(module, name)) : nullptr;
}

struct DpiFunctions {
  GetDpiForWindowFunction getDpiForWindow = nullptr;          // Windows 10 1607
  GetDpiForSystemFunction getDpiForSystem = nullptr;          // Windows 10 1607
  GetSystemMetricsForDpiFunction getSystemMetricsForDpi = nullptr;  // Windows 10 1607
  SystemParametersInfoForDpiFunction systemParametersInfoForDpi = nullptr;  // Windows 10 1607
  GetDpiForMonitorFunction getDpiForMonitor = nullptr;        // Windows 8.1, shcore
  LoadIconWithScaleDownFunction loadIconWithScaleDown = nullptr;  // Vista, common controls 6
};

DpiFunctions LookUp() {
  DpiFunctions found;
  HMODULE user = ::GetModuleHandleA("user32.dll");
  found.getDpiForWindow = Find<GetDpiForWindowFunction>(user, "GetDpiForWindow");
  found.getDpiForSystem = Find<GetDpiForSystemFunction>(user, "GetDpiForSystem");
  found.getSystemMetricsForDpi = Find<GetSystemMetricsForDpiFunction>(user, "GetSystemMetricsForDpi");
  found.systemParametersInfoForDpi = Find<SystemParametersInfoForDpiFunction>(user, "SystemParametersInfoForDpi");
  // Kept loaded for the life of the process, as the system's own libraries are.
  found.getDpiForMonitor = Find<GetDpiForMonitorFunction>(LoadSystemLibrary("shcore.dll"), "GetDpiForMonitor");
  found.loadIconWithScaleDown =
      Find<LoadIconWithScaleDownFunction>(::GetModuleHandleA("comctl32.dll"), "LoadIconWithScaleDown");
  return found;
}

bool g_systemDpiOnly = false;

const DpiFunctions& Functions() {
  static const DpiFunctions found = LookUp();
  static const DpiFunctions none;
  return g_systemDpiOnly ? none : found;
}

// The system's own font for the system DPI, its height scaled to `dpi`.
LOGFONTW ScaledSystemFont(LOGFONTW font, int dpi) {
  font.lfHeight = ::MulDiv(font.lfHeight, dpi, SystemDpi());
  return font;
}

}  // namespace

void UseSystemDpiOnlyForTesting(bool on) { g_systemDpiOnly = on; }

int SystemDpi() {
  if (const auto getDpiForSystem = Functions().getDpiForSystem) return static_cast<int>(getDpiForSystem());
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : kDefaultDpi;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

int MonitorDpi(HMONITOR monitor) {
  UINT x = 0;
  UINT y = 0;
  if (const auto getDpiForMonitor = Functions().getDpiForMonitor) {
    if (monitor != nullptr && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0) {
      return static_cast<int>(y);
    }
  }
  return SystemDpi();
}

int WindowDpi(HWND window) {
  if (const auto getDpiForWindow = Functions().getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  return MonitorDpi(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

int SystemMetricForDpi(int index, int dpi) {
  if (const auto getSystemMetricsForDpi = Functions().getSystemMetricsForDpi) {
    return getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
  }
  return ::MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}

LOGFONTW StatusFontForDpi(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (const auto systemParametersInfoForDpi = Functions().systemParametersInfoForDpi) {
    if (systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
      return metrics.lfStatusFont;
    }
  }
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return ScaledSystemFont(metrics.lfStatusFont, dpi);
}

LOGFONTW IconTitleFontForDpi(int dpi) {
  LOGFONTW font{};
  if (const auto systemParametersInfoForDpi = Functions().systemParametersInfoForDpi) {
    if (systemParametersInfoForDpi(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0, static_cast<UINT>(dpi))) {
      return font;
    }
  }
  ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0);
  return ScaledSystemFont(font, dpi);
}

HICON LoadIconOfSize(HINSTANCE instance, UINT id, int size) {
  if (const auto loadIconWithScaleDown = Functions().loadIconWithScaleDown) {
    HICON icon = nullptr;
    if (SUCCEEDED(loadIconWithScaleDown(instance, MAKEINTRESOURCEW(id), size, size, &icon))) return icon;
  }
  return static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace ol
