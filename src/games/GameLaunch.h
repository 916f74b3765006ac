// Starting the two games, for the Launch commands: through the game's launch dialog, seeded
// from the settings and stored back after OK, or straight from the stored settings when
// "Hide Launch" (quick launch) is set.
#pragma once

#include <windows.h>

#include "app/Settings.h"

namespace ol {

// `mainWindow` is minimised before the start when "Auto Minimize" is set, and owns the
// message of a failed start. Cancelling a dialog stores, minimises and starts nothing.
void LaunchFirstGame(CLauncherSettings& settings, HWND mainWindow);
void LaunchSecondGame(CLauncherSettings& settings, HWND mainWindow);

}  // namespace ol
