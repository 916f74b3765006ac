#include "util/ErrorText.h"

#include <cstdio>

namespace ol {

std::string UnknownErrorCodeText(std::uint32_t code) {
  char text[64];
  std::snprintf(text, sizeof text, "Unknown Error Code: 0x%08X (%d)", static_cast<unsigned>(code),
                static_cast<int>(code & 0xFFFFu));
  return text;
}

std::string StartFailureText(std::string_view program, std::string_view systemText) {
  std::string text = "Orbels Launch could not start the program\n";
  text += program;
  text += "\n\n";
  text += systemText;
  return text;
}

}  // namespace ol
