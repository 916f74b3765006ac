// The main frame's window class. Besides the frame itself, a second copy of the launcher, the
// installer (packaging/OrbelsLaunch.nsi keeps a copy, which the packaging test compares) and
// `make run` find a running launcher by it.
#pragma once

inline constexpr const char* kFrameWindowClass = "OrbelsLaunchFrame";
