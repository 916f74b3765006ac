// Path, process and error utilities that ask the system.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace ol {

// The ANSI code page's lead-byte test (IsDBCSLeadByte).
bool IsAnsiLeadByte(unsigned char c);

// The text before the last backslash; empty when there is none.
std::string GetDirectoryPart(std::string_view path);
// The text after the last backslash; the whole text when there is none.
std::string GetFileNamePart(std::string_view path);

// The directory of the running executable, without a trailing backslash.
std::string GetLauncherDirectory();

// False only when the system reports the file or the path as not found.
bool PathExists(const std::string& path);

// The system's message text for an error code, exactly as given (usually ending in a line
// break), or "Unknown Error Code: ..." when it has none.
std::string GetSystemErrorText(std::uint32_t code);

// From here on, libraries loaded by name come from the system directory only, never from the
// program's own folder (which may be a Downloads folder) or the current directory.
void LoadLibrariesFromSystemOnly();
// A library of the system by its file name ("hhctrl.ocx"), from the system directory only;
// nullptr when it is not there.
HMODULE LoadSystemLibrary(const char* fileName);

// Starts `program` as a new process with `commandLine` as its whole command line (no command
// line at all when empty) in `workingDirectory`, shown normally. Does not wait. A failure is
// shown in an error message box owned by `owner` (the active window when null).
void StartProgram(const std::string& program, const std::string& commandLine,
                  const std::string& workingDirectory, HWND owner = nullptr);

}  // namespace ol
