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

// The file's bytes for `count` records in the order given.
std::string FormatDataFile(int count, const std::function<const CShortcut&(int)>& recordAt);

}  // namespace ol
