#include "support/LauncherProcess.h"

#include <thread>

#include "app/CatalogueLock.h"
#include "support/TestFiles.h"

namespace oltest {

std::string BuiltLauncherPath() { return TestBinDirectory() + "\\OrbelsLaunch.exe"; }

LauncherProcess::LauncherProcess(std::string folder) : m_folder(std::move(folder)) {
  ::CreateDirectoryA(m_folder.c_str(), nullptr);
  ::CopyFileA(BuiltLauncherPath().c_str(), ExePath().c_str(), TRUE);
  ::CopyFileA((TestBinDirectory() + "\\OrbelsLaunch.chm").c_str(), (m_folder + "\\OrbelsLaunch.chm").c_str(), TRUE);
}

LauncherProcess::~LauncherProcess() {
  Kill();
}

bool LauncherProcess::Start(std::optional<WORD> showCommand) {
  Kill();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (showCommand) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = *showCommand;
  }
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + ExePath() + "\"";
  if (!::CreateProcessA(ExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(),
                        &startup, &info)) {
    return false;
  }
  ::CloseHandle(info.hThread);
  m_process = info.hProcess;
  m_id = info.dwProcessId;
  m_window = nullptr;
  return true;
}

HWND LauncherProcess::WaitForWindow(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (m_window == nullptr && std::chrono::steady_clock::now() < deadline) {
    m_window = ol::FindLauncherFrame(m_id);
    if (m_window == nullptr) {
      if (::WaitForSingleObject(m_process, 20) == WAIT_OBJECT_0) break;
    }
  }
  // Its start-up is over once it waits for input.
  if (m_window != nullptr) ::WaitForInputIdle(m_process, 10000);
  return m_window;
}

HWND LauncherProcess::WaitForPopup(std::chrono::milliseconds limit) const {
  struct Search {
    DWORD id;
    HWND frame;
    HWND found;
  } search{m_id, m_window, nullptr};
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
          auto* s = reinterpret_cast<Search*>(param);
          DWORD owner = 0;
          ::GetWindowThreadProcessId(hwnd, &owner);
          if (owner != s->id || hwnd == s->frame || !::IsWindowVisible(hwnd)) return TRUE;
          s->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr || std::chrono::steady_clock::now() >= deadline) return search.found;
    ::Sleep(20);
  }
}

bool LauncherProcess::WaitForExit(std::chrono::milliseconds limit) {
  if (m_process == nullptr) return true;
  return ::WaitForSingleObject(m_process, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

bool LauncherProcess::Close() {
  if (m_window != nullptr) ::PostMessageA(m_window, WM_CLOSE, 0, 0);
  return WaitForExit();
}

void LauncherProcess::Kill() {
  if (m_process == nullptr) return;
  if (::WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0) {
    ::TerminateProcess(m_process, 1);
    ::WaitForSingleObject(m_process, 10000);
  }
  ::CloseHandle(m_process);
  m_process = nullptr;
  m_window = nullptr;
}

}  // namespace oltest
