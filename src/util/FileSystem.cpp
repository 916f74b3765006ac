#include "util/FileSystem.h"

namespace ol {

namespace {

CFileSystem g_realFileSystem;
CFileSystem* g_fileSystem = &g_realFileSystem;

constexpr ULONGLONG kHeldWaitMs = 2000;  // a scanner or an indexer holds a file for moments
constexpr DWORD kHeldRetryMs = 50;

bool IsHeldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

}  // namespace

HANDLE CFileSystem::Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  return ::CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

bool CFileSystem::Read(HANDLE file, void* buffer, DWORD size, DWORD* done) {
  return ::ReadFile(file, buffer, size, done, nullptr) != FALSE;
}

bool CFileSystem::Write(HANDLE file, const void* bytes, DWORD size, DWORD* done) {
  return ::WriteFile(file, bytes, size, done, nullptr) != FALSE;
}

bool CFileSystem::Flush(HANDLE file) { return ::FlushFileBuffers(file) != FALSE; }

bool CFileSystem::Close(HANDLE file) { return ::CloseHandle(file) != FALSE; }

DWORD CFileSystem::Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

bool CFileSystem::SetAttributes(const std::string& path, DWORD attributes) {
  return ::SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool CFileSystem::CopySecurity(const std::string& from, const std::string& to) {
  DWORD size = 0;
  ::GetFileSecurityA(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<unsigned char> descriptor(size);
  return ::GetFileSecurityA(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) &&
         ::SetFileSecurityA(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

bool CFileSystem::Move(const std::string& from, const std::string& to, DWORD flags) {
  return ::MoveFileExA(from.c_str(), to.c_str(), flags) != FALSE;
}

bool CFileSystem::Delete(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool CFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  return ::CopyFileA(from.c_str(), to.c_str(), failIfExists) != FALSE;
}

bool CFileSystem::List(const std::string& pattern, std::vector<std::string>& names) {
  names.clear();
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (::FindNextFileA(search, &found));
  const bool whole = ::GetLastError() == ERROR_NO_MORE_FILES;
  ::FindClose(search);
  return whole;
}

ULONGLONG CFileSystem::Now() { return ::GetTickCount64(); }

void CFileSystem::Wait(DWORD milliseconds) { ::Sleep(milliseconds); }

bool CFileSystem::Exists(const std::string& path) {
  if (Attributes(path) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = ::GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

CFileSystem& FileSystem() { return *g_fileSystem; }

void SetFileSystemForTesting(CFileSystem* replacement) {
  g_fileSystem = replacement != nullptr ? replacement : &g_realFileSystem;
}

bool RetryWhileHeld(const std::function<bool()>& step) {
  CFileSystem& files = FileSystem();
  const ULONGLONG deadline = files.Now() + kHeldWaitMs;
  for (;;) {
    if (step()) return true;
    const DWORD error = ::GetLastError();
    if (!IsHeldByAnother(error) || files.Now() >= deadline) {
      ::SetLastError(error);
      return false;
    }
    files.Wait(kHeldRetryMs);
  }
}

}  // namespace ol
