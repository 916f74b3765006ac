// Whole-file reads, and writes that never leave a half-written file: the bytes go to a
// temporary file beside the target (the target's name plus ".tmp"), which then replaces the
// old file in one step.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ol {

// The file's bytes, or nothing when it cannot be opened or read. No sharing is granted to
// others while it is open.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Copies the file to the first of "<path>.bak", "<path>.1.bak", "<path>.2.bak", ... that does
// not exist yet: an earlier backup is never overwritten. The backup's path, or nothing when
// no copy could be made.
std::optional<std::string> CopyToNewBackup(const std::string& path);
// The backup name with that number (0 for "<path>.bak").
std::string BackupPathFor(const std::string& path, int number);

class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path) : m_path(std::move(path)), m_tempPath(m_path + ".tmp") {}
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter() { Abandon(); }

  // Creates the temporary file beside the target, in place of any that an interrupted save
  // left; false when that is impossible.
  bool Open();
  // Writes the bytes, flushes them and replaces the target: ReplaceFileA where the target
  // exists (it keeps the old file's attributes and security), else, and under Wine, where
  // ReplaceFileA is not one step, a move over it. A target that another program holds open
  // is waited for, about two seconds at most. On any failure the target is left as it was
  // and the temporary file is removed.
  bool Commit(std::string_view bytes);
  void Abandon();

  const std::string& TempPath() const { return m_tempPath; }

  // For tests: make the next writers fail after this many bytes have been written.
  static void FailAfterBytesForTesting(std::optional<std::size_t> bytes);

 private:
  bool ReplaceTarget() const;

  std::string m_path;
  std::string m_tempPath;
  void* m_hFile = nullptr;
  bool m_bCreated = false;
};

}  // namespace ol
