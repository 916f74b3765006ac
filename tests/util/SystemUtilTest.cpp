#include "util/SystemUtil.h"

#include <gtest/gtest.h>

#include "support/ModalResponder.h"
#include "support/TestFiles.h"
#include "util/CodePages.h"
#include "util/ErrorText.h"

using namespace ol;
using namespace oltest;

namespace {

// Starts the recorder through StartProgram and returns what it saw.
std::optional<RecordedStart> StartRecorder(const ScratchDir& dir, const std::string& commandLine,
                                           const std::string& workingDirectory) {
  const std::string out = dir / "recording.txt";
  ::DeleteFileA(out.c_str());
  ::SetEnvironmentVariableA("OL_RECORDER_OUT", out.c_str());
  StartProgram(RecorderPath(), commandLine, workingDirectory);
  return WaitForRecording(out);
}

}  // namespace

TEST(PathExists, FilesAndFoldersExistMissingOnesDoNot) {
  ScratchDir dir;
  ASSERT_TRUE(WriteFileBytes(dir / "file.txt", "x"));
  EXPECT_TRUE(PathExists(dir / "file.txt"));
  EXPECT_TRUE(PathExists(dir.Path()));
  EXPECT_TRUE(PathExists(dir.Path() + "\\"));
  EXPECT_FALSE(PathExists(dir / "missing.txt"));
  EXPECT_FALSE(PathExists(dir / "missing-folder\\file.txt"));
  EXPECT_FALSE(PathExists(dir / "missing-folder"));
}

TEST(PathExists, OnlyNotFoundCountsAsMissing) {
  // Whatever else the system answers (a drive that is not ready, a server that cannot be
  // reached, a name no file system holds), the path is not known to be missing.
  EXPECT_TRUE(PathExists("\\\\no-such-server\\share\\tool.exe"));
  EXPECT_TRUE(PathExists("C:\\bad<name>|?.exe"));
}

TEST(LauncherDirectory, IsTheFolderOfTheRunningProgramWithoutABackslash) {
  const std::string directory = GetLauncherDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), '\\');
  EXPECT_TRUE(PathExists(directory + "\\recorder.exe"));  // built beside the test programs
  char module[2048] = {};
  ::GetModuleFileNameA(nullptr, module, sizeof module);
  EXPECT_EQ(std::string(module).rfind(directory + "\\", 0), 0u);
}

TEST(CodePages, TheProgramsIsUtf8WithoutLeadBytesAndALegacyOneSpellsNoLookAlikes) {
  // The test programs carry the launcher's manifest, so they run in its code page.
  ASSERT_EQ(::GetACP(), static_cast<UINT>(CP_UTF8));
  for (int c = 0; c < 256; ++c) EXPECT_FALSE(IsAnsiLeadByte(static_cast<unsigned char>(c))) << c;
  EXPECT_EQ(GetDirectoryPart(R"(C:\Games\Tool\tool.exe)"), R"(C:\Games\Tool)");
  EXPECT_EQ(GetDirectoryPart(R"(C:\tool.exe)"), "C:");
  EXPECT_EQ(GetDirectoryPart("tool.exe"), "");
  EXPECT_EQ(GetFileNamePart(R"(C:\Games\Tool\tool.exe)"), "tool.exe");
  // "表" ends in the byte of a backslash in Shift-JIS; in UTF-8 no character holds that byte.
  EXPECT_EQ(GetDirectoryPart("C:\\表\\Игры 😀\\Ψ.exe"), "C:\\表\\Игры 😀");
  EXPECT_EQ(GetFileNamePart("C:\\表\\Игры 😀\\Ψ.exe"), "Ψ.exe");
  // UTF-8 holds every name; 1252 holds "é", not "Ł" or "ź", nor spells them as "L" and "z".
  EXPECT_EQ(NarrowTextExactly(L"C:\\Łódź 😀"), "C:\\Łódź 😀");
  EXPECT_EQ(NarrowTextExactly(L"C:\\Café", 1252), "C:\\Caf\xE9");
  EXPECT_EQ(NarrowTextExactly(L"C:\\Łódź", 1252), std::nullopt);
  EXPECT_EQ(NarrowText(L"C:\\Łódź", 1252), "C:\\?\xF3" "d?");
}

TEST(SystemErrorText, GivesTheSystemTextOrTheUnknownCodeText) {
  const std::string notFound = GetSystemErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(notFound.empty());
  EXPECT_EQ(notFound.find("Unknown Error Code"), std::string::npos);
  EXPECT_EQ(GetSystemErrorText(0x2000BEEF), UnknownErrorCodeText(0x2000BEEF));
  EXPECT_EQ(GetSystemErrorText(0x2000BEEF), "Unknown Error Code: 0x2000BEEF (48879)");
}

TEST(StartProgram, PassesTheTextAloneAsTheCommandLine) {
  ScratchDir dir;
  const auto seen = StartRecorder(dir, "-skip_intro -w", dir.Path());
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->commandLine, "-skip_intro -w");  // no program path in front
  EXPECT_EQ(seen->workingDirectory, dir.Path());
}

TEST(StartProgram, AnEmptyTextPassesNoCommandLine) {
  // Without a command line the system gives the program its own path (perhaps quoted) as
  // the command line, and nothing else.
  ScratchDir dir;
  const auto seen = StartRecorder(dir, "", dir.Path());
  ASSERT_TRUE(seen);
  EXPECT_TRUE(seen->commandLine == RecorderPath() || seen->commandLine == "\"" + RecorderPath() + "\"")
      << seen->commandLine;
}

TEST(StartProgram, LongCommandLinesArriveWhole) {
  ScratchDir dir;
  for (std::size_t length : {255u, 256u, 1000u, 8000u}) {
    std::string text = " -r";
    while (text.size() < length) text += static_cast<char>('a' + text.size() % 26);
    const auto seen = StartRecorder(dir, text, dir.Path());
    ASSERT_TRUE(seen) << length;
    EXPECT_EQ(seen->commandLine, text) << length;
  }
}

TEST(StartProgram, AFailedStartIsShownWithTheSystemsReason) {
  ScratchDir dir;
  const std::string missing = dir / "no-such-game.exe";
  const std::string notAProgram = dir / "readme.exe";  // text, not a program
  ASSERT_TRUE(WriteFileBytes(notAProgram, "These are notes, not a program.\r\n"));
  ModalResponder responder({IDOK, IDOK});
  StartProgram(missing, "-w", dir.Path());
  StartProgram(notAProgram, "", dir.Path());
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].title, "Program Start Error");
  EXPECT_EQ(seen[0].text, StartFailureText(missing, GetSystemErrorText(ERROR_FILE_NOT_FOUND)));
  EXPECT_EQ(seen[0].icon, "hand");
  EXPECT_EQ(seen[0].ButtonTexts(), "OK");
  EXPECT_EQ(seen[1].title, "Program Start Error");
  EXPECT_EQ(seen[1].text.rfind(StartFailureText(notAProgram, ""), 0), 0u) << seen[1].text;
  EXPECT_EQ(seen[1].text.find("Unknown Error Code"), std::string::npos) << seen[1].text;
}
