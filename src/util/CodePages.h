// The program's 8-bit text is in its code page: UTF-8 where Windows gives the program that code
// page (Windows 10 version 1903 and later, through the manifest), the system's legacy code page
// elsewhere. These move text between it, UTF-16 and the system's legacy code page.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ol {

// True when the program runs with the UTF-8 code page.
bool ProgramUsesUtf8();

// The system's legacy ANSI code page: the one that programs without the UTF-8 setting use, and
// so the one an earlier version of the launcher wrote its data file in (1252 on English and
// Western European systems, 1251 on Cyrillic ones, 932 on Japanese ones).
UINT SystemLegacyCodePage();

// Text in code page `from` re-encoded in code page `to`. Bytes that are no character of `from`
// become the replacement character rather than failing the whole text.
std::string ConvertCodePage(std::string_view text, UINT from, UINT to);

// The program's text as UTF-16, and back (into `codePage`, the program's by default).
// Characters the code page cannot hold become "?", never a look-alike ("Ł" as "L") that would
// spell another name; only a legacy code page lacks any, UTF-8 holds them all.
std::wstring WidenText(std::string_view text);
std::string NarrowText(std::wstring_view text, UINT codePage = CP_ACP);
// The same, or nothing when the code page cannot hold every character: for a path, which
// changed in any way names another file or none.
std::optional<std::string> NarrowTextExactly(std::wstring_view text, UINT codePage = CP_ACP);

// The text's length in UTF-16 units, as Windows counts the characters of a path (MAX_PATH).
std::size_t TextLengthInCharacters(std::string_view text);

}  // namespace ol
