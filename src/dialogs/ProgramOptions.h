// The Program Options command: the options dialog seeded from the settings, and on OK the
// six settings stored and applied at once to the main window and the shortcut list.
#pragma once

#include <windows.h>

#include "app/Settings.h"

class CMainFrame;

namespace ol {

// Nothing is stored or applied unless the dialog ends with OK. `list` is the list control.
void RunProgramOptions(CLauncherSettings& settings, CMainFrame& frame, HWND list);

}  // namespace ol
