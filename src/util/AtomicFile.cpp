#include "util/AtomicFile.h"

#include <windows.h>

#include <algorithm>

namespace ol {

namespace {
std::optional<std::size_t> g_failAfterBytes;
constexpr DWORD kChunk = 64 * 1024;
constexpr ULONGLONG kShareWaitMs = 2000;  // a scanner or an editor holding the file briefly
constexpr DWORD kShareRetryMs = 100;
constexpr int kMostBackups = 10000;

// Errors that mean another program has the file open for a moment.
bool IsTransientSharingError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Runs `step` until it succeeds, fails for another reason, or the wait is over.
template <typename Step>
bool RetryWhileShared(Step step) {
  const ULONGLONG deadline = ::GetTickCount64() + kShareWaitMs;
  for (;;) {
    if (step()) return true;
    const DWORD error = ::GetLastError();
    if (!IsTransientSharingError(error) || ::GetTickCount64() >= deadline) {
      ::SetLastError(error);
      return false;
    }
    ::Sleep(kShareRetryMs);
  }
}

bool IsPlainFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// True once no other program holds the file in a way that stops it being replaced. Waiting
// here rather than retrying the replace itself: some systems leave a file of their own behind
// at each failed ReplaceFileA.
bool IsFreeToReplace(const std::string& path) {
  HANDLE probe = ::CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(probe);
  return true;
}

// The attributes a user may have given the file, which a replaced file keeps.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Wine's ReplaceFileA is not one step: it moves the old file aside (to an "rf*.tmp" beside
// it), deletes that, and only then moves the new file in, so a program ended in between leaves
// no file at all. There a move over the old file is one rename, and is used instead.
bool RunsUnderWine() {
  static const bool wine = ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  std::optional<std::string> result;
  for (;;) {
    const std::size_t used = bytes.size();
    bytes.resize(used + kChunk);
    DWORD got = 0;
    if (!::ReadFile(file, bytes.data() + used, kChunk, &got, nullptr)) break;
    bytes.resize(used + got);
    if (got == 0) {
      result = std::move(bytes);
      break;
    }
  }
  ::CloseHandle(file);
  return result;
}

std::string BackupPathFor(const std::string& path, int number) {
  return number == 0 ? path + ".bak" : path + "." + std::to_string(number) + ".bak";
}

std::optional<std::string> CopyToNewBackup(const std::string& path) {
  for (int number = 0; number < kMostBackups; ++number) {
    const std::string backup = BackupPathFor(path, number);
    // Failing when the name is taken makes the test and the copy one step.
    if (::CopyFileA(path.c_str(), backup.c_str(), TRUE)) return backup;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

void AtomicFileWriter::FailAfterBytesForTesting(std::optional<std::size_t> bytes) { g_failAfterBytes = bytes; }

bool AtomicFileWriter::Open() {
  Abandon();
  // What an interrupted save left is taken over (a read-only or hidden leftover too).
  ::SetFileAttributesA(m_tempPath.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = ::CreateFileA(m_tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  m_hFile = file;
  m_bCreated = true;
  return true;
}

bool AtomicFileWriter::ReplaceTarget() const {
  if (IsPlainFile(m_path)) {
    const DWORD kept = ::GetFileAttributesA(m_path.c_str()) & kKeptAttributes;
    if (!RetryWhileShared([this] { return IsFreeToReplace(m_path); })) return false;
    if (RunsUnderWine()) {
      // The new file has the attributes before it takes the old one's place.
      if (kept != 0) ::SetFileAttributesA(m_tempPath.c_str(), kept);
    } else if (::ReplaceFileA(m_path.c_str(), m_tempPath.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                              nullptr, nullptr)) {
      // ReplaceFileA keeps them on Windows; where it does not, they are put back.
      const DWORD now = ::GetFileAttributesA(m_path.c_str());
      if (now != INVALID_FILE_ATTRIBUTES && (now & kKeptAttributes) != kept) {
        const DWORD wanted = (now & ~(kKeptAttributes | FILE_ATTRIBUTE_NORMAL)) | kept;
        ::SetFileAttributesA(m_path.c_str(), wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL);
      }
      return true;
    } else if (IsTransientSharingError(::GetLastError()) || !IsPlainFile(m_tempPath)) {
      return false;  // only a file system that cannot replace gets the move; a file held stays held
    }
  }
  return RetryWhileShared([this] {
    return ::MoveFileExA(m_tempPath.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           FALSE;
  });
}

bool AtomicFileWriter::Commit(std::string_view bytes) {
  if (m_hFile == nullptr) return false;
  HANDLE file = static_cast<HANDLE>(m_hFile);
  bool ok = true;
  std::size_t written = 0;
  while (ok && written < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - written));
    if (g_failAfterBytes && written + chunk > *g_failAfterBytes) {
      ok = false;  // simulated full disk
      break;
    }
    DWORD done = 0;
    ok = ::WriteFile(file, bytes.data() + written, chunk, &done, nullptr) && done == chunk;
    written += done;
  }
  ok = ok && ::FlushFileBuffers(file);
  ok = ::CloseHandle(file) && ok;
  m_hFile = nullptr;
  ok = ok && ReplaceTarget();
  if (ok) {
    m_bCreated = false;  // the temporary file is the target now
  } else {
    Abandon();
  }
  return ok;
}

void AtomicFileWriter::Abandon() {
  if (m_hFile != nullptr) {
    ::CloseHandle(static_cast<HANDLE>(m_hFile));
    m_hFile = nullptr;
  }
  if (m_bCreated) {
    ::DeleteFileA(m_tempPath.c_str());
    m_bCreated = false;
  }
}

}  // namespace ol
