// Test helper: writes the command line it was started with and its working directory to the
// file named by OL_RECORDER_OUT (one line each, then "END"), and exits. It reads them in
// UTF-16 and writes UTF-8, so that what it records does not hang on its own code page.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(length > 0 ? static_cast<std::size_t>(length) : 1, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
  utf8.pop_back();  // the terminator
  return utf8;
}

}  // namespace

int main() {
  std::wstring outPath(32768, L'\0');
  if (!::GetEnvironmentVariableW(L"OL_RECORDER_OUT", outPath.data(), static_cast<DWORD>(outPath.size()))) return 2;
  std::wstring directory(32768, L'\0');
  ::GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data());
  const std::string text = Utf8(::GetCommandLineW()) + "\n" + Utf8(directory.c_str()) + "\nEND\n";
  HANDLE file = ::CreateFileW(outPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
