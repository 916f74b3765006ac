#include "support/FaultyFileSystem.h"

#include <climits>

namespace oltest {

const char* FsCallName(FsCall call) {
  static const char* const kNames[] = {"Open",   "Read", "Write",  "Flush", "Close", "Attributes", "SetAttributes",
                                       "CopySecurity", "Move", "Delete", "Copy", "List"};
  return kNames[static_cast<int>(call)];
}

FaultyFileSystem::FaultyFileSystem() { ol::SetFileSystemForTesting(this); }

FaultyFileSystem::~FaultyFileSystem() {
  ol::SetFileSystemForTesting(nullptr);
  for (HANDLE file : m_open) ::CloseHandle(file);
}

void FaultyFileSystem::Fail(FsCall call, int nth, DWORD error, bool persistent) {
  m_plans[static_cast<int>(call)] = {nth, persistent ? INT_MAX : nth, error};
}

void FaultyFileSystem::FailNext(FsCall call, int count, DWORD error) {
  const int done = m_counts[static_cast<int>(call)];
  m_plans[static_cast<int>(call)] = {done + 1, done + count, error};
}

bool FaultyFileSystem::Allowed(FsCall call) {
  const int nth = ++m_counts[static_cast<int>(call)];
  ++m_calls;
  if (Stopped()) {
    ::SetLastError(ERROR_OPERATION_ABORTED);
    return false;
  }
  const Plan& plan = m_plans[static_cast<int>(call)];
  if (plan.first > 0 && nth >= plan.first && nth <= plan.last) {
    ::SetLastError(plan.error);
    return false;
  }
  return true;
}

HANDLE FaultyFileSystem::Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  if (!Allowed(FsCall::Open)) return INVALID_HANDLE_VALUE;
  HANDLE file = CFileSystem::Open(path, access, share, disposition, flags);
  if (file != INVALID_HANDLE_VALUE) m_open.insert(file);
  return file;
}

bool FaultyFileSystem::Read(HANDLE file, void* buffer, DWORD size, DWORD* done) {
  return Allowed(FsCall::Read) && CFileSystem::Read(file, buffer, size, done);
}

bool FaultyFileSystem::Write(HANDLE file, const void* bytes, DWORD size, DWORD* done) {
  return Allowed(FsCall::Write) && CFileSystem::Write(file, bytes, size, done);
}

bool FaultyFileSystem::Flush(HANDLE file) { return Allowed(FsCall::Flush) && CFileSystem::Flush(file); }

bool FaultyFileSystem::Close(HANDLE file) {
  const bool allowed = Allowed(FsCall::Close);
  if (!allowed && Stopped()) return false;  // left open until the end, as by a program that ended
  // A close that fails still lets go of the handle, as Windows does.
  const DWORD error = ::GetLastError();
  m_open.erase(file);
  const bool closed = CFileSystem::Close(file);
  if (!allowed) ::SetLastError(error);
  return allowed && closed;
}

DWORD FaultyFileSystem::Attributes(const std::string& path) {
  return Allowed(FsCall::Attributes) ? CFileSystem::Attributes(path) : INVALID_FILE_ATTRIBUTES;
}

bool FaultyFileSystem::SetAttributes(const std::string& path, DWORD attributes) {
  return Allowed(FsCall::SetAttributes) && CFileSystem::SetAttributes(path, attributes);
}

bool FaultyFileSystem::CopySecurity(const std::string& from, const std::string& to) {
  return Allowed(FsCall::CopySecurity) && CFileSystem::CopySecurity(from, to);
}

bool FaultyFileSystem::Move(const std::string& from, const std::string& to, DWORD flags) {
  return Allowed(FsCall::Move) && CFileSystem::Move(from, to, flags);
}

bool FaultyFileSystem::Delete(const std::string& path) {
  return Allowed(FsCall::Delete) && CFileSystem::Delete(path);
}

bool FaultyFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  return Allowed(FsCall::Copy) && CFileSystem::Copy(from, to, failIfExists);
}

bool FaultyFileSystem::List(const std::string& pattern, std::vector<std::string>& names) {
  return Allowed(FsCall::List) && CFileSystem::List(pattern, names);
}

}  // namespace oltest
