// Test helper: writes the command line it was started with and its working directory to the
// file named by OL_RECORDER_OUT (one line each, then "END"), and exits.
#include <windows.h>

#include <string>

int main() {
  char outPath[MAX_PATH * 4] = {};
  if (!::GetEnvironmentVariableA("OL_RECORDER_OUT", outPath, sizeof outPath)) return 2;
  char directory[MAX_PATH * 4] = {};
  ::GetCurrentDirectoryA(sizeof directory, directory);
  const std::string text = std::string(::GetCommandLineA()) + "\n" + directory + "\nEND\n";
  HANDLE file = ::CreateFileA(outPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
