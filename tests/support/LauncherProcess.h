// The real OrbelsLaunch.exe as a process of its own: copied with its help file into a folder
// (so that the data file is that folder's), started, found by its main window, driven from
// outside, and closed or killed.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace oltest {

// The launcher the build made, beside the test programs.
std::string BuiltLauncherPath();

class LauncherProcess {
 public:
  // Copies the launcher and its help file into `folder` (once per folder).
  explicit LauncherProcess(std::string folder);
  ~LauncherProcess();  // a process still running is killed
  LauncherProcess(const LauncherProcess&) = delete;
  LauncherProcess& operator=(const LauncherProcess&) = delete;

  // Starts the launcher; with a show command it is handed over as a Windows shortcut does.
  bool Start(std::optional<WORD> showCommand = std::nullopt);
  // The process's main frame once it is visible; nullptr when it never appears.
  HWND WaitForWindow(std::chrono::milliseconds limit = std::chrono::seconds(30));
  // A visible top-level window of the process other than its main frame (a dialog, a message
  // box, the help viewer); nullptr when none appears within the limit.
  HWND WaitForPopup(std::chrono::milliseconds limit = std::chrono::seconds(30)) const;
  // True when the process has ended within the limit.
  bool WaitForExit(std::chrono::milliseconds limit = std::chrono::seconds(30));
  // Closes the main frame the normal way (WM_CLOSE) and waits for the process to end.
  bool Close();
  void Kill();

  const std::string& Folder() const { return m_folder; }
  std::string ExePath() const { return m_folder + "\\OrbelsLaunch.exe"; }
  std::string DataPath() const { return m_folder + "\\LaunchData.olf"; }
  HANDLE Handle() const { return m_process; }
  DWORD Id() const { return m_id; }
  HWND Window() const { return m_window; }

 private:
  std::string m_folder;
  HANDLE m_process = nullptr;
  DWORD m_id = 0;
  HWND m_window = nullptr;
};

}  // namespace oltest
