#include "framework/DialogText.h"

#include <climits>

namespace ol {

std::optional<int> ParseDialogInteger(std::string_view text) {
  text = text.substr(0, 31);
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  };
  skipBlanks();
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const std::size_t digitsStart = i;
  long long value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    ++i;
  }
  if (i == digitsStart) return std::nullopt;
  skipBlanks();
  if (i != text.size()) return std::nullopt;
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

std::string FormatWithArguments(std::string_view pattern, std::string_view first, std::string_view second) {
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
      text += pattern[i + 1] == '1' ? first : second;
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::string FileDialogFilter(std::string_view barSeparated) {
  std::string filter(barSeparated);
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  // The system's form ends in two zero bytes.
  while (filter.size() < 2 || filter[filter.size() - 1] != '\0' || filter[filter.size() - 2] != '\0') {
    filter += '\0';
  }
  return filter;
}

}  // namespace ol
