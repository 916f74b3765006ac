#include "app/CatalogueLock.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/FrameWindowClass.h"
#include "util/FileSystem.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

constexpr DWORD kPollMs = 100;
// A copy out of reach that is just closing frees the catalogue within moments.
constexpr ULONGLONG kElsewhereWaitMs = 5000;
// A copy of this session may take a while to show its window (a large catalogue to load) or
// to end (a large catalogue to save, a message to answer).
constexpr ULONGLONG kSessionCopyWaitMs = 60000;

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

bool IsRunning(DWORD processId) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (process == nullptr) return false;
  const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return running;
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
        if (owner != s->id || std::string(name) != kFrameWindowClass || !::IsWindowVisible(hwnd)) return TRUE;
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

CCatalogueLock::CCatalogueLock(std::string dataFilePath)
    : m_strDataPath(std::move(dataFilePath)), m_strName(NameFor(m_strDataPath)) {}

CCatalogueLock::~CCatalogueLock() {
  if (m_hShared != nullptr) ::CloseHandle(m_hShared);
  if (m_hLockFile != INVALID_HANDLE_VALUE) FileSystem().Close(m_hLockFile);
}

CCatalogueLock::LockFile CCatalogueLock::TryLockFile() {
  CFileSystem& files = FileSystem();
  const std::string path = LockPathFor(m_strDataPath);
  m_hLockFile = files.Open(path, GENERIC_READ, 0, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
  if (m_hLockFile != INVALID_HANDLE_VALUE) return LockFile::kTaken;
  const DWORD error = ::GetLastError();
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return LockFile::kHeld;
  if (error != ERROR_ACCESS_DENIED) return LockFile::kCannotBeMade;
  // Access denied to a lock file that is there: a copy holds it that this user may not open,
  // or it is going. A copy that has just ended leaves it delete-pending while a scanner, an
  // indexer or a sync client still has it open, and then even its attributes are denied.
  // Only a lock file that is not there means a folder that takes no new files.
  if (files.Attributes(path) != INVALID_FILE_ATTRIBUTES) return LockFile::kHeld;
  const DWORD why = ::GetLastError();
  return why == ERROR_ACCESS_DENIED || why == ERROR_DELETE_PENDING ? LockFile::kHeld : LockFile::kCannotBeMade;
}

void CCatalogueLock::Publish() {
  m_hShared = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD), m_strName.c_str());
  if (m_hShared == nullptr) return;
  if (auto* shared = static_cast<volatile LONG*>(::MapViewOfFile(m_hShared, FILE_MAP_WRITE, 0, 0, sizeof(DWORD)))) {
    ::InterlockedExchange(shared, static_cast<LONG>(::GetCurrentProcessId()));
    ::UnmapViewOfFile(const_cast<LONG*>(shared));
  }
}

DWORD CCatalogueLock::CopyOfThisSession() const {
  HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, m_strName.c_str());
  if (mapping == nullptr) return 0;  // none, or one this user may not open (an elevated copy)
  DWORD id = 0;
  if (auto* shared = static_cast<volatile LONG*>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(DWORD)))) {
    id = static_cast<DWORD>(*shared);
    ::UnmapViewOfFile(const_cast<LONG*>(shared));
  }
  ::CloseHandle(mapping);
  return id != 0 && id != ::GetCurrentProcessId() && IsRunning(id) ? id : 0;
}

CCatalogueLock::Outcome CCatalogueLock::Take() {
  CFileSystem& files = FileSystem();
  const ULONGLONG start = files.Now();
  for (;;) {
    const LockFile lock = TryLockFile();
    if (lock == LockFile::kTaken) {
      Publish();
      return Outcome::kRun;
    }
    const DWORD first = CopyOfThisSession();
    if (HWND frame = first != 0 ? FindLauncherFrame(first) : nullptr) {
      // Posted, not sent: a busy first copy must not hold this one up.
      if (::IsIconic(frame)) ::ShowWindowAsync(frame, SW_RESTORE);
      ::SetForegroundWindow(::GetLastActivePopup(frame));  // its open dialog, if any, on top
      return Outcome::kBroughtForward;
    }
    if (first == 0 && lock == LockFile::kCannotBeMade) {
      Publish();
      return Outcome::kRunUnlocked;
    }
    if (files.Now() - start >= (first != 0 ? kSessionCopyWaitMs : kElsewhereWaitMs)) return Outcome::kHeldElsewhere;
    files.Wait(kPollMs);
  }
}

bool CCatalogueLock::TakeAtStartUp() {
  switch (Take()) {
    case Outcome::kRun:
      return true;
    case Outcome::kRunUnlocked:
      ReportCannotBeKept();
      return true;
    case Outcome::kHeldElsewhere:
      ReportHeldElsewhere();
      return false;
    case Outcome::kBroughtForward:
      break;
  }
  return false;
}

void CCatalogueLock::ReportHeldElsewhere() const {
  const std::string text = "Orbels Launch is already running with the shortcut catalogue in this folder:\n\n" +
                           GetDirectoryPart(m_strDataPath) +
                           "\n\nIt may be running for another user, in another Windows session or on another "
                           "computer. Close it there, then start Orbels Launch again.";
  ::MessageBoxA(nullptr, text.c_str(), kCatalogueInUseTitle, MB_ICONEXCLAMATION | MB_OK | MB_SETFOREGROUND);
}

void CCatalogueLock::ReportCannotBeKept() const {
  const std::string text = "Orbels Launch cannot write to the folder of its shortcut catalogue:\n\n" +
                           GetDirectoryPart(m_strDataPath) +
                           "\n\nThe folder may be on a read-only disc or drive, or you may not be allowed to "
                           "change it. Orbels Launch will run, but changes to the shortcuts will not be kept "
                           "there.";
  ::MessageBoxA(nullptr, text.c_str(), kCatalogueNotKeptTitle, MB_ICONEXCLAMATION | MB_OK | MB_SETFOREGROUND);
}

}  // namespace ol
