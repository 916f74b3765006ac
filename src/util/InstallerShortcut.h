// Start menu shortcuts made by Windows Installer packages ("advertised" shortcuts) hold no
// path: they name a product and one of its components, and only the installer knows where that
// component's program is. The shell reports the shortcut's icon under C:\Windows\Installer
// as its path instead, so such shortcuts are asked of the installer first.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ol {

struct InstallerComponent {
  std::string product;    // product code, "{...}"
  std::string component;  // component code, "{...}"
};

// The product and component that an advertised shortcut names (MsiGetShortcutTargetA); nothing
// for any other shortcut, or where Windows Installer is not there.
std::optional<InstallerComponent> ReadInstallerShortcut(const std::string& linkPath);

// The component's program (MsiGetComponentPathA) when it is installed on this machine or runs
// from its source; nothing when it is absent, broken or unknown.
std::optional<std::string> InstalledComponentPath(const InstallerComponent& component);

// Tests stand in for MsiGetComponentPathA, since no package is installed to answer it.
using ComponentPathLookup = std::function<std::optional<std::string>(const InstallerComponent&)>;
void SetComponentPathLookupForTesting(ComponentPathLookup lookup);

}  // namespace ol
