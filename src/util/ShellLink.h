// Windows shortcuts (.lnk files): what they point at, read through the shell's link object.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace ol {

// True for a file name ending in ".lnk", whatever its letter case.
bool IsWindowsShortcutFile(std::string_view path);

struct LinkTarget {
  std::string path;       // the file or folder the shortcut points at
  std::string arguments;  // the shortcut's command-line arguments, as stored
};

// Reads a Windows shortcut without searching for a moved target and without any window of
// the shell's (no user interface). Nothing when it cannot be read or names no path.
std::optional<LinkTarget> ReadWindowsShortcut(const std::string& path);

}  // namespace ol
