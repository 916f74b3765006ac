#include "catalogue/DataFileFormat.h"

#include <optional>

#include "util/Utf8.h"

namespace ol {

const std::array<std::string_view, 8> kDataFileHeader = {
    "/*************************************************/",
    "/*                                               */",
    "/* WARNING: Editing this file could prevent Orbels */",
    "/* Launch from working correctly and should only */",
    "/* be performed if you know exactly what you are */",
    "/* doing!                                        */",
    "/*                                               */",
    "/*************************************************/",
};

namespace {

constexpr std::string_view kName = "SC_NAME=";
constexpr std::string_view kType = "SC_TYPE=";
constexpr std::string_view kPath = "SC_PATH=";
constexpr std::string_view kCommandLine = "SC_CMLN=";
constexpr std::string_view kLineEnd = "\r\n";

bool StartsWith(std::string_view line, std::string_view key) { return line.substr(0, key.size()) == key; }

}  // namespace

void ParseDataFile(std::string_view bytes, const std::function<void(CShortcut&&)>& onRecord) {
  std::optional<CShortcut> current;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(pos, end - pos);
    if (end < bytes.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = next;

    if (StartsWith(line, "/*")) continue;
    if (StartsWith(line, kName)) {
      current.emplace();
      current->m_strName = line.substr(kName.size());
    } else if (!current) {
      continue;  // a value line before any name has no record to belong to
    } else if (StartsWith(line, kType)) {
      current->m_strType = line.substr(kType.size());
    } else if (StartsWith(line, kPath)) {
      current->m_strTarget = line.substr(kPath.size());
    } else if (StartsWith(line, kCommandLine)) {
      current->m_strCommandLine = line.substr(kCommandLine.size());
      onRecord(std::move(*current));
      current.reset();
    }
  }
}

DataFileCoding ChooseDataFileCoding(std::string_view bytes, bool programUsesUtf8) {
  return programUsesUtf8 && !IsValidUtf8(bytes) ? DataFileCoding::FromLegacyCodePage : DataFileCoding::AsStored;
}

std::string FormatDataFile(int count, const std::function<const CShortcut&(int)>& recordAt) {
  std::string text;
  for (std::string_view line : kDataFileHeader) {
    text += line;
    text += kLineEnd;
  }
  for (int i = 0; i < count; ++i) {
    const CShortcut& record = recordAt(i);
    for (auto [key, value] : {std::pair{kName, &record.m_strName}, std::pair{kType, &record.m_strType},
                              std::pair{kPath, &record.m_strTarget},
                              std::pair{kCommandLine, &record.m_strCommandLine}}) {
      text += key;
      text += *value;
      text += kLineEnd;
    }
  }
  return text;
}

}  // namespace ol
