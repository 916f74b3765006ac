// What the system says about display scaling, for the window and the DPI at hand. The calls
// that Windows 7 lacks (and Windows 8.1 in part) are looked up at run time; without them the
// answers come from the system DPI, scaled where a figure is asked for another DPI.
#pragma once

#include <windows.h>

namespace ol {

// Sent to each control after Windows scaled its dialog for a display of another DPI (Windows
// 10 1703 and later); the Windows 7 headers this is built with do not name it.
inline constexpr UINT kWmDpiChangedAfterParent = 0x02E3;

// The DPI of the window's display (the system DPI where the system cannot tell).
int WindowDpi(HWND window);
// The DPI of a display (the system DPI where the system cannot tell).
int MonitorDpi(HMONITOR monitor);
// The DPI the system scales to (96 at 100 %).
int SystemDpi();

// GetSystemMetrics for a DPI (SM_CXICON, SM_CXVSCROLL, ...).
int SystemMetricForDpi(int index, int dpi);
// The status bar's and the icon labels' fonts for a DPI.
LOGFONTW StatusFontForDpi(int dpi);
LOGFONTW IconTitleFontForDpi(int dpi);

// An icon resource at exactly `size` pixels: the drawn size when there is one, otherwise
// shrunk from a larger one where the system can (LoadIconWithScaleDown), stretched where not.
HICON LoadIconOfSize(HINSTANCE instance, UINT id, int size);

// Tests: answer as Windows 7 does, from the system DPI alone (true), or normally (false).
void UseSystemDpiOnlyForTesting(bool on);

}  // namespace ol
