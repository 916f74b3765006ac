// The launcher's twenty-five settings: their names, types, defaults and order, and the
// members that hold all but the four placement values while the launcher runs. Portable.
#pragma once

#include <array>
#include <string>

namespace ol {

inline constexpr const char* kRegistryKey = "Nettlewick";
inline constexpr const char* kDefaultCustomResolution = "1152x864";
inline constexpr const char* kGameTwoExecutableSuffix = "\\TOBin\\Orbels2.exe";

// Every integer is taken as stored; the code that uses a flag says how it tests it.
struct CLauncherSettings {
  std::string m_strCustomResolution;
  std::string m_strGameLocation;
  std::string m_strGameTwoExecutable;
  std::string m_strLastAddFolder;
  int m_bAutoMinimize = 1;
  int m_bDisableDX6 = 0;
  int m_bHideLaunch = 0;
  int m_bKeepOnTop = 0;
  int m_nMouseSelection = 1;
  int m_bNoSound = 0;
  int m_bNoSoundTwo = 0;
  int m_nResolutionRadio = 0;
  int m_bRunHighRes = 0;
  int m_bRunInWindow = 0;
  int m_bRunTwoInWindow = 0;
  int m_bSkipIntro = 1;
  int m_bSkipSystemCheck = 0;
  int m_nSnapWidth = 10;
  int m_bSnapWindow = 1;
  int m_bSpecifyResolution = 0;
  int m_nViewSetting = 0;
};

struct TextSetting {
  const char* name;
  std::string CLauncherSettings::*member;
};

struct IntegerSetting {
  const char* name;
  int CLauncherSettings::*member;
  int defaultValue;
};

// Read and written in this order, after the four placement values.
inline constexpr std::array<TextSetting, 4> kTextSettings = {{
    {"Custom Resolution", &CLauncherSettings::m_strCustomResolution},
    {"Game Location", &CLauncherSettings::m_strGameLocation},
    {"Game Two Executable", &CLauncherSettings::m_strGameTwoExecutable},
    {"Last Add Folder", &CLauncherSettings::m_strLastAddFolder},
}};

inline constexpr std::array<IntegerSetting, 17> kIntegerSettings = {{
    {"Auto Minimize", &CLauncherSettings::m_bAutoMinimize, 1},
    {"Disable DX 6", &CLauncherSettings::m_bDisableDX6, 0},
    {"Hide Launch", &CLauncherSettings::m_bHideLaunch, 0},
    {"Keep On Top", &CLauncherSettings::m_bKeepOnTop, 0},
    {"Mouse Selection", &CLauncherSettings::m_nMouseSelection, 1},
    {"No Sound", &CLauncherSettings::m_bNoSound, 0},
    {"No Sound Two", &CLauncherSettings::m_bNoSoundTwo, 0},
    {"Resolution Radio", &CLauncherSettings::m_nResolutionRadio, 0},
    {"Run High Res", &CLauncherSettings::m_bRunHighRes, 0},
    {"Run in Window", &CLauncherSettings::m_bRunInWindow, 0},
    {"Run Two in Window", &CLauncherSettings::m_bRunTwoInWindow, 0},
    {"Skip Intro", &CLauncherSettings::m_bSkipIntro, 1},
    {"Skip System Check", &CLauncherSettings::m_bSkipSystemCheck, 0},
    {"Snap Width", &CLauncherSettings::m_nSnapWidth, 10},
    {"Snap Window", &CLauncherSettings::m_bSnapWindow, 1},
    {"Specify Resolution", &CLauncherSettings::m_bSpecifyResolution, 0},
    {"View Setting", &CLauncherSettings::m_nViewSetting, 0},
}};

// The main frame's placement, read at the initial update and written first at exit.
inline constexpr const char* kLeftPosition = "Left Position";
inline constexpr const char* kTopPosition = "Top Position";
inline constexpr const char* kWidth = "Width";
inline constexpr const char* kHeight = "Height";
inline constexpr int kDefaultWidth = 450;
inline constexpr int kDefaultHeight = 300;

// A source and sink of named values (the registry in the program, a map in tests).
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual int ReadInteger(const char* name, int defaultValue) = 0;
  virtual std::string ReadText(const char* name, const std::string& defaultValue) = 0;
  virtual void WriteInteger(const char* name, int value) = 0;
  virtual void WriteText(const char* name, const std::string& value) = 0;
};

// The game-location defaults are what the installers' registry entries say, computed anew on
// every start.
void LoadSettings(SettingsStore& store, CLauncherSettings& settings, const std::string& gameLocationDefault,
                  const std::string& gameTwoFolderDefault);

struct Placement {
  int left;
  int top;
  int width;
  int height;
  bool operator==(const Placement&) const = default;
};

// Writes the placement, then the four texts, then the seventeen integers.
void SaveSettings(SettingsStore& store, const CLauncherSettings& settings, const Placement& frame);

}  // namespace ol
