#include "util/PathText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace ol;

TEST(DirectoryPart, TakesEverythingBeforeTheLastBackslash) {
  EXPECT_EQ(DirectoryPartOf(R"(C:\Games\Tool\tool.exe)", NoLeadBytes), R"(C:\Games\Tool)");
  EXPECT_EQ(DirectoryPartOf(R"(C:\tool.exe)", NoLeadBytes), "C:");  // a drive root gives the bare drive
  EXPECT_EQ(DirectoryPartOf("tool.exe", NoLeadBytes), "");
  EXPECT_EQ(DirectoryPartOf(R"(C:\Games\)", NoLeadBytes), R"(C:\Games)");
  EXPECT_EQ(DirectoryPartOf(R"(\\server\share\x)", NoLeadBytes), R"(\\server\share)");
  EXPECT_EQ(DirectoryPartOf("", NoLeadBytes), "");
  EXPECT_EQ(DirectoryPartOf(R"(\)", NoLeadBytes), "");
}

TEST(DirectoryPart, NeverTakesADoubleByteTrailByteForABackslash) {
  // In code page 932, 0x83 0x5C is one katakana character whose second byte is 0x5C.
  const std::string so = "\x83\x5C";
  EXPECT_EQ(DirectoryPartOf("C:\\Games\\" + so, IsLeadByteCp932), "C:\\Games");
  EXPECT_EQ(DirectoryPartOf("C:\\" + so + "\\x.exe", IsLeadByteCp932), "C:\\" + so);
  EXPECT_EQ(DirectoryPartOf(so + "x.exe", IsLeadByteCp932), "");
  // Read byte by byte in a single-byte code page, the same text has a backslash there.
  EXPECT_EQ(DirectoryPartOf("C:\\Games\\" + so, NoLeadBytes), "C:\\Games\\\x83");
}

TEST(DirectoryPart, ALeadByteAtTheVeryEndIsAnOrdinaryByte) {
  EXPECT_EQ(DirectoryPartOf("C:\\a\\\x83", IsLeadByteCp932), "C:\\a");
  EXPECT_EQ(FileNamePartOf("C:\\a\\\x83", IsLeadByteCp932), "\x83");
}

TEST(FileNamePart, TakesEverythingAfterTheLastBackslash) {
  EXPECT_EQ(FileNamePartOf(R"(D:\Games\Orbels 2\TOBin\Orbels2.exe)", NoLeadBytes), "Orbels2.exe");
  EXPECT_EQ(FileNamePartOf("Orbels2.exe", NoLeadBytes), "Orbels2.exe");
  EXPECT_EQ(FileNamePartOf(R"(D:\)", NoLeadBytes), "");
  EXPECT_EQ(FileNamePartOf("C:\\\x83\x5C.exe", IsLeadByteCp932), "\x83\x5C.exe");
}

TEST(TrailingBackslash, OnlyOneIsRemoved) {
  EXPECT_EQ(WithoutTrailingBackslash(R"(D:\Games\Orbels 2\)", NoLeadBytes), R"(D:\Games\Orbels 2)");
  EXPECT_EQ(WithoutTrailingBackslash(R"(D:\Games\Orbels 2)", NoLeadBytes), R"(D:\Games\Orbels 2)");
  EXPECT_EQ(WithoutTrailingBackslash(R"(D:\Games\\)", NoLeadBytes), R"(D:\Games\)");
  EXPECT_EQ(WithoutTrailingBackslash("", NoLeadBytes), "");
  // A double-byte character ending in 0x5C is not a trailing backslash.
  EXPECT_EQ(WithoutTrailingBackslash("D:\\\x83\x5C", IsLeadByteCp932), "D:\\\x83\x5C");
}

TEST(CountText, PlainDecimalWithoutGrouping) {
  EXPECT_EQ(CountText(0), "0");
  EXPECT_EQ(CountText(1000), "1000");
  EXPECT_EQ(CountText(1234567), "1234567");
  EXPECT_EQ(CountText(-5), "-5");
  EXPECT_EQ(CountText(INT32_MIN), "-2147483648");
}

TEST(Trimming, RemovesBlanksTabsAndLineEndsOnly) {
  EXPECT_EQ(TrimWhitespace(" \t-w -nosound \r\n"), "-w -nosound");
  EXPECT_EQ(TrimWhitespace("   "), "");
  EXPECT_EQ(TrimWhitespace("a  b"), "a  b");
  EXPECT_EQ(TrimTrailingWhitespace("  C:\\Games\\  \t"), "  C:\\Games\\");
  EXPECT_EQ(TrimTrailingWhitespace(" \t "), "");
}

TEST(LowerCase, ChangesOnlyAsciiLetters) {
  EXPECT_EQ(ToLowerAscii("OrbelsLaunch AZ.EXE"), "orbelslaunch az.exe");
  EXPECT_EQ(ToLowerAscii("\x83\xC9\xFF@[`{"), "\x83\xC9\xFF@[`{");  // only A-Z change
}

TEST(WhereOnThisComputer, AMissingPathOnAnotherDriveIsFoundOnTheLaunchersDrive) {
  struct Row {
    const char* stored;
    char launcherDrive;
    std::vector<std::string> there;  // the paths that exist
    const char* expected;
  } const rows[] = {
      {"E:\\Games\\Orbit\\orbit.exe", 'G', {"G:\\Games\\Orbit\\orbit.exe"}, "G:\\Games\\Orbit\\orbit.exe"},
      {"e:\\Tools", 'G', {"G:\\Tools"}, "G:\\Tools"},  // a folder, a lower-case letter
      {"E:\\Games\\orbit.exe", 'G', {"E:\\Games\\orbit.exe", "G:\\Games\\orbit.exe"}, "E:\\Games\\orbit.exe"},
      {"E:\\Games\\orbit.exe", 'G', {}, "E:\\Games\\orbit.exe"},  // on neither drive
      {"G:\\Games\\orbit.exe", 'g', {}, "G:\\Games\\orbit.exe"},  // on the launcher's own drive
      {"\\\\server\\share\\orbit.exe", 'G', {"G:\\server\\share\\orbit.exe"}, "\\\\server\\share\\orbit.exe"},
      {"Tools\\orbit.exe", 'G', {"Gools\\orbit.exe"}, "Tools\\orbit.exe"},  // relative
      {"E:Games\\orbit.exe", 'G', {"G:Games\\orbit.exe"}, "E:Games\\orbit.exe"},  // relative to a drive
      {"E:\\", 'G', {"G:\\"}, "E:\\"},  // a drive alone
      {"1:\\Games\\orbit.exe", 'G', {"G:\\Games\\orbit.exe"}, "1:\\Games\\orbit.exe"},
      {"E:\\Games\\orbit.exe", '\\', {"\\:\\Games\\orbit.exe"}, "E:\\Games\\orbit.exe"},  // launched from no drive
  };
  for (const Row& row : rows) {
    std::vector<std::string> asked;
    const std::string where = WhereOnThisComputer(row.stored, row.launcherDrive, [&](const std::string& path) {
      asked.push_back(path);
      return std::find(row.there.begin(), row.there.end(), path) != row.there.end();
    });
    EXPECT_EQ(where, row.expected) << row.stored;
    EXPECT_LE(asked.size(), 2u) << row.stored;
  }
}
