// A stranger's library planted beside the launcher under the name of a system library
// (hhctrl.ocx, the HTML Help runtime). Loading it leaves a file "<its path>.loaded" next to
// it; the launcher must never load it.
#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) HWND WINAPI HtmlHelpA(HWND, LPCSTR, UINT, DWORD_PTR) { return nullptr; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(instance, path, MAX_PATH);
    const std::string marker = std::string(path) + ".loaded";
    HANDLE file = ::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  }
  return TRUE;
}
