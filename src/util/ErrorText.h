// Texts for system error codes that the system itself cannot describe, and for a program
// that could not be started. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ol {

// "Unknown Error Code: 0x%08X (%d)": the whole code in hexadecimal, its low 16 bits in decimal.
std::string UnknownErrorCodeText(std::uint32_t code);

inline constexpr std::string_view kStartFailureTitle = "Program Start Error";
// The message shown when a program or game cannot be started.
std::string StartFailureText(std::string_view program, std::string_view systemText);

}  // namespace ol
