#include "util/PathText.h"

namespace ol {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
}  // namespace

bool NoLeadBytes(unsigned char) { return false; }

bool IsLeadByteCp932(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::size_t FindLastBackslash(std::string_view text, LeadByteTest isLeadByte) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\\') {
      found = i;
    } else if (isLeadByte(c) && i + 1 < text.size()) {
      ++i;  // the trail byte belongs to this character
    }
  }
  return found;
}

std::string DirectoryPartOf(std::string_view path, LeadByteTest isLeadByte) {
  const std::size_t pos = FindLastBackslash(path, isLeadByte);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos));
}

std::string FileNamePartOf(std::string_view path, LeadByteTest isLeadByte) {
  const std::size_t pos = FindLastBackslash(path, isLeadByte);
  return pos == std::string_view::npos ? std::string(path) : std::string(path.substr(pos + 1));
}

std::string FileTitleOf(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

std::string WithoutTrailingBackslash(std::string_view text, LeadByteTest isLeadByte) {
  const std::size_t pos = FindLastBackslash(text, isLeadByte);
  if (pos != std::string_view::npos && pos + 1 == text.size()) return std::string(text.substr(0, pos));
  return std::string(text);
}

std::string CountText(std::int32_t value) { return std::to_string(value); }

std::string TrimWhitespace(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string TrimTrailingWhitespace(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

bool HasExtension(std::string_view path, std::string_view dotExtension) {
  return path.size() >= dotExtension.size() &&
         ToLowerAscii(path.substr(path.size() - dotExtension.size())) == ToLowerAscii(dotExtension);
}

std::string ToLowerAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

bool OnAnotherDrive(std::string_view stored, char launcherDrive) {
  const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return stored.size() > 3 && letter(stored[0]) && stored[1] == ':' && stored[2] == '\\' && letter(launcherDrive) &&
         upper(stored[0]) != upper(launcherDrive);
}

std::string WhereOnThisComputer(const std::string& stored, char launcherDrive,
                                const std::function<bool(const std::string&)>& exists) {
  if (exists(stored) || !OnAnotherDrive(stored, launcherDrive)) return stored;
  std::string moved = stored;
  moved[0] = launcherDrive;
  return exists(moved) ? moved : stored;
}

}  // namespace ol
