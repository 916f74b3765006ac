// UTF-8, the launcher's 8-bit text wherever Windows gives the program that code page.
// Portable.
#pragma once

#include <cstddef>
#include <string_view>

namespace ol {

// The most bytes one character takes. A text copied into a fixed buffer in the program's code
// page may stop up to this many bytes short of the end without being whole: Windows cuts it
// before a character that does not fit, never inside one.
inline constexpr std::size_t kLongestCharacterBytes = 4;

// True when the bytes are well-formed UTF-8: no stray continuation byte, no cut sequence, no
// overlong form, no surrogate, nothing above U+10FFFF. Every ASCII text is.
bool IsValidUtf8(std::string_view bytes);

// The text's length in UTF-16 units, as Windows counts a path's characters: one for each
// character up to U+FFFF, two for one beyond (an emoji), one for each byte that is not part
// of a well-formed character.
std::size_t Utf16LengthOfUtf8(std::string_view text);

}  // namespace ol
