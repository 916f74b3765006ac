#include "app/Settings.h"

#include <gtest/gtest.h>

#include <map>
#include <variant>
#include <vector>

using namespace ol;

namespace {

// Records every read and write in order, and answers reads from what is stored.
class MemoryStore : public SettingsStore {
 public:
  std::map<std::string, std::variant<int, std::string>> values;
  std::vector<std::string> reads;
  std::vector<std::string> writes;

  int ReadInteger(const char* name, int defaultValue) override {
    reads.push_back(name);
    auto found = values.find(name);
    return found != values.end() && std::holds_alternative<int>(found->second) ? std::get<int>(found->second)
                                                                                 : defaultValue;
  }
  std::string ReadText(const char* name, const std::string& defaultValue) override {
    reads.push_back(name);
    auto found = values.find(name);
    return found != values.end() && std::holds_alternative<std::string>(found->second)
               ? std::get<std::string>(found->second)
               : defaultValue;
  }
  void WriteInteger(const char* name, int value) override {
    writes.push_back(name);
    values[name] = value;
  }
  void WriteText(const char* name, const std::string& value) override {
    writes.push_back(name);
    values[name] = value;
  }
};

const std::vector<std::string> kWriteOrder = {
    "Left Position", "Top Position", "Width", "Height", "Custom Resolution", "Game Location", "Game Two Executable",
    "Last Add Folder", "Auto Minimize", "Disable DX 6", "Hide Launch", "Keep On Top", "Mouse Selection", "No Sound",
    "No Sound Two", "Resolution Radio", "Run High Res", "Run in Window", "Run Two in Window", "Skip Intro",
    "Skip System Check", "Snap Width", "Snap Window", "Specify Resolution", "View Setting"};

}  // namespace

TEST(Settings, AFirstStartGetsTheDefaults) {
  MemoryStore store;
  CLauncherSettings settings;
  settings.m_nMouseSelection = 99;  // whatever the members held before is replaced
  LoadSettings(store, settings, "", "");
  EXPECT_EQ(settings.m_strCustomResolution, "1152x864");
  EXPECT_EQ(settings.m_strGameLocation, "");
  EXPECT_EQ(settings.m_strGameTwoExecutable, "\\TOBin\\Orbels2.exe");
  EXPECT_EQ(settings.m_strLastAddFolder, "");
  EXPECT_EQ(settings.m_nMouseSelection, 1);
  EXPECT_EQ(settings.m_bSnapWindow, 1);
  EXPECT_EQ(settings.m_nSnapWidth, 10);
  EXPECT_EQ(settings.m_bSkipIntro, 1);
  EXPECT_EQ(settings.m_bAutoMinimize, 1);
  for (const IntegerSetting& setting : kIntegerSettings) {
    const std::string name = setting.name;
    if (name == "Mouse Selection" || name == "Snap Window" || name == "Snap Width" || name == "Skip Intro" ||
        name == "Auto Minimize") {
      continue;
    }
    EXPECT_EQ(settings.*setting.member, 0) << name;
  }
}

TEST(Settings, InstallerFoldersAreTheGameDefaults) {
  MemoryStore store;
  CLauncherSettings settings;
  LoadSettings(store, settings, "C:\\Games\\Orbels\\", "D:\\Games\\Orbels 2");
  EXPECT_EQ(settings.m_strGameLocation, "C:\\Games\\Orbels\\");
  EXPECT_EQ(settings.m_strGameTwoExecutable, "D:\\Games\\Orbels 2\\TOBin\\Orbels2.exe");
}

TEST(Settings, StoredValuesWinEvenWhenEmptyOrOutOfRange) {
  MemoryStore store;
  store.values["Custom Resolution"] = std::string();
  store.values["Game Location"] = std::string();
  store.values["View Setting"] = 7;
  store.values["Mouse Selection"] = 5;
  store.values["Snap Width"] = -3;
  store.values["Hide Launch"] = 2;
  CLauncherSettings settings;
  LoadSettings(store, settings, "C:\\Installed", "D:\\Installed");
  EXPECT_EQ(settings.m_strCustomResolution, "");
  EXPECT_EQ(settings.m_strGameLocation, "");
  EXPECT_EQ(settings.m_nViewSetting, 7);
  EXPECT_EQ(settings.m_nMouseSelection, 5);
  EXPECT_EQ(settings.m_nSnapWidth, -3);
  EXPECT_EQ(settings.m_bHideLaunch, 2);
}

TEST(Settings, ReadsAndWritesFollowTheFixedOrder) {
  MemoryStore store;
  CLauncherSettings settings;
  LoadSettings(store, settings, "", "");
  EXPECT_EQ(store.reads, std::vector<std::string>(kWriteOrder.begin() + 4, kWriteOrder.end()));
  SaveSettings(store, settings, {-32000, 25, 160, 28});
  EXPECT_EQ(store.writes, kWriteOrder);
  EXPECT_EQ(std::get<int>(store.values["Left Position"]), -32000);
  EXPECT_EQ(std::get<int>(store.values["Top Position"]), 25);
  EXPECT_EQ(std::get<int>(store.values["Height"]), 28);
  EXPECT_EQ(std::get<std::string>(store.values["Game Two Executable"]), "\\TOBin\\Orbels2.exe");
}

TEST(Settings, ASaveThenLoadGivesBackEveryMember) {
  MemoryStore store;
  CLauncherSettings written;
  int next = 100;
  for (const IntegerSetting& setting : kIntegerSettings) written.*setting.member = next++;
  for (const TextSetting& setting : kTextSettings) written.*setting.member = std::string("text of ") + setting.name;
  SaveSettings(store, written, {1, 2, 3, 4});
  CLauncherSettings read;
  LoadSettings(store, read, "x", "y");
  for (const IntegerSetting& setting : kIntegerSettings) EXPECT_EQ(read.*setting.member, written.*setting.member);
  for (const TextSetting& setting : kTextSettings) EXPECT_EQ(read.*setting.member, written.*setting.member);
}
