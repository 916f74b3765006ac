#include "controls/HyperLinkText.h"

#include <array>
#include <utility>

#include "util/Utf8.h"

namespace ol {

namespace {

constexpr std::string_view kOpenCommandSuffix = "\\shell\\open\\command";

// Fits a buffer of `characters` characters together with its terminating zero. The text is
// counted as the UTF-8 it is where Windows gives the program that code page; text in a legacy
// code page is seldom well-formed UTF-8, and then counts a character for each byte, as ever.
bool Fits(std::string_view text, std::size_t characters) { return Utf16LengthOfUtf8(text) < characters; }

}  // namespace

LinkColor ChooseLinkColor(bool hover, bool active, bool visited, std::uint32_t style) {
  if (hover && (style & kLinkHoverColor)) return LinkColor::Hover;
  if (active && !(style & kLinkNoActiveColor)) return LinkColor::Active;
  if (visited) return LinkColor::Visited;
  return LinkColor::Link;
}

LinkBox FitLinkBox(LinkBox box, int textWidth, int textHeight, LinkAlignment horizontal, bool centerVertically) {
  if (centerVertically) {
    const int inset = ((box.bottom - box.top) - textHeight) / 2;  // truncates toward zero
    box.top += inset;
    box.bottom -= inset;
  } else {
    box.bottom = box.top + textHeight;
  }
  switch (horizontal) {
    case LinkAlignment::Center: {
      const int inset = ((box.right - box.left) - textWidth) / 2;
      box.left += inset;
      box.right -= inset;
      break;
    }
    case LinkAlignment::Right:
      box.left = box.right - textWidth;
      break;
    case LinkAlignment::Left:
      box.right = box.left + textWidth;
      break;
  }
  return box;
}

std::optional<std::string> OpenCommandKeyPath(std::string_view className) {
  std::string path(className);
  path += kOpenCommandSuffix;
  if (!Fits(path, kFallbackCommandCharacters)) return std::nullopt;
  return path;
}

std::optional<std::string> FallbackCommandLine(std::string_view registeredCommand, std::string_view address) {
  std::size_t cut = registeredCommand.find("\"%1\"");
  if (cut == std::string_view::npos) cut = registeredCommand.find("%1");
  std::string command(registeredCommand.substr(0, cut));
  command += ' ';
  command += address;
  if (!Fits(command, kFallbackCommandCharacters)) return std::nullopt;
  return command;
}

std::string ShellErrorText(int code) {
  static constexpr std::array<std::pair<int, const char*>, 13> kTexts = {{
      {0, "The operating system is out\nof memory or resources."},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {5, "The operating system denied\naccess to the specified file."},
      {8, "There was not enough memory to complete the operation."},
      {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
      {26, "A sharing violation occurred. "},
      {27, "The filename association is\nincomplete or invalid."},
      {28, "The DDE transaction could not\nbe completed because the request timed out."},
      {29, "The DDE transaction failed."},
      {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
      {31, "There is no application associated\nwith the given filename extension."},
      {32, "The specified dynamic-link library was not found."},
  }};
  for (const auto& [known, text] : kTexts) {
    if (known == code) return text;
  }
  return "Unknown Error (" + std::to_string(code) + ") occurred.";
}

std::string LinkOpenErrorMessage(int code) { return "Can't open link:\n\n" + ShellErrorText(code); }

}  // namespace ol
