#include "catalogue/Shortcut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace ol;

namespace {

CShortcut Record(std::string type, std::string name, std::string target) {
  CShortcut record;
  record.m_strType = std::move(type);
  record.m_strName = std::move(name);
  record.m_strTarget = std::move(target);
  return record;
}

std::vector<std::string> SortedNames(std::vector<std::string> names) {
  std::vector<CShortcut> records;
  for (auto& name : names) records.push_back(Record("PROGRAM", name, ""));
  std::stable_sort(records.begin(), records.end(),
                   [](const CShortcut& a, const CShortcut& b) { return CompareShortcutNames(a, b) < 0; });
  std::vector<std::string> sorted;
  for (auto& record : records) sorted.push_back(record.m_strName);
  return sorted;
}

}  // namespace

TEST(CatalogueOrder, ComparesBytesAsUnsignedWithCaseSignificant) {
  EXPECT_EQ(SortedNames({"Zeta", "alpha", "Beta"}), (std::vector<std::string>{"Beta", "Zeta", "alpha"}));
  EXPECT_EQ(SortedNames({"beta", "Alpha", "alpha"}), (std::vector<std::string>{"Alpha", "alpha", "beta"}));
  EXPECT_EQ(SortedNames({"a", "B"}), (std::vector<std::string>{"B", "a"}));
  // Bytes above 0x7F sort after ASCII, as unsigned values.
  EXPECT_EQ(SortedNames({"\xE9t\xE9", "zebra"}), (std::vector<std::string>{"zebra", "\xE9t\xE9"}));
}

TEST(CatalogueOrder, APrefixComesFirstAndEqualNamesCompareEqual) {
  const CShortcut game = Record("PROGRAM", "Game", "");
  const CShortcut games = Record("PROGRAM", "Games", "");
  const CShortcut empty = Record("FOLDER", "", "");
  EXPECT_EQ(CompareShortcutNames(game, games), -1);
  EXPECT_EQ(CompareShortcutNames(games, game), 1);
  EXPECT_EQ(CompareShortcutNames(game, game), 0);
  EXPECT_EQ(CompareShortcutNames(empty, game), -1);
  EXPECT_EQ(CompareShortcutNames(empty, empty), 0);
  // An embedded NUL is a byte like any other, not the end of the name.
  EXPECT_EQ(CompareShortcutNames(Record("", std::string("a\0b", 3), ""), Record("", std::string("a\0c", 3), "")), -1);
}

TEST(ForbiddenExecutables, AreRefusedInAnyLetterCase) {
  for (const char* name : {"orbels.exe", "ORBELS.EXE", "Orbels2.exe", "OrbelsLaunch.EXE", "oRbElSlAuNcH.eXe"}) {
    EXPECT_TRUE(IsForbiddenExecutable(name)) << name;
  }
}

TEST(ForbiddenExecutables, OnlyTheExactNamesAreRefused) {
  for (const char* name : {"orbels3.exe", "myorbels.exe", "orbels.exe.bak", "orbels", "orbels2.com", " orbels.exe",
                           "Orbels Launch.exe", ""}) {
    EXPECT_FALSE(IsForbiddenExecutable(name)) << name;
  }
}

TEST(DuplicateTargets, MatchExactlyAgainstRecordsOfTheSameType) {
  std::vector<CShortcut> list = {Record("FOLDER", "Saves", R"(C:\Games\Tool.exe)"),
                                 Record("PROGRAM", "Tool", R"(C:\Games\Tool.exe)"),
                                 Record("PROGRAM", "Tool again", R"(C:\Games\Tool.exe)"),
                                 Record("program", "lower", R"(C:\Other.exe)")};
  auto at = [&list](int i) -> const CShortcut* { return &list[static_cast<std::size_t>(i)]; };
  const int count = static_cast<int>(list.size());
  EXPECT_EQ(FindDuplicateTarget(count, at, kTypeProgram, R"(C:\Games\Tool.exe)"), 1);  // the first in list order
  EXPECT_EQ(FindDuplicateTarget(count, at, kTypeFolder, R"(C:\Games\Tool.exe)"), 0);
  EXPECT_EQ(FindDuplicateTarget(count, at, kTypeProgram, R"(c:\games\tool.exe)"), -1);  // letter case counts
  EXPECT_EQ(FindDuplicateTarget(count, at, kTypeProgram, R"(C:\Games\Tool.exe\)"), -1);
  EXPECT_EQ(FindDuplicateTarget(count, at, kTypeProgram, R"(C:\Other.exe)"), -1);  // "program" is not a program
  EXPECT_EQ(FindDuplicateTarget(0, at, kTypeProgram, R"(C:\Games\Tool.exe)"), -1);
}

TEST(DuplicateTargets, ItemsWithoutARecordAreSkipped) {
  CShortcut tool = Record("PROGRAM", "Tool", "T");
  auto at = [&tool](int i) -> const CShortcut* { return i == 0 ? nullptr : &tool; };
  EXPECT_EQ(FindDuplicateTarget(2, at, kTypeProgram, "T"), 1);
}

TEST(DefaultNames, ProgramsLoseTheirLastExtension) {
  EXPECT_EQ(DefaultProgramName("Setup.Tool.exe"), "Setup.Tool");
  EXPECT_EQ(DefaultProgramName("README"), "README");
  EXPECT_EQ(DefaultProgramName("Tool.EXE"), "Tool");
  EXPECT_EQ(DefaultProgramName(".exe"), "");
}

TEST(DefaultNames, FoldersTakeTheLastElement) {
  EXPECT_EQ(DefaultFolderName(R"(C:\Games\Saves)", NoLeadBytes), "Saves");
  EXPECT_EQ(DefaultFolderName(R"(D:\)", NoLeadBytes), "");
  EXPECT_EQ(DefaultFolderName("Saves", NoLeadBytes), "Saves");
  EXPECT_EQ(DefaultFolderName("C:\\Games\\\x83\x5C", IsLeadByteCp932), "\x83\x5C");
}

TEST(Records, TypeDecidesProgramOnlyWhenExact) {
  EXPECT_TRUE(Record("PROGRAM", "", "").IsProgram());
  EXPECT_FALSE(Record("program", "", "").IsProgram());
  EXPECT_FALSE(Record("PROGRAM ", "", "").IsProgram());
  EXPECT_FALSE(Record("FOLDER", "", "").IsProgram());
}

TEST(Records, EveryMadeRecordIsCountedUntilDestroyed) {
  const long before = LiveShortcutRecordCount();
  CShortcut* first = NewShortcutRecord(Record("PROGRAM", "a", "b"));
  CShortcut* second = NewShortcutRecord(Record("FOLDER", "c", "d"));
  EXPECT_EQ(LiveShortcutRecordCount(), before + 2);
  EXPECT_EQ(second->m_strTarget, "d");
  DeleteShortcutRecord(first);
  DeleteShortcutRecord(nullptr);
  EXPECT_EQ(LiveShortcutRecordCount(), before + 1);
  DeleteShortcutRecord(second);
  EXPECT_EQ(LiveShortcutRecordCount(), before);
}
