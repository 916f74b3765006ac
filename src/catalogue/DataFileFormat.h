// The text of LaunchData.olf: an eight-line comment header, then four lines per shortcut
// ("SC_NAME=", "SC_TYPE=", "SC_PATH=", "SC_CMLN="), every line ending in CR LF. Portable:
// the reader and the writer work on bytes, the Windows side does the file handling.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "catalogue/Shortcut.h"

namespace ol {

inline constexpr std::string_view kDataFileName = "LaunchData.olf";

extern const std::array<std::string_view, 8> kDataFileHeader;

// Reads the file's bytes line by line. A line ends at LF; a CR right before the LF belongs to
// the line end, any other CR is text. A final line without a line end still counts.
// `onRecord` receives each record once its "SC_CMLN=" line has been read, in file order,
// with the icon index left at 0. Comment lines ("/*"), blank, unknown and misspelt lines are
// skipped; "SC_TYPE=", "SC_PATH=" and "SC_CMLN=" lines outside a record are ignored.
void ParseDataFile(std::string_view bytes, const std::function<void(CShortcut&&)>& onRecord);

// How the file's bytes become the program's text. A file that is valid UTF-8 (every ASCII file
// is) is taken as it is. Any other file was written by an earlier version in the legacy code
// page: a program that runs with the UTF-8 code page converts it from the system's legacy code
// page; one that runs in the legacy code page takes it as it is, as that version did.
enum class DataFileCoding { AsStored, FromLegacyCodePage };
DataFileCoding ChooseDataFileCoding(std::string_view bytes, bool programUsesUtf8);

// The file's bytes for `count` records in the order given.
std::string FormatDataFile(int count, const std::function<const CShortcut&(int)>& recordAt);

}  // namespace ol
