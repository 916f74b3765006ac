// The real launcher in the test process: application object, frame and view started the way
// the program starts them, with the registry key cleared first and the data file in a
// scratch folder.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/MainFrame.h"
#include "app/OrbelslaunchApp.h"
#include "listview/OrbelslaunchView.h"
#include "support/TestFiles.h"

namespace oltest {

inline constexpr const char* kSettingsKey = "Software\\Nettlewick\\Orbels Launch";

void ClearLauncherSettings();
void ClearInstallerEntries();
// Writes an installer's entry into one registry view (the games' 32-bit installers write the
// 32-bit one); a null value name makes the key alone.
void SetInstallerEntry(const char* keyPath, const char* valueName, const std::string& value,
                       REGSAM view = KEY_WOW64_32KEY, DWORD type = REG_SZ);
// A value in the settings key: nothing when missing; type in `type`.
std::optional<std::string> ReadSettingsText(const char* name);
std::optional<DWORD> ReadSettingsDword(const char* name);
int CountSettingsValues();
void WriteSettingsDword(const char* name, DWORD value);
void WriteSettingsText(const char* name, const std::string& value);

// A setting of Wine's own in the registry, for the life of the object; Windows ignores it.
class WineSetting {
 public:
  WineSetting(const std::string& keyPath, const char* name, const std::string& value);
  ~WineSetting();
  WineSetting(const WineSetting&) = delete;
  WineSetting& operator=(const WineSetting&) = delete;

 private:
  HKEY m_key = nullptr;
  std::string m_name;
};

class LauncherHarness {
 public:
  // `clearSettings` false keeps what an earlier run stored.
  explicit LauncherHarness(bool clearSettings = true);
  ~LauncherHarness();

  // Returns once every program icon has arrived, unless told not to wait for them.
  bool Start(bool waitForIcons = true);
  void WaitForIcons();
  void Close();  // the frame is closed the normal way (WM_CLOSE)
  void Idle();   // one round of idle-time updates, after pending messages

  CMainFrame* Frame() const { return static_cast<CMainFrame*>(m_app.m_pMainWnd); }
  COrbelslaunchView* View() const;
  HWND FrameHwnd() const { return m_frame; }
  const ScratchDir& Dir() const { return m_dir; }
  std::string DataPath() const { return m_dir / "LaunchData.olf"; }
  COrbelslaunchApp& App() { return m_app; }

 private:
  ScratchDir m_dir;
  COrbelslaunchApp m_app;
  HWND m_frame = nullptr;
  bool m_started = false;
};

}  // namespace oltest
