#include "support/TestFiles.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "util/SystemUtil.h"

namespace oltest {

namespace {

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::DeleteFileA(child.c_str());
      }
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryA(path.c_str());
}

}  // namespace

ScratchDir::ScratchDir() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  for (;;) {
    m_path = std::string(temp) + "olt" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++counter);
    if (::CreateDirectoryA(m_path.c_str(), nullptr)) break;
  }
}

ScratchDir::~ScratchDir() { RemoveTree(m_path); }

// Straight from Windows, not through the program's file-system seam that a test may have
// replaced, and sharing everything, so that reading disturbs nobody.
std::optional<std::string> ReadFileBytes(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  bool ok;
  while ((ok = ::ReadFile(file, chunk, sizeof chunk, &got, nullptr) != FALSE) && got > 0) bytes.append(chunk, got);
  ::CloseHandle(file);
  return ok ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  ::CloseHandle(file);
  return ok;
}

bool CopyTestFile(const std::string& from, const std::string& to) {
  return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::vector<std::string> FilesIn(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((directory + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..") names.push_back(data.cFileName);
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

unsigned long EnvNumber(const char* name, unsigned long fallback) {
  char text[32] = {};
  const DWORD length = ::GetEnvironmentVariableA(name, text, sizeof text);
  if (length == 0 || length >= sizeof text) return fallback;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 10);
  return end != text && *end == '\0' ? value : fallback;
}

std::string TestBinDirectory() { return ol::GetLauncherDirectory(); }

std::string RecorderPath() { return TestBinDirectory() + "\\recorder.exe"; }

std::optional<RecordedStart> WaitForRecording(const std::string& outFile, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (auto bytes = ReadFileBytes(outFile); bytes && bytes->size() >= 4 &&
                                             bytes->compare(bytes->size() - 4, 4, "END\n") == 0) {
      const std::size_t first = bytes->find('\n');
      const std::size_t second = bytes->find('\n', first + 1);
      return RecordedStart{bytes->substr(0, first), bytes->substr(first + 1, second - first - 1)};
    }
    PumpMessagesFor(std::chrono::milliseconds(20));
  }
  return std::nullopt;
}

void PumpMessagesFor(std::chrono::milliseconds duration) {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  do {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < deadline);
}

}  // namespace oltest
