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
  // A Windows Installer package's shortcut, its path asked of the installer; empty when the
  // installer has no installed program for it.
  bool fromInstaller = false;
};

// Reads a Windows shortcut without searching for a moved target and without any window of
// the shell's (no user interface). Nothing when it cannot be read or names no path (a
// Windows Installer package's shortcut always has its target read, possibly empty).
std::optional<LinkTarget> ReadWindowsShortcut(const std::string& path);

}  // namespace ol
