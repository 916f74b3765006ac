// The Help Contents command: the table of contents of OrbelsLaunch.chm, which lies next to
// the launcher's executable, or a message that says where the file was expected.
#pragma once

#include <windows.h>

#include <string>

namespace ol {

inline constexpr const char* kHelpFileName = "\\OrbelsLaunch.chm";

// The help file in the launcher's directory; a failure is reported over `owner`.
void ShowHelpContents(HWND owner);
// The same for a help file at `path`. Returns the help window, or null after the message.
HWND ShowHelpFile(HWND owner, const std::string& path);

}  // namespace ol
