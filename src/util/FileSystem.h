// The file-system calls behind the catalogue's file, its backups and its lock, in one place:
// the real ones call Windows, and a test can put its own in their stead, to answer any call
// with any error Windows documents for it, or to stop a save at any of its steps. Each call
// leaves its error for GetLastError, as the Windows call does.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ol {

class CFileSystem {
 public:
  virtual ~CFileSystem() = default;

  // CreateFileA, without security attributes or template.
  virtual HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
  virtual bool Read(HANDLE file, void* buffer, DWORD size, DWORD* done);
  virtual bool Write(HANDLE file, const void* bytes, DWORD size, DWORD* done);
  virtual bool Flush(HANDLE file);
  virtual bool Close(HANDLE file);
  virtual DWORD Attributes(const std::string& path);
  virtual bool SetAttributes(const std::string& path, DWORD attributes);
  // Gives `to` the access rules (the DACL) of `from`.
  virtual bool CopySecurity(const std::string& from, const std::string& to);
  // MoveFileExA.
  virtual bool Move(const std::string& from, const std::string& to, DWORD flags);
  virtual bool Delete(const std::string& path);
  virtual bool Copy(const std::string& from, const std::string& to, bool failIfExists);
  // The names of the files that match `pattern` (a path whose last part may hold wildcards);
  // false when the folder cannot be listed. No match is an empty list.
  virtual bool List(const std::string& pattern, std::vector<std::string>& names);
  // The clock and the pause of the waits for files that others hold.
  virtual ULONGLONG Now();
  virtual void Wait(DWORD milliseconds);

  // True unless the file, or its folder, is reported as not found.
  bool Exists(const std::string& path);
};

// The file system the program uses.
CFileSystem& FileSystem();
// For tests: `replacement` answers every call until nullptr puts the real one back.
void SetFileSystemForTesting(CFileSystem* replacement);

// Runs `step` until it succeeds, fails for a reason other than another program holding the
// file (sharing or lock violation, access denied: a scanner, an indexer, a backup program),
// or about two seconds have passed. The last error is kept for the caller.
bool RetryWhileHeld(const std::function<bool()>& step);

}  // namespace ol
