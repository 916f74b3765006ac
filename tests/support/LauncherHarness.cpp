#include "support/LauncherHarness.h"

#include <cstdio>

#include "framework/WinApp.h"

namespace oltest {

void ClearLauncherSettings() { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Nettlewick"); }

void ClearInstallerEntries() {
  for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    HKEY software = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS) continue;
    ::RegDeleteTreeA(software, "Quarrow");
    ::RegDeleteTreeA(software, "VORN GAMES");
    ::RegCloseKey(software);
  }
}

void SetInstallerEntry(const char* keyPath, const char* valueName, const std::string& value, REGSAM view,
                       DWORD type) {
  HKEY key = nullptr;
  ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr);
  if (valueName != nullptr) {
    ::RegSetValueExA(key, valueName, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
  }
  ::RegCloseKey(key);
}

std::optional<std::string> ReadSettingsText(const char* name) {
  char buffer[4096] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  if (::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_ANY, &type, buffer, &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::string(buffer);
}

std::optional<DWORD> ReadSettingsDword(const char* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  if (::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return value;
}

int CountSettingsValues() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD count = 0;
  ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
  ::RegCloseKey(key);
  return static_cast<int>(count);
}

void WriteSettingsDword(const char* name, DWORD value) {
  HKEY key = nullptr;
  ::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  ::RegCloseKey(key);
}

void WriteSettingsText(const char* name, const std::string& value) {
  HKEY key = nullptr;
  ::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

WineSetting::WineSetting(const std::string& keyPath, const char* name, const std::string& value) : m_name(name) {
  ::RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
  ::RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

WineSetting::~WineSetting() {
  ::RegDeleteValueA(m_key, m_name.c_str());
  ::RegCloseKey(m_key);
}

LauncherHarness::LauncherHarness(bool clearSettings) {
  if (clearSettings) ClearLauncherSettings();
  COrbelslaunchView::SetDataFilePathForTesting(DataPath());
  m_app.PrepareRun(::GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
}

LauncherHarness::~LauncherHarness() {
  Close();
  COrbelslaunchView::SetDataFilePathForTesting("");
}

bool LauncherHarness::Start(bool waitForIcons) {
  m_started = m_app.InitInstance();
  if (m_started) m_frame = m_app.m_pMainWnd->m_hWnd;
  // Whether the system refused a window (no desktop to make it on) or the launcher failed.
  if (!m_started) std::printf("the launcher did not start: error %lu\n", ::GetLastError());
  PumpMessagesFor(std::chrono::milliseconds(50));
  if (waitForIcons) WaitForIcons();
  return m_started;
}

void LauncherHarness::WaitForIcons() {
  // The program icons arrive from a thread of their own after the window is up; a test sees
  // the list as it stands once they are all in.
  while (View() != nullptr && View()->IconsArriving()) PumpMessagesFor(std::chrono::milliseconds(5));
}

void LauncherHarness::Close() {
  if (m_frame != nullptr && ::IsWindow(m_frame)) {
    ::SendMessageA(m_frame, WM_CLOSE, 0, 0);
    // The frame posts WM_QUIT when it goes; take it out of the queue again.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  m_frame = nullptr;
}

void LauncherHarness::Idle() {
  PumpMessagesFor(std::chrono::milliseconds(10));
  m_app.OnIdle(0);
}

COrbelslaunchView* LauncherHarness::View() const {
  return Frame() ? static_cast<COrbelslaunchView*>(Frame()->GetActiveView()) : nullptr;
}

}  // namespace oltest
