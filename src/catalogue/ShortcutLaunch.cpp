#include "catalogue/ShortcutLaunch.h"

#include <shellapi.h>

#include "util/SystemUtil.h"

namespace ol {

namespace {
std::function<void(const std::string&)> g_shellOpen;
}

void SetShellOpenForTesting(std::function<void(const std::string& target)> open) { g_shellOpen = std::move(open); }

void LaunchShortcut(const CShortcut& shortcut, const std::string& target, HWND owner) {
  // The stored index alone decides: nothing is looked up on disk here.
  if (shortcut.m_nIconIndex == kIconNone) {
    ::MessageBoxA(owner, std::string(kInvalidShortcutTargetText).c_str(),
                  std::string(kInvalidShortcutTargetTitle).c_str(), MB_ICONHAND | MB_OK);
    return;
  }
  if (shortcut.IsProgram()) {
    StartProgram(target, shortcut.m_strCommandLine, GetDirectoryPart(target), owner);
    return;
  }
  if (g_shellOpen) {
    g_shellOpen(target);
    return;
  }
  ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace ol
