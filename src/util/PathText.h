// Directory and file-name parts of paths, and small text helpers.
// Portable: the ANSI code page's lead-byte test is passed in, so that the second byte of a
// double-byte character is never taken for a backslash.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ol {

// True when the byte starts a double-byte character in the code page in use.
using LeadByteTest = bool (*)(unsigned char);

// A single-byte code page: no byte is a lead byte.
bool NoLeadBytes(unsigned char);
// Japanese Shift-JIS (code page 932): lead bytes 0x81-0x9F and 0xE0-0xFC.
bool IsLeadByteCp932(unsigned char c);

// Position of the last backslash that is a character of its own, or npos.
std::size_t FindLastBackslash(std::string_view text, LeadByteTest isLeadByte);

// Everything before the last backslash; empty text when there is none.
std::string DirectoryPartOf(std::string_view path, LeadByteTest isLeadByte);

// Everything after the last backslash; the whole text when there is none.
std::string FileNamePartOf(std::string_view path, LeadByteTest isLeadByte);

// A file name cut before its last "." (the whole name when it has none).
std::string FileTitleOf(std::string_view fileName);

// The text with one trailing backslash removed, when its last character is a backslash.
std::string WithoutTrailingBackslash(std::string_view text, LeadByteTest isLeadByte);

// Decimal digits of the value, "-" in front when negative, no grouping.
std::string CountText(std::int32_t value);

// Blanks, tabs and line ends removed from both ends / from the end only.
std::string TrimWhitespace(std::string_view text);
std::string TrimTrailingWhitespace(std::string_view text);

// True when the path ends in `dotExtension` (".lnk"), whatever the letter case.
bool HasExtension(std::string_view path, std::string_view dotExtension);

// Where a stored path is found on this computer, for a launcher carried on a removable drive
// that Windows gives another letter on every computer: a path on drive X ("X:\\rest") that is
// not there, while the launcher runs from drive L and "L:\\rest" is, is found on L. Any other
// path (one that is there, on the launcher's own drive, a network or relative path) is found
// where it is stored. `exists` is asked first for the stored path.
std::string WhereOnThisComputer(const std::string& stored, char launcherDrive,
                                const std::function<bool(const std::string&)>& exists);
// True when the path is on a drive other than the launcher's, and so may be found there.
bool OnAnotherDrive(std::string_view stored, char launcherDrive);

// ASCII letters in lower case; every other byte unchanged.
std::string ToLowerAscii(std::string_view text);

}  // namespace ol
