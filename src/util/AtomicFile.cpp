#include "util/AtomicFile.h"

#include <algorithm>
#include <vector>

#include "util/FileSystem.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

constexpr DWORD kChunk = 64 * 1024;

// While it is being written the temporary file is read-only, a mark that stays if the save is
// cut short; the mark goes only once every byte is flushed. So a temporary file without it is
// a complete save, and one with it is never taken for the catalogue. Read-only is not among
// the attributes a new file keeps, so the mark means only this.
constexpr DWORD kIncompleteMark = FILE_ATTRIBUTE_READONLY;

// The attributes a user may have given the data file, which the file that replaces it keeps.
// Archive is not among them: the new file is new content, for backup programs too.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsPlainFile(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Upper(std::string text) {
  if (!text.empty()) ::CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// The number of a backup of `dataName` called `name` (file names, letter case aside), or
// nothing when it is not one: "<data>.bak" is 0, "<data>.<n>.bak" is n.
std::optional<unsigned long long> BackupNumber(const std::string& dataName, const std::string& name) {
  const std::string data = Upper(dataName), candidate = Upper(name);
  if (candidate == data + ".BAK") return 0;
  const std::size_t first = data.size() + 1;
  if (candidate.size() <= first + 4 || candidate.compare(0, first, data + ".") != 0 ||
      candidate.compare(candidate.size() - 4, 4, ".BAK") != 0) {
    return std::nullopt;
  }
  const std::string digits = candidate.substr(first, candidate.size() - 4 - first);
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  if (digits.size() > 18 || digits[0] == '0' || !std::all_of(digits.begin(), digits.end(), isDigit)) {
    return std::nullopt;
  }
  return std::stoull(digits);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  CFileSystem& files = FileSystem();
  HANDLE file = INVALID_HANDLE_VALUE;
  // Read sharing, so that a backup program or a sync client reading it does not stop the load;
  // the lock file keeps other copies of the launcher, its writers, out.
  if (!RetryWhileHeld([&] {
        file = files.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        return file != INVALID_HANDLE_VALUE;
      })) {
    return std::nullopt;
  }
  std::string bytes;
  std::optional<std::string> result;
  for (;;) {
    const std::size_t used = bytes.size();
    bytes.resize(used + kChunk);
    DWORD got = 0;
    if (!files.Read(file, bytes.data() + used, kChunk, &got)) break;
    bytes.resize(used + got);
    if (got == 0) {
      result = std::move(bytes);
      break;
    }
  }
  files.Close(file);
  return result;
}

std::string BackupPathFor(const std::string& path, unsigned long long number) {
  return number == 0 ? path + ".bak" : path + "." + std::to_string(number) + ".bak";
}

std::optional<std::string> CopyToNewBackup(const std::string& path) {
  CFileSystem& files = FileSystem();
  std::vector<std::string> names;
  if (!files.List(path + "*.bak", names)) return std::nullopt;
  const std::string dataName = GetFileNamePart(path);
  std::optional<unsigned long long> highest;
  for (const std::string& name : names) {
    if (const auto number = BackupNumber(dataName, name)) highest = std::max(highest.value_or(0), *number);
  }
  unsigned long long number = highest ? *highest + 1 : 0;
  // Failing when the name is taken (by a backup made meanwhile) makes the test and the copy
  // one step.
  for (int attempt = 0; attempt < 100; ++attempt, ++number) {
    const std::string backup = BackupPathFor(path, number);
    if (RetryWhileHeld([&] { return files.Copy(path, backup, true); })) return backup;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

LeftoverSave RestoreLeftoverSave(const std::string& path) {
  CFileSystem& files = FileSystem();
  if (files.Exists(path)) return LeftoverSave::kNone;
  const std::string tempPath = path + ".tmp";
  const DWORD attributes = files.Attributes(tempPath);
  if (!IsPlainFile(attributes) || (attributes & kIncompleteMark)) return LeftoverSave::kNone;
  // No replacing: should the target appear meanwhile, it is the newer file.
  return RetryWhileHeld([&] { return files.Move(tempPath, path, MOVEFILE_WRITE_THROUGH); })
             ? LeftoverSave::kRestored
             : LeftoverSave::kNotRestored;
}

bool AtomicFileWriter::Open() {
  Abandon();
  if (RestoreLeftoverSave(m_path) == LeftoverSave::kNotRestored) return false;
  CFileSystem& files = FileSystem();
  // What an interrupted save left is taken over, its read-only mark included.
  files.SetAttributes(m_tempPath, FILE_ATTRIBUTE_NORMAL);
  HANDLE file = INVALID_HANDLE_VALUE;
  if (!RetryWhileHeld([&] {
        file = files.Open(m_tempPath, GENERIC_WRITE, 0, CREATE_ALWAYS, kIncompleteMark);
        return file != INVALID_HANDLE_VALUE;
      })) {
    return false;
  }
  m_hFile = file;
  m_bCreated = true;
  m_bComplete = false;
  return true;
}

bool AtomicFileWriter::PutInPlace() {
  CFileSystem& files = FileSystem();
  const DWORD old = files.Attributes(m_path);
  // Rules a user set on the old file stay (the new one has its folder's otherwise); a file
  // system without access rules has none to keep.
  if (IsPlainFile(old)) files.CopySecurity(m_path, m_tempPath);
  const DWORD kept = (IsPlainFile(old) ? old & kKeptAttributes : 0) | FILE_ATTRIBUTE_ARCHIVE;
  if (!RetryWhileHeld([&] { return files.SetAttributes(m_tempPath, kept); })) return false;
  m_bComplete = true;
  // One rename, on Windows and Wine alike: at every moment the target is the old file or
  // the new one.
  return RetryWhileHeld([&] {
    return files.Move(m_tempPath, m_path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  });
}

bool AtomicFileWriter::Commit(std::string_view bytes) {
  if (m_hFile == INVALID_HANDLE_VALUE) return false;
  CFileSystem& files = FileSystem();
  bool ok = true;
  for (std::size_t written = 0; ok && written < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - written));
    DWORD done = 0;
    ok = files.Write(m_hFile, bytes.data() + written, chunk, &done) && done == chunk;
    written += done;
  }
  ok = ok && files.Flush(m_hFile);
  ok = files.Close(m_hFile) && ok;
  m_hFile = INVALID_HANDLE_VALUE;
  ok = ok && PutInPlace();
  if (ok) {
    m_bCreated = false;  // the temporary file is the target now
  } else {
    Abandon();
  }
  return ok;
}

void AtomicFileWriter::Abandon() {
  CFileSystem& files = FileSystem();
  if (m_hFile != INVALID_HANDLE_VALUE) {
    files.Close(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
  }
  if (!m_bCreated) return;
  m_bCreated = false;
  // A complete save whose target is missing is the catalogue's only copy: it stays, and the
  // next start puts it in place.
  if (m_bComplete && files.Attributes(m_path) == INVALID_FILE_ATTRIBUTES) return;
  files.SetAttributes(m_tempPath, FILE_ATTRIBUTE_NORMAL);
  files.Delete(m_tempPath);
}

}  // namespace ol
