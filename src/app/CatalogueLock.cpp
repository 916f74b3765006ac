#include "app/CatalogueLock.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

namespace ol {

namespace {

constexpr const char* kFrameClass = "OrbelsLaunchFrame";
// A first copy that is still loading a large catalogue may take a while to show its window.
constexpr auto kWindowWait = std::chrono::seconds(60);

// The long form of a path that exists; the path itself otherwise.
std::string LongPath(const std::string& path) {
  std::vector<char> buffer(32768, '\0');
  const DWORD length = ::GetLongPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  return (length > 0 && length < buffer.size()) ? std::string(buffer.data(), length) : path;
}

// The full, long form of the path in upper case, so that every spelling of one file agrees.
// The data file may not exist yet: then its folder's long form, with the name as given.
std::string CanonicalPath(const std::string& path) {
  std::vector<char> buffer(32768, '\0');
  const DWORD length = ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  std::string result = (length > 0 && length < buffer.size()) ? std::string(buffer.data(), length) : path;
  const std::size_t slash = result.rfind('\\');
  result = slash == std::string::npos ? LongPath(result) : LongPath(result.substr(0, slash)) + result.substr(slash);
  if (!result.empty()) ::CharUpperBuffA(result.data(), static_cast<DWORD>(result.size()));
  return result;
}

}  // namespace

HWND FindLauncherFrame(DWORD processId) {
  struct Search {
    DWORD id;
    HWND found;
  } search{processId, nullptr};
  ::EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        char name[64] = {};
        ::GetClassNameA(hwnd, name, sizeof name);
        if (owner != s->id || std::string(name) != kFrameClass || !::IsWindowVisible(hwnd)) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string CCatalogueLock::NameFor(const std::string& dataFilePath) {
  // FNV-1a over the canonical path: object names may not hold backslashes.
  std::uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : CanonicalPath(dataFilePath)) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char name[64];
  std::snprintf(name, sizeof name, "Local\\OrbelsLaunch.Catalogue.%016llx", static_cast<unsigned long long>(hash));
  return name;
}

CCatalogueLock::CCatalogueLock(const std::string& dataFilePath) {
  m_hShared = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                   NameFor(dataFilePath).c_str());
  if (m_hShared == nullptr) return;  // no lock to be had: run as before
  m_bFirst = ::GetLastError() != ERROR_ALREADY_EXISTS;
  if (m_bFirst) {
    if (auto* shared = static_cast<volatile LONG*>(::MapViewOfFile(m_hShared, FILE_MAP_WRITE, 0, 0, sizeof(DWORD)))) {
      ::InterlockedExchange(shared, static_cast<LONG>(::GetCurrentProcessId()));
      ::UnmapViewOfFile(const_cast<LONG*>(shared));
    }
  }
}

CCatalogueLock::~CCatalogueLock() {
  if (m_hShared != nullptr) ::CloseHandle(m_hShared);
}

bool CCatalogueLock::BringFirstCopyForward() const {
  if (m_bFirst || m_hShared == nullptr) return false;
  auto* shared = static_cast<volatile LONG*>(::MapViewOfFile(m_hShared, FILE_MAP_READ, 0, 0, sizeof(DWORD)));
  if (shared == nullptr) return false;
  const auto deadline = std::chrono::steady_clock::now() + kWindowWait;
  DWORD firstId = 0;
  // The first copy writes its process id right after making the object.
  while ((firstId = static_cast<DWORD>(*shared)) == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::UnmapViewOfFile(const_cast<LONG*>(shared));
  HANDLE first = firstId ? ::OpenProcess(SYNCHRONIZE, FALSE, firstId) : nullptr;
  if (first == nullptr) return false;
  HWND frame = nullptr;
  while ((frame = FindLauncherFrame(firstId)) == nullptr && std::chrono::steady_clock::now() < deadline) {
    if (::WaitForSingleObject(first, 50) == WAIT_OBJECT_0) break;  // it ended meanwhile
  }
  ::CloseHandle(first);
  if (frame == nullptr) return false;
  // Posted, not sent: a busy first copy must not hold this one up.
  if (::IsIconic(frame)) ::ShowWindowAsync(frame, SW_RESTORE);
  ::SetForegroundWindow(::GetLastActivePopup(frame));  // its open dialog, if any, on top
  return true;
}

}  // namespace ol
