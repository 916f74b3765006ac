#include "dialogs/HelpContents.h"

#include <htmlhelp.h>

#include "util/SystemUtil.h"

namespace ol {

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The HTML Help runtime, loaded on first use. It stays loaded for the life of the process:
// its help window may outlive every object of ours.
HtmlHelpFunction HtmlHelpEntry() {
  static const HtmlHelpFunction entry = []() -> HtmlHelpFunction {
    HMODULE runtime = LoadSystemLibrary("hhctrl.ocx");
    if (runtime == nullptr) return nullptr;
    return reinterpret_cast<HtmlHelpFunction>(::GetProcAddress(runtime, "HtmlHelpA"));
  }();
  return entry;
}

constexpr UINT kHelpWindowSystemCommand = 0xEFFF;

}  // namespace

HWND ShowHelpFile(HWND owner, const std::string& path) {
  const HtmlHelpFunction htmlHelp = HtmlHelpEntry();
  HWND help = htmlHelp ? htmlHelp(nullptr, path.c_str(), HH_DISPLAY_TOC, 0) : nullptr;
  if (help != nullptr) {
    ::DeleteMenu(::GetSystemMenu(help, FALSE), kHelpWindowSystemCommand, MF_BYCOMMAND);
    return help;
  }
  const std::string text =
      "The program help file was either not found, or\ncannot be opened. The expected file path is:\n\n" + path;
  ::MessageBoxA(owner, text.c_str(), "Error Opening Help File", MB_OK | MB_ICONHAND);
  return nullptr;
}

void ShowHelpContents(HWND owner) { ShowHelpFile(owner, GetLauncherDirectory() + kHelpFileName); }

}  // namespace ol
