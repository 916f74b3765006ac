#include "catalogue/DataFileFormat.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ol;

namespace {

const std::string kHeader =
    "/*************************************************/\r\n"
    "/*                                               */\r\n"
    "/* WARNING: Editing this file could prevent Orbels */\r\n"
    "/* Launch from working correctly and should only */\r\n"
    "/* be performed if you know exactly what you are */\r\n"
    "/* doing!                                        */\r\n"
    "/*                                               */\r\n"
    "/*************************************************/\r\n";

std::vector<CShortcut> Parse(std::string_view bytes) {
  std::vector<CShortcut> records;
  ParseDataFile(bytes, [&records](CShortcut&& record) { records.push_back(std::move(record)); });
  return records;
}

std::string Format(const std::vector<CShortcut>& records) {
  return FormatDataFile(static_cast<int>(records.size()),
                        [&records](int i) -> const CShortcut& { return records[static_cast<std::size_t>(i)]; });
}

std::string RecordLines(const std::string& name, const std::string& type, const std::string& path,
                        const std::string& commandLine, const std::string& end = "\r\n") {
  return "SC_NAME=" + name + end + "SC_TYPE=" + type + end + "SC_PATH=" + path + end + "SC_CMLN=" + commandLine + end;
}

void ExpectRecord(const CShortcut& record, const std::string& name, const std::string& type, const std::string& path,
                  const std::string& commandLine) {
  EXPECT_EQ(record.m_strName, name);
  EXPECT_EQ(record.m_strType, type);
  EXPECT_EQ(record.m_strTarget, path);
  EXPECT_EQ(record.m_strCommandLine, commandLine);
  EXPECT_EQ(record.m_nIconIndex, 0);
}

}  // namespace

TEST(DataFileHeader, IsEightExactLines) {
  ASSERT_EQ(kDataFileHeader.size(), 8u);
  EXPECT_EQ(kDataFileHeader[0], "/" + std::string(49, '*') + "/");
  EXPECT_EQ(kDataFileHeader[1], "/*" + std::string(47, ' ') + "*/");
  EXPECT_EQ(kDataFileHeader[5], "/* doing!" + std::string(40, ' ') + "*/");
  EXPECT_EQ(kDataFileHeader[6], kDataFileHeader[1]);
  EXPECT_EQ(kDataFileHeader[7], kDataFileHeader[0]);
}

TEST(DataFileWriting, AnEmptyCatalogueIsTheHeaderAlone) { EXPECT_EQ(Format({}), kHeader); }

TEST(DataFileWriting, FourLinesPerShortcutEachEndingInCrLfWithNoBlankLines) {
  CShortcut tool{"PROGRAM", "Tool", R"(C:\Tools\tool.exe)", "-fast  ", 7};
  CShortcut saves{"FOLDER", "", R"(D:\)", "", 1};
  EXPECT_EQ(Format({tool, saves}), kHeader + "SC_NAME=Tool\r\nSC_TYPE=PROGRAM\r\nSC_PATH=C:\\Tools\\tool.exe\r\n"
                                             "SC_CMLN=-fast  \r\nSC_NAME=\r\nSC_TYPE=FOLDER\r\nSC_PATH=D:\\\r\n"
                                             "SC_CMLN=\r\n");
}

TEST(DataFileReading, ReadsRecordsInFileOrder) {
  const auto records = Parse(kHeader + RecordLines("Zeta", "PROGRAM", R"(C:\z.exe)", "-a") +
                             RecordLines("alpha", "FOLDER", R"(C:\a)", ""));
  ASSERT_EQ(records.size(), 2u);
  ExpectRecord(records[0], "Zeta", "PROGRAM", R"(C:\z.exe)", "-a");
  ExpectRecord(records[1], "alpha", "FOLDER", R"(C:\a)", "");
}

TEST(DataFileReading, WhatTheWriterWritesReadsBackTheSame) {
  // Type first, then name: an empty name, a lower-case type, a CR inside and at the end.
  std::vector<CShortcut> records = {{"PROGRAM", "Tool", R"(C:\Tools\tool.exe)", " a=b  c ", 0},
                                    {"FOLDER", "", R"(D:\)", "", 0},
                                    {"program", "Odd", "x", "SC_NAME=inside", 0},
                                    {"PROGRAM", "Lone\rCR\r", "p\r", "ends in CR\r", 0}};
  const std::string bytes = Format(records);
  const auto back = Parse(bytes);
  ASSERT_EQ(back.size(), records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    ExpectRecord(back[i], records[i].m_strName, records[i].m_strType, records[i].m_strTarget,
                 records[i].m_strCommandLine);
  }
  EXPECT_EQ(Format(back), bytes);
}

TEST(DataFileReading, TheHeaderIsOptionalAndCommentsMayStandAnywhere) {
  const auto records = Parse("SC_NAME=A\nSC_TYPE=PROGRAM\n/* a note */\nSC_PATH=p\nSC_CMLN=c\n/*x\n" +
                             RecordLines("B", "FOLDER", "q", ""));
  ASSERT_EQ(records.size(), 2u);
  ExpectRecord(records[0], "A", "PROGRAM", "p", "c");
  ExpectRecord(records[1], "B", "FOLDER", "q", "");
}

TEST(DataFileReading, ARecordWithoutItsCommandLineIsDropped) {
  auto records = Parse(RecordLines("Kept", "PROGRAM", "k", "") + "SC_NAME=Lost\r\nSC_TYPE=PROGRAM\r\nSC_PATH=l\r\n" +
                       "SC_NAME=Next\r\nSC_CMLN=n\r\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].m_strName, "Kept");
  ExpectRecord(records[1], "Next", "", "", "n");  // nothing of "Lost" leaks into it

  records = Parse(RecordLines("Kept", "PROGRAM", "k", "") + "SC_NAME=AtTheEnd\r\nSC_TYPE=FOLDER\r\n");
  ASSERT_EQ(records.size(), 1u);
}

TEST(DataFileReading, AMissingTypeOrPathLeavesItEmpty) {
  const auto records = Parse("SC_NAME=N\r\nSC_CMLN=c\r\n");
  ASSERT_EQ(records.size(), 1u);
  ExpectRecord(records[0], "N", "", "", "c");
}

TEST(DataFileReading, ValuesKeepBlanksAndEqualSigns) {
  const auto records = Parse(RecordLines("  padded  ", "PROGRAM", " C:\\a b\\c.exe ", "-x=1 -y = 2 "));
  ASSERT_EQ(records.size(), 1u);
  ExpectRecord(records[0], "  padded  ", "PROGRAM", " C:\\a b\\c.exe ", "-x=1 -y = 2 ");
}

TEST(DataFileReading, KeysAreMatchedExactlyAtTheStartOfTheLine) {
  const auto records = Parse("SC_NAME=Real\r\nSC_TYPE=PROGRAM\r\n SC_TYPE=FOLDER\r\nsc_type=FOLDER\r\n"
                             "SC_TYPE =FOLDER\r\nSC_PATH=good\r\nSC_PATHX=bad\r\nsc_cmln=no\r\nSC_CMLN=yes\r\n");
  ASSERT_EQ(records.size(), 1u);
  ExpectRecord(records[0], "Real", "PROGRAM", "good", "yes");
}

TEST(DataFileReading, ValueLinesOutsideARecordAreIgnored) {
  // Lines before the first name, and a second command line for a finished record.
  const auto records = Parse("SC_TYPE=PROGRAM\r\nSC_PATH=stray\r\nSC_CMLN=stray\r\n" +
                             RecordLines("Only", "FOLDER", "f", "") + "SC_CMLN=again\r\nSC_PATH=again\r\n");
  ASSERT_EQ(records.size(), 1u);
  ExpectRecord(records[0], "Only", "FOLDER", "f", "");
}

TEST(DataFileReading, LineEndsOfEveryKind) {
  // LF alone ends a line; a CR that is not followed by LF is text; the last line needs no end.
  auto records = Parse("SC_NAME=A\nSC_TYPE=FOLDER\nSC_PATH=p\nSC_CMLN=c");
  ASSERT_EQ(records.size(), 1u);
  ExpectRecord(records[0], "A", "FOLDER", "p", "c");

  records = Parse("SC_NAME=A\rSC_TYPE=FOLDER\r\nSC_PATH=p\r\nSC_CMLN=c\r");
  ASSERT_EQ(records.size(), 1u);
  ExpectRecord(records[0], "A\rSC_TYPE=FOLDER", "", "p", "c\r");
}

TEST(DataFileReading, BinaryJunkAndNulBytesNeverBreakTheReader) {
  std::string junk(4096, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131 + 7) % 256);
  const std::string name("N\0ul", 4);
  const auto records = Parse(junk + "\n" + RecordLines(name, "PROGRAM", "p", "c") + junk);
  ASSERT_GE(records.size(), 1u);
  EXPECT_EQ(records[0].m_strName, name);  // the NUL is kept, not cut
}

TEST(DataFileReading, AMegabyteLineIsReadWhole) {
  const std::string longPath(1 << 20, 'x');
  const auto records = Parse(RecordLines("Big", "PROGRAM", longPath, ""));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].m_strTarget.size(), longPath.size());
}

TEST(DataFileReading, EmptyAndHeaderOnlyFilesHoldNoRecords) {
  EXPECT_TRUE(Parse("").empty());
  EXPECT_TRUE(Parse(kHeader).empty());
  EXPECT_TRUE(Parse("\r\n\r\n\n").empty());
  EXPECT_TRUE(Parse("\n" + kHeader).empty());  // a blank first line has no last byte to look at
}

TEST(DataFileReading, OnlyAFileThatIsNotUtf8IsConvertedAndOnlyByAUtf8Program) {
  const std::string utf8 = kHeader + RecordLines("Caf\xC3\xA9 \xF0\x9F\x98\x80", "FOLDER", "C:\\\xD0\x96", "");
  const std::string legacy = RecordLines("Caf\xE9", "FOLDER", "C:\\Caf\xE9", "");
  EXPECT_EQ(ChooseDataFileCoding(kHeader, true), DataFileCoding::AsStored);
  EXPECT_EQ(ChooseDataFileCoding(utf8, true), DataFileCoding::AsStored);
  EXPECT_EQ(ChooseDataFileCoding(legacy, true), DataFileCoding::FromLegacyCodePage);
  EXPECT_EQ(ChooseDataFileCoding(utf8 + legacy, true), DataFileCoding::FromLegacyCodePage);  // one byte is enough
  // In the legacy code page itself, as on Windows before 10 version 1903, the file is as it was.
  EXPECT_EQ(ChooseDataFileCoding(legacy, false), DataFileCoding::AsStored);
}
