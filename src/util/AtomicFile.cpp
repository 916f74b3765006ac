#include "util/AtomicFile.h"

#include <windows.h>

#include <algorithm>

#include "util/SystemUtil.h"

namespace ol {

namespace {
std::optional<std::size_t> g_failAfterBytes;
constexpr DWORD kChunk = 64 * 1024;
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

void AtomicFileWriter::FailAfterBytesForTesting(std::optional<std::size_t> bytes) { g_failAfterBytes = bytes; }

bool AtomicFileWriter::Open() {
  Abandon();
  std::string directory = GetDirectoryPart(m_path);
  if (directory.empty()) directory = ".";
  char temp[MAX_PATH + 1] = {};
  if (directory.size() > MAX_PATH - 14 || !::GetTempFileNameA(directory.c_str(), "olf", 0, temp)) return false;
  m_tempPath = temp;
  HANDLE file = ::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ::DeleteFileA(temp);
    m_tempPath.clear();
    return false;
  }
  m_hFile = file;
  return true;
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
  ok = ok && ::MoveFileExA(m_tempPath.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) ::DeleteFileA(m_tempPath.c_str());
  m_tempPath.clear();
  return ok;
}

void AtomicFileWriter::Abandon() {
  if (m_hFile != nullptr) {
    ::CloseHandle(static_cast<HANDLE>(m_hFile));
    m_hFile = nullptr;
  }
  if (!m_tempPath.empty()) {
    ::DeleteFileA(m_tempPath.c_str());
    m_tempPath.clear();
  }
}

}  // namespace ol
