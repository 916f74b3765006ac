#include "games/GameLocations.h"

#include <windows.h>

#include <cstring>

#include "util/PathText.h"
#include "util/SystemUtil.h"

namespace ol {

std::string ReadInstallerValue(const char* keyPath, const char* valueName) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::string();
  char buffer[260] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  const LONG status = ::RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string();
  // The text ends at its terminating zero, or at the end of the data when it has none.
  return std::string(buffer, strnlen(buffer, size));
}

std::string AutoLocateGame() { return ReadInstallerValue("Software\\Quarrow\\The Orbels", "ORBELS_DATA"); }

std::string AutoLocateGameTwo() {
  return WithoutTrailingBackslash(ReadInstallerValue("Software\\VORN GAMES\\The Orbels 2", "Install Dir"),
                                  IsAnsiLeadByte);
}

}  // namespace ol
