#include "catalogue/DataFile.h"

#include <gtest/gtest.h>

#include "catalogue/CatalogueList.h"
#include "catalogue/DataFileFormat.h"
#include "support/ModalResponder.h"
#include "support/TestFiles.h"
#include "support/TestListWindow.h"
#include "util/AtomicFile.h"
#include "util/SystemUtil.h"

using namespace ol;
using namespace oltest;

namespace {

std::string Header() {
  std::string text;
  for (auto line : kDataFileHeader) text += std::string(line) + "\r\n";
  return text;
}

std::string Lines(const std::string& name, const std::string& type, const std::string& path,
                  const std::string& commandLine = "") {
  return "SC_NAME=" + name + "\r\nSC_TYPE=" + type + "\r\nSC_PATH=" + path + "\r\nSC_CMLN=" + commandLine + "\r\n";
}

void ExpectErrorBox(const SeenDialog& seen, std::string_view title, std::string_view text) {
  EXPECT_EQ(seen.title, title);
  EXPECT_EQ(seen.text, text);
  EXPECT_EQ(seen.icon, "hand");
  EXPECT_EQ(seen.ButtonTexts(), "OK");
}

// Another program (tools/HoldFile.cpp) holds the file open without delete sharing for a
// while; the hold has begun when this returns.
class HeldByAnotherProgram {
 public:
  HeldByAnotherProgram(const std::string& path, int milliseconds) {
    STARTUPINFOA startup{sizeof startup};
    std::string commandLine = "holdfile \"" + path + "\" " + std::to_string(milliseconds);
    const std::string program = TestBinDirectory() + "\\holdfile.exe";
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &m_process)) {
      return;
    }
    for (int i = 0; i < 500; ++i) {
      HANDLE probe = ::CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
      if (probe == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION) {
        m_holding = true;
        break;
      }
      if (probe != INVALID_HANDLE_VALUE) ::CloseHandle(probe);
      ::Sleep(10);
    }
  }
  ~HeldByAnotherProgram() {
    if (m_process.hProcess == nullptr) return;
    ::WaitForSingleObject(m_process.hProcess, 30000);
    ::CloseHandle(m_process.hProcess);
    ::CloseHandle(m_process.hThread);
  }
  bool Holding() const { return m_holding; }

 private:
  PROCESS_INFORMATION m_process{};
  bool m_holding = false;
};

class DataFileTest : public ::testing::Test {
 protected:
  void SetUp() override { m_liveBefore = LiveShortcutRecordCount(); }
  void TearDown() override {
    AtomicFileWriter::FailAfterBytesForTesting(std::nullopt);
    EXPECT_EQ(LiveShortcutRecordCount(), m_liveBefore) << "every record is freed exactly once";
  }
  std::string DataPath() const { return m_dir / "LaunchData.olf"; }

  ScratchDir m_dir;
  long m_liveBefore = 0;
};

}  // namespace

TEST_F(DataFileTest, LoadsInFileOrderWithIconsByTheLoadingRule) {
  const std::string recorder = RecorderPath();
  ASSERT_TRUE(WriteFileBytes(DataPath(), Header() + Lines("Zeta", "PROGRAM", recorder, "-z") +
                                             Lines("alpha", "FOLDER", m_dir.Path()) +
                                             Lines("Gone", "PROGRAM", m_dir / "gone.exe") +
                                             Lines("Beta", "PROGRAM", recorder) +
                                             Lines("lower", "program", recorder)));
  TestListWindow window;
  ModalResponder responder;
  CDataFile file(DataPath());
  file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());

  EXPECT_TRUE(responder.Seen().empty());
  EXPECT_EQ(window.Names(), (std::vector<std::string>{"Zeta", "alpha", "Gone", "Beta", "lower"}));
  // Each program with an icon gets images of its own, even when the target repeats.
  EXPECT_EQ(window.IconIndices(), (std::vector<int>{2, 1, 0, 3, 1}));
  EXPECT_EQ(window.ItemImages(), window.IconIndices());
  EXPECT_EQ(window.Large().GetImageCount(), 4);
  EXPECT_EQ(window.Small().GetImageCount(), 4);
  EXPECT_EQ(window.List().GetItemText(0, 1), recorder);
  EXPECT_EQ(window.RecordAt(0).m_strCommandLine, "-z");
  EXPECT_EQ(window.RecordAt(4).m_strType, "program");
  // The shared extraction gives the same pictures as extracting one by one would.
  EXPECT_EQ(ImagePixels(window.Large().GetSafeHandle(), 2), ImagePixels(window.Large().GetSafeHandle(), 3));
  EXPECT_NE(ImagePixels(window.Large().GetSafeHandle(), 2), ImagePixels(window.Large().GetSafeHandle(), 1));
  EXPECT_NE(ImagePixels(window.Small().GetSafeHandle(), 3), ImagePixels(window.Small().GetSafeHandle(), 0));
}

TEST_F(DataFileTest, SavingSortsAndWritesTheCatalogueFormat) {
  ASSERT_TRUE(WriteFileBytes(DataPath(), Lines("Zeta", "FOLDER", "z") + Lines("alpha", "FOLDER", "a") +
                                             Lines("Beta", "program", "b", " keep  blanks ")));
  TestListWindow window;
  CDataFile file(DataPath());
  file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
  file.SaveShortcuts(window.List(), window.Frame());

  EXPECT_EQ(window.Names(), (std::vector<std::string>{"Beta", "Zeta", "alpha"}));  // on screen too
  EXPECT_EQ(ReadFileBytes(DataPath()), Header() + Lines("Beta", "program", "b", " keep  blanks ") +
                                           Lines("Zeta", "FOLDER", "z") + Lines("alpha", "FOLDER", "a"));
  EXPECT_EQ(FilesIn(m_dir.Path()), (std::vector<std::string>{"LaunchData.olf"}));  // no temporary file left
}

TEST_F(DataFileTest, NoFileMeansAnEmptyCatalogueAndTheHeaderIsWrittenAtExit) {
  TestListWindow window;
  ModalResponder responder;
  CDataFile file(DataPath());
  file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
  EXPECT_EQ(window.List().GetItemCount(), 0);
  file.SaveShortcuts(window.List(), window.Frame());
  EXPECT_TRUE(responder.Seen().empty());
  EXPECT_EQ(ReadFileBytes(DataPath()), Header());
}

TEST_F(DataFileTest, AnUnreadableFileIsReportedAndKeptAsABackupBeforeTheExitsWriteNeverOverwritingOne) {
  // Two runs in a row start while another program holds the file open without sharing it:
  // each keeps what it could not read in a backup of its own.
  const std::string first = Header() + Lines("Precious", "FOLDER", "p");
  ASSERT_TRUE(WriteFileBytes(DataPath(), first));
  std::string expected = first;
  for (int run = 0; run < 2; ++run) {
    HANDLE lock = ::CreateFileA(DataPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    TestListWindow window;
    CDataFile file(DataPath());
    {
      ModalResponder responder({IDOK});
      file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
      ASSERT_EQ(responder.Seen().size(), 1u);
      ExpectErrorBox(responder.Seen()[0], kReadErrorTitle, kReadErrorText);
    }
    EXPECT_EQ(window.List().GetItemCount(), 0);
    ::CloseHandle(lock);

    const std::string name = "New" + std::to_string(run);
    InsertShortcutItem(window.List(), 0, NewShortcutRecord(CShortcut{"FOLDER", name, "n", "", kIconFolder}));
    file.SaveShortcuts(window.List(), window.Frame());
    EXPECT_EQ(ReadFileBytes(BackupPathFor(DataPath(), run)), expected) << run;
    expected = Header() + Lines(name, "FOLDER", "n");
    EXPECT_EQ(ReadFileBytes(DataPath()), expected);
  }
  EXPECT_EQ(ReadFileBytes(m_dir / "LaunchData.olf.bak"), first);
  EXPECT_EQ(FilesIn(m_dir.Path()),
            (std::vector<std::string>{"LaunchData.olf", "LaunchData.olf.1.bak", "LaunchData.olf.bak"}));
}

TEST_F(DataFileTest, AnUnreadableFileIsNotReplacedWhenNoBackupCanBeMade) {
  const std::string old = Header() + Lines("Precious", "FOLDER", "p");
  ASSERT_TRUE(WriteFileBytes(DataPath(), old));
  HANDLE lock = ::CreateFileA(DataPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  TestListWindow window;
  CDataFile file(DataPath());
  ModalResponder responder({IDOK, IDOK});
  file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
  file.SaveShortcuts(window.List(), window.Frame());  // still locked: the backup copy fails
  ::CloseHandle(lock);
  const auto seen = responder.Seen();
  ASSERT_EQ(seen.size(), 2u);
  ExpectErrorBox(seen[1], kWriteErrorTitle, kWriteErrorText);
  EXPECT_EQ(ReadFileBytes(DataPath()), old);
  EXPECT_FALSE(ReadFileBytes(BackupPathFor(DataPath(), 0)));
  EXPECT_EQ(FilesIn(m_dir.Path()), (std::vector<std::string>{"LaunchData.olf"}));
}

TEST_F(DataFileTest, AFolderThatCannotBeWrittenIsReported) {
  TestListWindow window;
  InsertShortcutItem(window.List(), 0, NewShortcutRecord(CShortcut{"FOLDER", "New", "n", "", kIconFolder}));
  CDataFile file(m_dir / "missing-folder\\LaunchData.olf");
  ModalResponder responder({IDOK});
  file.SaveShortcuts(window.List(), window.Frame());
  ASSERT_EQ(responder.Seen().size(), 1u);
  ExpectErrorBox(responder.Seen()[0], kWriteErrorTitle, kWriteErrorText);
  EXPECT_FALSE(PathExists(m_dir / "missing-folder"));
}

TEST_F(DataFileTest, AWriteThatFailsMidwayLeavesTheOldFileByteForByte) {
  const std::string old = Header() + Lines("Old", "FOLDER", "o");
  ASSERT_TRUE(WriteFileBytes(DataPath(), old));
  TestListWindow window;
  for (int i = 0; i < 3000; ++i) {
    InsertShortcutItem(window.List(), i,
                       NewShortcutRecord(CShortcut{"FOLDER", "Folder " + std::to_string(i), "C:\\f", "", 1}));
  }
  AtomicFileWriter::FailAfterBytesForTesting(70000);  // past the first 64 KiB block
  CDataFile file(DataPath());
  ModalResponder responder({IDOK});
  file.SaveShortcuts(window.List(), window.Frame());
  ASSERT_EQ(responder.Seen().size(), 1u);
  ExpectErrorBox(responder.Seen()[0], kWriteErrorTitle, kWriteErrorText);
  EXPECT_EQ(ReadFileBytes(DataPath()), old);
  EXPECT_EQ(FilesIn(m_dir.Path()), (std::vector<std::string>{"LaunchData.olf"}));
}

TEST_F(DataFileTest, AReplaceThatFailsLeavesTheOldContentsAndNoTemporaryFile) {
  // A folder standing where the file should be cannot be replaced by a file.
  ASSERT_TRUE(::CreateDirectoryA(DataPath().c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(DataPath() + "\\inside.txt", "keep"));
  TestListWindow window;
  CDataFile file(DataPath());
  ModalResponder responder({IDOK});
  file.SaveShortcuts(window.List(), window.Frame());
  ASSERT_EQ(responder.Seen().size(), 1u);
  ExpectErrorBox(responder.Seen()[0], kWriteErrorTitle, kWriteErrorText);
  EXPECT_EQ(ReadFileBytes(DataPath() + "\\inside.txt"), "keep");
  EXPECT_EQ(FilesIn(m_dir.Path()), (std::vector<std::string>{"LaunchData.olf"}));
}

TEST_F(DataFileTest, AFileHeldOpenBrieflyIsWaitedForAndKeepsItsAttributesOneHeldLongerIsReported) {
  ASSERT_TRUE(WriteFileBytes(DataPath(), Header() + Lines("Old", "FOLDER", "o")));
  ASSERT_TRUE(::SetFileAttributesA(DataPath().c_str(), FILE_ATTRIBUTE_HIDDEN));
  TestListWindow window;
  InsertShortcutItem(window.List(), 0, NewShortcutRecord(CShortcut{"FOLDER", "New", "n", "", kIconFolder}));
  CDataFile file(DataPath());
  const std::string saved = Header() + Lines("New", "FOLDER", "n");
  {
    HeldByAnotherProgram scanner(DataPath(), 500);
    ASSERT_TRUE(scanner.Holding());
    ModalResponder responder({IDOK});
    file.SaveShortcuts(window.List(), window.Frame());
    EXPECT_TRUE(responder.Seen().empty());
  }
  EXPECT_EQ(ReadFileBytes(DataPath()), saved);
  EXPECT_NE(::GetFileAttributesA(DataPath().c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(FilesIn(m_dir.Path()), (std::vector<std::string>{"LaunchData.olf"}));

  InsertShortcutItem(window.List(), 1, NewShortcutRecord(CShortcut{"FOLDER", "Later", "l", "", kIconFolder}));
  {
    HeldByAnotherProgram editor(DataPath(), 8000);
    ASSERT_TRUE(editor.Holding());
    ModalResponder responder({IDOK});
    file.SaveShortcuts(window.List(), window.Frame());
    ASSERT_EQ(responder.Seen().size(), 1u);
    ExpectErrorBox(responder.Seen()[0], kWriteErrorTitle, kWriteErrorText);
  }
  EXPECT_EQ(ReadFileBytes(DataPath()), saved);
  EXPECT_EQ(FilesIn(m_dir.Path()), (std::vector<std::string>{"LaunchData.olf"}));
}

TEST_F(DataFileTest, JunkNulBytesAndHugeLinesLoadWithoutHarm) {
  std::string junk(5000, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 37 + 11) % 256);
  const std::string longPath(1 << 20, 'p');
  ASSERT_TRUE(WriteFileBytes(DataPath(), junk + "\n" + Lines(std::string("N\0ul", 4), "FOLDER", longPath) + junk));
  TestListWindow window;
  CDataFile file(DataPath());
  file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
  ASSERT_GE(window.List().GetItemCount(), 1);
  EXPECT_EQ(window.RecordAt(0).m_strName, std::string("N\0ul", 4));
  EXPECT_EQ(window.RecordAt(0).m_strTarget.size(), longPath.size());
  file.SaveShortcuts(window.List(), window.Frame());
  const auto saved = ReadFileBytes(DataPath());
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find(Lines(std::string("N\0ul", 4), "FOLDER", longPath)), std::string::npos);
}

TEST_F(DataFileTest, ManyShortcutsToFewTargetsKeepTheOneByOneIndices) {
  std::string bytes = Header();
  for (int i = 0; i < 300; ++i) bytes += Lines("P" + std::to_string(i), "PROGRAM", RecorderPath());
  ASSERT_TRUE(WriteFileBytes(DataPath(), bytes));
  TestListWindow window;
  CDataFile file(DataPath());
  file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
  ASSERT_EQ(window.List().GetItemCount(), 300);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(window.RecordAt(i).m_nIconIndex, i + 2);
  EXPECT_EQ(window.Large().GetImageCount(), 302);
  EXPECT_EQ(window.Small().GetImageCount(), 302);
}

TEST_F(DataFileTest, TenThousandMixedShortcutsLoadWithOneByOneIndices) {
  // Programs with an icon, programs on a drive that does not exist, folders, empty and very
  // long names, in a repeating mix: every record loads, numbered as one-by-one appends number
  // them, and the lists end with exactly the images used. (Saving ten thousand records is
  // checked byte for byte by KillDuringSaveTest.)
  const std::string longName(1200, 'n');
  std::string bytes = Header();
  std::vector<int> expected;
  int next = 2;
  for (int i = 0; i < 10000; ++i) {
    switch (i % 5) {
      case 0:
        bytes += Lines("P" + std::to_string(i), "PROGRAM", RecorderPath());
        expected.push_back(next++);
        break;
      case 1:
        bytes += Lines("M" + std::to_string(i), "PROGRAM", "Q:\\not\\there\\game.exe");
        expected.push_back(kIconNone);
        break;
      case 2:
        bytes += Lines("F" + std::to_string(i), "FOLDER", "C:\\windows");
        expected.push_back(kIconFolder);
        break;
      case 3:
        bytes += Lines("", "PROGRAM", RecorderPath());
        expected.push_back(next++);
        break;
      default:
        bytes += Lines(longName + std::to_string(i), "PROGRAM", "Q:\\" + longName + ".exe");
        expected.push_back(kIconNone);
        break;
    }
  }
  ASSERT_TRUE(WriteFileBytes(DataPath(), bytes));
  TestListWindow window;
  CDataFile file(DataPath());
  file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
  ASSERT_EQ(window.List().GetItemCount(), 10000);
  for (int i = 0; i < 10000; ++i) ASSERT_EQ(window.RecordAt(i).m_nIconIndex, expected[i]) << "record " << i;
  EXPECT_EQ(window.Large().GetImageCount(), next);
  EXPECT_EQ(window.Small().GetImageCount(), next);
  EXPECT_EQ(ImagePixels(window.Large().GetSafeHandle(), next - 1), ImagePixels(window.Large().GetSafeHandle(), 2));
  EXPECT_EQ(window.RecordAt(9999).m_strName, longName + "9999");
}
