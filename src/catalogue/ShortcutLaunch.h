// Launching one shortcut: a program is started as a process, anything else is opened through
// the shell. A program whose target gave no icon is refused.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "catalogue/Shortcut.h"

namespace ol {

inline constexpr std::string_view kInvalidShortcutTargetTitle = "Invalid Shortcut Target";
inline constexpr std::string_view kInvalidShortcutTargetText =
    "The shortcut you are trying to launch seems to have\na corrupt target path. Orbels Launch could not find a\n"
    "valid program icon to display, and that is the most\ncommon indication of an invalid path.\n\n"
    "This can be corrected by changing the executable\nlocation in the shortcut properties dialog.";

// `target` is where the shortcut's target is on this computer (its stored target, or the same
// path on the launcher's own drive); `owner` owns the refusal's message box.
void LaunchShortcut(const CShortcut& shortcut, const std::string& target, HWND owner);

// For tests: what the shell is asked to open instead of opening it.
void SetShellOpenForTesting(std::function<void(const std::string& target)> open);

}  // namespace ol
