// Feeds arbitrary bytes to the data-file reader, the icon cache's reader and the reader of a
// program file's icons. Every record it hands out must be complete and its own copy; writing
// the records and reading them back must give the same records.
// The UTF-8 test that decides whether the file needs converting must agree with itself when
// the bytes are cut in two at a character's start, and count no more characters than bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/DataFileFormat.h"
#include "catalogue/IconCache.h"
#include "catalogue/ProgramFileIcons.h"
#include "util/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::size_t cut = size / 2;
  while (cut > 0 && (data[cut] & 0xC0) == 0x80) --cut;  // back to a character's first byte
  const bool halvesValid = ol::IsValidUtf8(bytes.substr(0, cut)) && ol::IsValidUtf8(bytes.substr(cut));
  if (ol::IsValidUtf8(bytes) != halvesValid) std::abort();
  if ((ol::ChooseDataFileCoding(bytes, true) == ol::DataFileCoding::AsStored) != ol::IsValidUtf8(bytes)) std::abort();
  if (ol::Utf16LengthOfUtf8(bytes) > size) std::abort();
  std::vector<ol::CShortcut> records;
  ol::ParseDataFile(bytes, [&records](ol::CShortcut&& record) { records.push_back(std::move(record)); });

  // A record's texts never contain a line feed: lines are split there.
  for (const ol::CShortcut& record : records) {
    for (const std::string* text : {&record.m_strName, &record.m_strType, &record.m_strTarget,
                                    &record.m_strCommandLine}) {
      if (text->find('\n') != std::string::npos) std::abort();
    }
  }

  const auto at = [&records](int i) -> const ol::CShortcut& { return records[static_cast<std::size_t>(i)]; };
  const std::string written = ol::FormatDataFile(static_cast<int>(records.size()), at);
  std::vector<ol::CShortcut> again;
  ol::ParseDataFile(written, [&again](ol::CShortcut&& record) { again.push_back(std::move(record)); });
  if (again.size() != records.size()) std::abort();
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (again[i].m_strName != records[i].m_strName || again[i].m_strType != records[i].m_strType ||
        again[i].m_strTarget != records[i].m_strTarget || again[i].m_strCommandLine != records[i].m_strCommandLine) {
      std::abort();
    }
  }

  // A program file's icons: any bytes are read or refused, never a crash or a read outside them.
  const auto within = [&bytes](std::uint64_t offset, std::size_t count, void* into) {
    if (offset > bytes.size() || count > bytes.size() - offset) return false;
    std::memcpy(into, bytes.data() + offset, count);
    return true;
  };
  ol::ReadProgramFileIcons(within, {32, 16});

  // The icon cache: any bytes are read or refused, never a crash or a huge allocation.
  // Pictures of one pixel keep whole caches within the fuzzer's reach.
  for (const ol::IconSizes sizes : {ol::IconSizes{1, 1}, ol::IconSizes{32, 16}}) {
    ol::CIconCache cache(sizes);
    cache.Read(bytes);
  }
  return 0;
}
