// Where the games' installers say the games are: read-only registry entries under
// HKEY_LOCAL_MACHINE, read anew on every call.
#pragma once

#include <string>

namespace ol {

// The first game's root installation folder, exactly as stored ("" when not installed).
std::string AutoLocateGame();
// The second game's installation folder, with one trailing backslash removed.
std::string AutoLocateGameTwo();

// A text value of at most 259 characters under HKEY_LOCAL_MACHINE, from the 32-bit registry
// view, else from the 64-bit one; "" when neither has the key and the value as plain text
// (REG_SZ) that fits.
std::string ReadInstallerValue(const char* keyPath, const char* valueName);

}  // namespace ol
