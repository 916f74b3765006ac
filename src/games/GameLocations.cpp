#include "games/GameLocations.h"

#include <windows.h>

#include <optional>

#include "util/PathText.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

// The value from one registry view; nothing when the key or the value is missing, is not
// plain text (REG_SZ), or does not fit a path's 260 characters with its terminator (260 bytes
// in a single-byte code page, as ever; a name in another script takes more bytes in UTF-8).
std::optional<std::string> ReadInstallerValueFromView(const char* keyPath, const char* valueName, REGSAM view) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::string text;
  DWORD type = 0;
  const LONG status = QueryRegistryText(key, valueName, kPathCharacters, text, type);
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return text;
}

}  // namespace

std::string ReadInstallerValue(const char* keyPath, const char* valueName) {
  // The games' installers are 32-bit programs: on 64-bit Windows their entries are in the
  // 32-bit view. Entries in the 64-bit view count where the 32-bit one has none.
  for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    if (std::optional<std::string> value = ReadInstallerValueFromView(keyPath, valueName, view)) return *value;
  }
  return std::string();
}

std::string AutoLocateGame() { return ReadInstallerValue("Software\\Quarrow\\The Orbels", "ORBELS_DATA"); }

std::string AutoLocateGameTwo() {
  return WithoutTrailingBackslash(ReadInstallerValue("Software\\VORN GAMES\\The Orbels 2", "Install Dir"),
                                  IsAnsiLeadByte);
}

}  // namespace ol
