// Path, process and error utilities that ask the system.
#pragma once

#include <windows.h>

#include <cstddef>
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

// The longest path Windows programs can use, in characters with its terminator (MAX_PATH).
inline constexpr std::size_t kPathCharacters = 260;

// The directory of the running executable, without a trailing backslash.
std::string GetLauncherDirectory();

// False only when the system reports the file or the path as not found.
bool PathExists(const std::string& path);

// A batch file (".bat", ".cmd"), whatever the letter case.
bool IsBatchFile(std::string_view path);

// A file that Windows can start as a program: a 32-bit or 64-bit Windows program (whatever its
// extension), or a batch file (".bat", ".cmd"), which Windows starts through its command
// interpreter. Not documents, pictures, Internet shortcuts, 16-bit or MS-DOS programs.
bool IsStartableProgram(const std::string& path);

// A registry value as text, when it fits `characters` characters (UTF-16 units, as Windows
// counts them) with its terminator, whatever the bytes of each in the program's code page.
// ERROR_SUCCESS with the text (up to its terminating zero) and the value's type; ERROR_MORE_DATA
// for a value that does not fit; otherwise the system's error.
LONG QueryRegistryText(HKEY key, const char* valueName, std::size_t characters, std::string& text, DWORD& type);

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
