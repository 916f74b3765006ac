#include "util/SystemUtil.h"

#include <vector>

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
  std::vector<char> directory(MAX_PATH + 1);
  const UINT length = ::GetSystemDirectoryA(directory.data(), static_cast<UINT>(directory.size()));
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
