#include "games/GameLaunch.h"

#include <optional>
#include <string>

#include "games/GameCommandLine.h"
#include "games/GameLocations.h"
#include "games/LaunchOrbels2Dlg.h"
#include "games/LaunchOrbelsDlg.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

// Runs the first game's dialog over the settings; after OK the choices are stored and the
// switches of its preview returned.
std::optional<std::string> FirstGameSwitchesFromDialog(CLauncherSettings& settings) {
  CLaunchOrbelsDlg dialog;
  dialog.m_strAutoLocation = AutoLocateGame();
  dialog.m_bDisableDX6 = settings.m_bDisableDX6;
  dialog.m_strGameLocation = settings.m_strGameLocation;
  dialog.m_bRunHighRes = settings.m_bRunHighRes;
  dialog.m_bNoSound = settings.m_bNoSound;
  dialog.m_bRunInWindow = settings.m_bRunInWindow;
  dialog.m_bSkipIntro = settings.m_bSkipIntro;
  dialog.m_bSkipSystemCheck = settings.m_bSkipSystemCheck;
  dialog.m_bHideLaunch = settings.m_bHideLaunch;
  if (dialog.DoModal() != IDOK) return std::nullopt;

  settings.m_bDisableDX6 = dialog.m_bDisableDX6;
  settings.m_strGameLocation = dialog.m_strGameLocation;
  settings.m_bRunHighRes = dialog.m_bRunHighRes;
  settings.m_bNoSound = dialog.m_bNoSound;
  settings.m_bRunInWindow = dialog.m_bRunInWindow;
  settings.m_bSkipIntro = dialog.m_bSkipIntro;
  settings.m_bSkipSystemCheck = dialog.m_bSkipSystemCheck;
  settings.m_bHideLaunch = dialog.m_bHideLaunch;
  return SwitchesFromPreview(dialog.m_strCommandLine);
}

std::optional<std::string> SecondGameSwitchesFromDialog(CLauncherSettings& settings) {
  CLaunchOrbels2Dlg dialog;
  dialog.m_strCustomResolution = settings.m_strCustomResolution;
  dialog.m_strAutoExecutable = AutoLocateGameTwo() + kGameTwoExecutableSuffix;
  dialog.m_bSpecifyResolution = settings.m_bSpecifyResolution;
  dialog.m_bRunInWindow = settings.m_bRunTwoInWindow;
  dialog.m_bHideLaunch = settings.m_bHideLaunch;
  dialog.m_bNoSound = settings.m_bNoSoundTwo;
  dialog.m_nResolution = settings.m_nResolutionRadio;
  dialog.m_strExecutable = settings.m_strGameTwoExecutable;
  if (dialog.DoModal() != IDOK) return std::nullopt;

  settings.m_strCustomResolution = dialog.m_strCustomResolution;
  settings.m_strGameTwoExecutable = dialog.m_strExecutable;
  settings.m_bSpecifyResolution = dialog.m_bSpecifyResolution;
  settings.m_bRunTwoInWindow = dialog.m_bRunInWindow;
  settings.m_bHideLaunch = dialog.m_bHideLaunch;
  settings.m_bNoSoundTwo = dialog.m_bNoSound;
  settings.m_nResolutionRadio = dialog.m_nResolution;  // -1 when no button was checked
  return SwitchesFromPreview(dialog.m_strCommandLine);
}

void MinimizeIfWanted(const CLauncherSettings& settings, HWND mainWindow) {
  if (settings.m_bAutoMinimize != 0 && mainWindow != nullptr) ::ShowWindow(mainWindow, SW_MINIMIZE);
}

}  // namespace

void LaunchFirstGame(CLauncherSettings& settings, HWND mainWindow) {
  std::string commandLine;
  if (settings.m_bHideLaunch != 0) {
    commandLine = FirstGameQuickCommandLine(
        settings.m_strGameLocation,
        FirstGameOptions::FromFlags(settings.m_bRunHighRes, settings.m_bSkipIntro, settings.m_bRunInWindow,
                                    settings.m_bNoSound, settings.m_bSkipSystemCheck, settings.m_bDisableDX6));
  } else {
    std::optional<std::string> switches = FirstGameSwitchesFromDialog(settings);
    if (!switches) return;
    commandLine = *switches;
  }
  MinimizeIfWanted(settings, mainWindow);
  StartProgram(FirstGameProgramPath(settings.m_strGameLocation), commandLine,
               FirstGameWorkingDirectory(settings.m_strGameLocation), mainWindow);
}

void LaunchSecondGame(CLauncherSettings& settings, HWND mainWindow) {
  std::string commandLine;
  if (settings.m_bHideLaunch != 0) {
    commandLine = SecondGameQuickCommandLine(
        SecondGameOptions::FromFlags(settings.m_bRunTwoInWindow, settings.m_bNoSoundTwo, settings.m_bSpecifyResolution,
                                     settings.m_nResolutionRadio, settings.m_strCustomResolution));
  } else {
    std::optional<std::string> switches = SecondGameSwitchesFromDialog(settings);
    if (!switches) return;
    commandLine = *switches;
  }
  MinimizeIfWanted(settings, mainWindow);
  const std::string& program = settings.m_strGameTwoExecutable;
  StartProgram(program, commandLine, SecondGameWorkingDirectory(program, IsAnsiLeadByte), mainWindow);
}

}  // namespace ol
