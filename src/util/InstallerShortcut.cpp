#include "util/InstallerShortcut.h"

#include <windows.h>
#include <msi.h>

#include <vector>

#include "util/SystemUtil.h"

namespace ol {

namespace {

using GetShortcutTargetFunction = UINT(WINAPI*)(LPCSTR, LPSTR, LPSTR, LPSTR);
using GetComponentPathFunction = INSTALLSTATE(WINAPI*)(LPCSTR, LPCSTR, LPSTR, LPDWORD);

struct InstallerFunctions {
  GetShortcutTargetFunction getShortcutTarget = nullptr;
  GetComponentPathFunction getComponentPath = nullptr;
};

// msi.dll from the system directory, loaded at the first shortcut that needs it and kept for
// the rest of the run.
const InstallerFunctions& Installer() {
  static const InstallerFunctions functions = [] {
    InstallerFunctions found;
    if (HMODULE msi = LoadSystemLibrary("msi.dll")) {
      found.getShortcutTarget =
          reinterpret_cast<GetShortcutTargetFunction>(::GetProcAddress(msi, "MsiGetShortcutTargetA"));
      found.getComponentPath =
          reinterpret_cast<GetComponentPathFunction>(::GetProcAddress(msi, "MsiGetComponentPathA"));
    }
    return found;
  }();
  return functions;
}

ComponentPathLookup& LookupForTesting() {
  static ComponentPathLookup lookup;
  return lookup;
}

}  // namespace

std::optional<InstallerComponent> ReadInstallerShortcut(const std::string& linkPath) {
  const auto get = Installer().getShortcutTarget;
  if (get == nullptr) return std::nullopt;
  // Product and component codes are GUIDs in braces: 38 characters and the terminator.
  char product[39] = {};
  char feature[MAX_FEATURE_CHARS + 1] = {};
  char component[39] = {};
  if (get(linkPath.c_str(), product, feature, component) != ERROR_SUCCESS || product[0] == '\0') return std::nullopt;
  return InstallerComponent{product, component};
}

std::optional<std::string> InstalledComponentPath(const InstallerComponent& component) {
  if (const ComponentPathLookup& lookup = LookupForTesting()) return lookup(component);
  const auto get = Installer().getComponentPath;
  if (get == nullptr) return std::nullopt;
  std::vector<char> path(MAX_PATH * 3);
  for (;;) {
    DWORD size = static_cast<DWORD>(path.size());
    const INSTALLSTATE state = get(component.product.c_str(), component.component.c_str(), path.data(), &size);
    if (state == INSTALLSTATE_MOREDATA && size + 1 > path.size()) {
      path.resize(size + 1);
      continue;
    }
    if ((state != INSTALLSTATE_LOCAL && state != INSTALLSTATE_SOURCE) || path[0] == '\0') return std::nullopt;
    return std::string(path.data());
  }
}

void SetComponentPathLookupForTesting(ComponentPathLookup lookup) { LookupForTesting() = std::move(lookup); }

}  // namespace ol
