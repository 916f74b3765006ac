#include "util/SystemUtil.h"

#include <cstring>
#include <vector>

#include "util/CodePages.h"
#include "util/ErrorText.h"
#include "util/PathText.h"

namespace ol {

bool IsAnsiLeadByte(unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; }

std::string GetDirectoryPart(std::string_view path) { return DirectoryPartOf(path, IsAnsiLeadByte); }

std::string GetFileNamePart(std::string_view path) { return FileNamePartOf(path, IsAnsiLeadByte); }

std::string GetLauncherDirectory() {
  // The path may be longer than MAX_PATH; grow the buffer rather than cut it.
  std::vector<char> buffer(1024);
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return GetDirectoryPart(std::string_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

bool PathExists(const std::string& path) {
  if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = ::GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool IsBatchFile(std::string_view path) { return HasExtension(path, ".bat") || HasExtension(path, ".cmd"); }

bool IsStartableProgram(const std::string& path) {
  // GetBinaryType reads the file's header: PE files whatever their extension (".com" and
  // ".scr" included); the rest of what it knows runs only on 32-bit Windows.
  DWORD type = 0;
  if (::GetBinaryTypeA(path.c_str(), &type)) return type == SCS_32BIT_BINARY || type == SCS_64BIT_BINARY;
  return IsBatchFile(path);
}

LONG QueryRegistryText(HKEY key, const char* valueName, std::size_t characters, std::string& text, DWORD& type) {
  // No character of the code page takes more than three bytes for one UTF-16 unit.
  std::vector<char> buffer(characters * 3, '\0');
  DWORD size = static_cast<DWORD>(buffer.size());
  const LONG status =
      ::RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (status != ERROR_SUCCESS) return status;
  // The text ends at its terminating zero, or at the end of the data when it has none.
  std::string value(buffer.data(), strnlen(buffer.data(), size));
  if (TextLengthInCharacters(value) >= characters) return ERROR_MORE_DATA;
  text = std::move(value);
  return ERROR_SUCCESS;
}

std::string GetSystemErrorText(std::uint32_t code) {
  char* buffer = nullptr;
  // Some texts name the file as "%1" (a program that is not a valid application, say): they
  // are taken as they stand rather than failing for want of the insert.
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<char*>(&buffer), 0, nullptr);
  if (length == 0 || buffer == nullptr) return UnknownErrorCodeText(code);
  std::string text(buffer, length);
  ::LocalFree(buffer);
  return text;
}

void LoadLibrariesFromSystemOnly() {
  // Windows 8 and later, and Windows 7 with its loader update, have SetDefaultDllDirectories.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories"));
  if (setDefault != nullptr) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ::SetDllDirectoryA("");  // everywhere else: at least not the current directory
}

HMODULE LoadSystemLibrary(const char* fileName) {
  // Asked twice if need be: the first answer of a call that did not fit is the size it needs.
  std::vector<char> directory(MAX_PATH + 1);
  UINT length = ::GetSystemDirectoryA(directory.data(), static_cast<UINT>(directory.size()));
  if (length >= directory.size()) {
    directory.resize(length + 1);
    length = ::GetSystemDirectoryA(directory.data(), static_cast<UINT>(directory.size()));
  }
  if (length == 0 || length >= directory.size()) return nullptr;
  const std::string path = std::string(directory.data(), length) + "\\" + fileName;
  // A full path loads exactly that file; its own dependencies are looked for beside it.
  return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void StartProgram(const std::string& program, const std::string& commandLine,
                  const std::string& workingDirectory, HWND owner) {
  // CreateProcessA may write into the command line, so it gets a writable copy sized to the
  // text; an empty text passes no command line at all.
  std::vector<char> commandBuffer;
  if (!commandLine.empty()) commandBuffer.assign(commandLine.c_str(), commandLine.c_str() + commandLine.size() + 1);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoA(&startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;

  PROCESS_INFORMATION process{};
  if (::CreateProcessA(program.c_str(), commandBuffer.empty() ? nullptr : commandBuffer.data(), nullptr, nullptr,
                       FALSE, 0, nullptr, workingDirectory.c_str(), &startup, &process)) {
    // The launcher keeps nothing of the started program.
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return;
  }
  const DWORD error = ::GetLastError();
  const std::string text = StartFailureText(program, GetSystemErrorText(error));
  ::MessageBoxA(owner != nullptr ? owner : ::GetActiveWindow(), text.c_str(), std::string(kStartFailureTitle).c_str(),
                MB_ICONHAND | MB_OK);
}

}  // namespace ol
