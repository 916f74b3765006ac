// Whole-file reads, and writes that never leave a half-written file: the bytes go to a
// temporary file in the same directory, which then replaces the old file in one step.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ol {

// The file's bytes, or nothing when it cannot be opened or read. No sharing is granted to
// others while it is open.
std::optional<std::string> ReadWholeFile(const std::string& path);

class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path) : m_path(std::move(path)) {}
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter() { Abandon(); }

  // Creates the temporary file beside the target; false when that is impossible.
  bool Open();
  // Writes the bytes, flushes them and replaces the target. On any failure the target is
  // left as it was and the temporary file is removed.
  bool Commit(std::string_view bytes);
  void Abandon();

  // For tests: make the next writers fail after this many bytes have been written.
  static void FailAfterBytesForTesting(std::optional<std::size_t> bytes);

 private:
  std::string m_path;
  std::string m_tempPath;
  void* m_hFile = nullptr;
};

}  // namespace ol
