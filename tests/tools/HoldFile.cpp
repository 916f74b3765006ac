// Holds a file open the way a virus scanner or an editor does (reading and writing shared,
// deleting and renaming not) for a while: `holdfile <path> <milliseconds>`. Exit code 0 after
// the hold, 1 when the file could not be opened.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) return 1;
  HANDLE file = ::CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  ::Sleep(static_cast<DWORD>(std::atoi(argv[2])));
  ::CloseHandle(file);
  return 0;
}
