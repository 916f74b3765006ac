// Whole-file reads, and writes that never leave a half-written file: the bytes go to a
// temporary file beside the target (the target's name plus ".tmp"), which then takes the old
// file's place in one rename. Every call goes through the file-system seam (FileSystem.h).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace ol {

// The file's bytes, or nothing when it cannot be opened or read. Others may read it meanwhile,
// not write it; a file that another program holds otherwise is waited for a moment.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Copies the file to a new backup beside it, numbered after the highest one present:
// "<path>.bak" when there is none, then "<path>.1.bak", "<path>.2.bak", ... An earlier backup
// is never overwritten, and the highest number is always the newest. The backup's path, or
// nothing when no copy could be made.
std::optional<std::string> CopyToNewBackup(const std::string& path);
// The backup name with that number (0 for "<path>.bak").
std::string BackupPathFor(const std::string& path, unsigned long long number);

// A save that was cut short after its temporary file was complete but before it took the
// target's place leaves the temporary file as the only copy when the target is missing (the
// first save, or a target deleted meanwhile). RestoreLeftoverSave moves it into place.
enum class LeftoverSave { kNone, kRestored, kNotRestored };
LeftoverSave RestoreLeftoverSave(const std::string& path);

class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path) : m_path(std::move(path)), m_tempPath(m_path + ".tmp") {}
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter() { Abandon(); }

  // Creates the temporary file beside the target, taking over one that an interrupted save
  // left, unless that one is the only copy and cannot be put in the target's place; false
  // when the file cannot be made.
  bool Open();
  // Writes and flushes the bytes, gives the temporary file the target's access rules and the
  // attributes a user may have set (hidden, system, not indexed), and renames it over the
  // target. A file that another program holds is waited for, about two seconds at most. On
  // any failure the target is left as it was.
  bool Commit(std::string_view bytes);
  // Closes and removes the temporary file, unless it is the only copy of a complete save.
  void Abandon();

  const std::string& TempPath() const { return m_tempPath; }

 private:
  bool PutInPlace();

  std::string m_path;
  std::string m_tempPath;
  HANDLE m_hFile = INVALID_HANDLE_VALUE;
  bool m_bCreated = false;
  bool m_bComplete = false;
};

}  // namespace ol
