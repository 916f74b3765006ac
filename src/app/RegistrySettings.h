// The settings' home in the registry: the application's profile values, with section "".
#pragma once

#include "app/Settings.h"
#include "framework/WinApp.h"

class CProfileSettingsStore : public ol::SettingsStore {
 public:
  explicit CProfileSettingsStore(CWinApp& app) : m_app(app) {}
  int ReadInteger(const char* name, int defaultValue) override {
    return static_cast<int>(m_app.GetProfileInt("", name, defaultValue));
  }
  std::string ReadText(const char* name, const std::string& defaultValue) override {
    return m_app.GetProfileString("", name, defaultValue.c_str());
  }
  void WriteInteger(const char* name, int value) override { m_app.WriteProfileInt("", name, value); }
  void WriteText(const char* name, const std::string& value) override { m_app.WriteProfileString("", name, value); }

 private:
  CWinApp& m_app;
};
