#include "app/Settings.h"

namespace ol {

void LoadSettings(SettingsStore& store, CLauncherSettings& settings, const std::string& gameLocationDefault,
                  const std::string& gameTwoFolderDefault) {
  const std::string defaults[] = {kDefaultCustomResolution, gameLocationDefault,
                                  gameTwoFolderDefault + kGameTwoExecutableSuffix, ""};
  for (std::size_t i = 0; i < kTextSettings.size(); ++i) {
    settings.*kTextSettings[i].member = store.ReadText(kTextSettings[i].name, defaults[i]);
  }
  for (const IntegerSetting& setting : kIntegerSettings) {
    settings.*setting.member = store.ReadInteger(setting.name, setting.defaultValue);
  }
}

void SaveSettings(SettingsStore& store, const CLauncherSettings& settings, const Placement& frame) {
  store.WriteInteger(kLeftPosition, frame.left);
  store.WriteInteger(kTopPosition, frame.top);
  store.WriteInteger(kWidth, frame.width);
  store.WriteInteger(kHeight, frame.height);
  for (const TextSetting& setting : kTextSettings) store.WriteText(setting.name, settings.*setting.member);
  for (const IntegerSetting& setting : kIntegerSettings) store.WriteInteger(setting.name, settings.*setting.member);
}

}  // namespace ol
