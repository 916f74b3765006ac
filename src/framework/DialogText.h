// Text rules of the dialog framework that need no window: reading an integer from an edit
// field, filling in a message's %1 and %2, and turning a "a|b||" filter into the system's form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ol {

// A decimal integer with optional blanks or tabs around it and an optional sign; at most the
// first 31 characters are read. Nothing when the text is not such a number or does not fit.
std::optional<int> ParseDialogInteger(std::string_view text);

// Puts `first` for "%1" and `second` for "%2".
std::string FormatWithArguments(std::string_view pattern, std::string_view first, std::string_view second);

// "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||" with every "|" as a zero byte.
std::string FileDialogFilter(std::string_view barSeparated);

}  // namespace ol
