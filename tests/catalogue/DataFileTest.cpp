#include "catalogue/DataFile.h"

#include <gtest/gtest.h>

#include "catalogue/CatalogueList.h"
#include "catalogue/DataFileFormat.h"
#include "support/FaultyFileSystem.h"
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
  window.FetchIcons();

  EXPECT_TRUE(responder.Seen().empty());
  EXPECT_EQ(window.Names(), (std::vector<std::string>{"Zeta", "alpha", "Gone", "Beta", "lower"}));
  // Each program gets a position of its own in file order, even when the target repeats; one
  // whose target is gone leaves its position unused and gets image 0.
  EXPECT_EQ(window.IconIndices(), (std::vector<int>{2, 1, 0, 4, 1}));
  EXPECT_EQ(window.ItemImages(), window.IconIndices());
  EXPECT_EQ(window.Large().GetImageCount(), 5);
  EXPECT_EQ(window.Small().GetImageCount(), 5);
  EXPECT_EQ(window.List().GetItemText(0, 1), recorder);
  EXPECT_EQ(window.RecordAt(0).m_strCommandLine, "-z");
  EXPECT_EQ(window.RecordAt(4).m_strType, "program");
  // The shared extraction gives the same pictures as extracting one by one would.
  EXPECT_EQ(ImagePixels(window.Large().GetSafeHandle(), 2), ImagePixels(window.Large().GetSafeHandle(), 4));
  EXPECT_NE(ImagePixels(window.Large().GetSafeHandle(), 2), ImagePixels(window.Large().GetSafeHandle(), 1));
  EXPECT_NE(ImagePixels(window.Small().GetSafeHandle(), 4), ImagePixels(window.Small().GetSafeHandle(), 0));
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

TEST_F(DataFileTest, AnUnreadableFileIsReportedAndKeptAsABackupNumberedAfterTheHighest) {
  // Two runs in a row start while another program holds the file open without sharing it:
  // each keeps what it could not read in a backup of its own, numbered after the highest
  // present (the user deleted LaunchData.olf.bak), so that the highest is the newest. One that
  // only reads it, sharing it for reading (a backup program), does not stop the load.
  const std::string first = Header() + Lines("Precious", "FOLDER", "p");
  ASSERT_TRUE(WriteFileBytes(DataPath(), first));
  {
    HANDLE reader = ::CreateFileA(DataPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    TestListWindow window;
    ModalResponder responder;  // answers the read error, if any
    CDataFile(DataPath()).LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
    ::CloseHandle(reader);
    EXPECT_EQ(window.Names(), (std::vector<std::string>{"Precious"}));
  }
  ASSERT_TRUE(WriteFileBytes(m_dir / "LaunchData.olf.1.bak", "kept by the user"));
  ASSERT_TRUE(WriteFileBytes(m_dir / "LaunchData.olf.old.bak", "not one of ours"));
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
    EXPECT_EQ(ReadFileBytes(BackupPathFor(DataPath(), run + 2)), expected) << run;
    expected = Header() + Lines(name, "FOLDER", "n");
    EXPECT_EQ(ReadFileBytes(DataPath()), expected);
  }
  EXPECT_EQ(ReadFileBytes(m_dir / "LaunchData.olf.2.bak"), first);
  EXPECT_EQ(FilesIn(m_dir.Path()), (std::vector<std::string>{"LaunchData.olf", "LaunchData.olf.1.bak",
                                                             "LaunchData.olf.2.bak", "LaunchData.olf.3.bak",
                                                             "LaunchData.olf.old.bak"}));
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

// Each file-system call of the load and of the save fails in turn, with the answers Windows
// documents for it: the next start finds the old catalogue or the new one, never nothing; the
// old one is never lost; the user is told whenever a load or a save did not happen; and a
// file that another program holds is waited for, about two seconds (on the seam's clock).
TEST_F(DataFileTest, EachFailingCallLeavesTheOldOrTheNewCatalogueAndIsReported) {
  enum Next { kOld, kNew };
  struct Row {
    const char* what;
    bool inLoad;  // where the fault is: the load, or else the save
    FsCall call;
    int nth;
    DWORD error;
    bool persistent;
    bool firstSave;   // no data file before
    bool heldAtLoad;  // the load found the file held throughout, so the save keeps a backup
    Next next;        // what the next start loads
    bool told;        // the read or the write error was shown
  };
  constexpr bool kOnce = false, kAlways = true;
  const Row rows[] = {
      {"scanner on the new file", false, FsCall::Open, 1, ERROR_SHARING_VIOLATION, kOnce, false, false, kNew, false},
      {"folder not writable", false, FsCall::Open, 1, ERROR_ACCESS_DENIED, kAlways, false, false, kOld, true},
      {"disk full midway", false, FsCall::Write, 2, ERROR_DISK_FULL, kOnce, false, false, kOld, true},
      {"disk full at flush", false, FsCall::Flush, 1, ERROR_DISK_FULL, kOnce, false, false, kOld, true},
      {"scanner at the attributes", false, FsCall::SetAttributes, 2, ERROR_SHARING_VIOLATION, kOnce, false, false,
       kNew, false},
      {"no access rules to copy", false, FsCall::CopySecurity, 1, ERROR_ACCESS_DENIED, kAlways, false, false, kNew,
       false},
      {"scanner on the old file", false, FsCall::Move, 1, ERROR_SHARING_VIOLATION, kOnce, false, false, kNew, false},
      {"old file being deleted", false, FsCall::Move, 1, ERROR_ACCESS_DENIED, kOnce, false, false, kNew, false},
      {"old file held on", false, FsCall::Move, 1, ERROR_SHARING_VIOLATION, kAlways, false, false, kOld, true},
      {"old file read-only", false, FsCall::Move, 1, ERROR_ACCESS_DENIED, kAlways, false, false, kOld, true},
      {"disk full at the rename", false, FsCall::Move, 1, ERROR_DISK_FULL, kOnce, false, false, kOld, true},
      {"first save, rename refused", false, FsCall::Move, 1, ERROR_ACCESS_DENIED, kAlways, true, false, kNew, true},
      {"first save, disk full", false, FsCall::Write, 1, ERROR_DISK_FULL, kOnce, true, false, kOld, true},
      {"backup, folder unlisted", false, FsCall::List, 1, ERROR_ACCESS_DENIED, kOnce, false, true, kOld, true},
      {"backup, disk full", false, FsCall::Copy, 1, ERROR_DISK_FULL, kOnce, false, true, kOld, true},
      {"backup, scanner", false, FsCall::Copy, 1, ERROR_SHARING_VIOLATION, kOnce, false, true, kNew, false},
      {"scanner at start-up", true, FsCall::Open, 1, ERROR_SHARING_VIOLATION, kOnce, false, false, kNew, false},
      {"held at start-up", true, FsCall::Open, 1, ERROR_SHARING_VIOLATION, kAlways, false, false, kNew, true},
      {"read fails midway", true, FsCall::Read, 2, ERROR_READ_FAULT, kOnce, false, false, kNew, true},
  };
  std::string old = Header();
  for (int i = 1000; i < 2500; ++i) old += Lines("Folder " + std::to_string(i), "FOLDER", "C:\\F" + std::to_string(i));
  ASSERT_GT(old.size(), 65536u);  // written and read in two pieces

  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.what) + ": " + FsCallName(row.call) + " #" + std::to_string(row.nth));
    ScratchDir dir;
    const std::string path = dir / "LaunchData.olf";
    if (!row.firstSave) {
      ASSERT_TRUE(WriteFileBytes(path, old));
    }
    std::string saved;
    std::vector<std::string> titles;
    ULONGLONG waited = 0;
    {
      TestListWindow window;
      ModalResponder responder(ModalResponder::Press(IDOK));
      CDataFile file(path);
      {
        FaultyFileSystem files;
        if (row.inLoad) files.Fail(row.call, row.nth, row.error, row.persistent);
        if (row.heldAtLoad) files.Fail(FsCall::Open, 1, ERROR_SHARING_VIOLATION, kAlways);
        file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
        if (row.inLoad) waited = files.WaitedMs();
      }
      InsertShortcutItem(window.List(), 0, NewShortcutRecord(CShortcut{"FOLDER", "New", "n", "", kIconFolder}));
      {
        FaultyFileSystem files;
        if (!row.inLoad) files.Fail(row.call, row.nth, row.error, row.persistent);
        file.SaveShortcuts(window.List(), window.Frame());
        if (!row.inLoad) waited = files.WaitedMs();
      }
      saved = window.Catalogue();
      for (const SeenDialog& seen : responder.Seen()) titles.push_back(seen.title);
    }
    std::vector<std::string> told;
    if (row.heldAtLoad || (row.inLoad && row.told)) told.emplace_back(kReadErrorTitle);
    if (!row.inLoad && row.told) told.emplace_back(kWriteErrorTitle);
    EXPECT_EQ(titles, told);
    const bool held = row.error == ERROR_SHARING_VIOLATION || row.error == ERROR_ACCESS_DENIED;
    if (held && row.persistent && row.told) {
      EXPECT_GE(waited, 2000u);
      EXPECT_LE(waited, 2100u);
    }
    if (row.heldAtLoad || (row.inLoad && row.told)) {
      EXPECT_TRUE(ReadFileBytes(path) == old || ReadFileBytes(BackupPathFor(path, 0)) == old) << "what was not read";
    }
    const bool restoring = !PathExists(path) && row.next == kNew;  // from the save's temporary file
    EXPECT_FALSE(PathExists(path) && PathExists(path + ".tmp"));

    TestListWindow next;
    ModalResponder responder(ModalResponder::Press(IDOK));
    CDataFile(path).LoadShortcuts(next.List(), next.Large(), next.Small(), next.Frame());
    EXPECT_EQ(next.Catalogue(), row.next == kNew ? saved : row.firstSave ? Header() : old);
    EXPECT_EQ(responder.Seen().size(), restoring ? 1u : 0u) << "the restored file is told";
  }
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

TEST_F(DataFileTest, AFileHeldOpenBrieflyIsWaitedForAndTheNewFileKeepsTheOldOnesAttributes) {
  ASSERT_TRUE(WriteFileBytes(DataPath(), Header() + Lines("Old", "FOLDER", "o")));
  ASSERT_TRUE(::SetFileAttributesA(DataPath().c_str(), FILE_ATTRIBUTE_HIDDEN));
  TestListWindow window;
  InsertShortcutItem(window.List(), 0, NewShortcutRecord(CShortcut{"FOLDER", "New", "n", "", kIconFolder}));
  CDataFile file(DataPath());
  {
    HeldByAnotherProgram scanner(DataPath(), 500);
    ASSERT_TRUE(scanner.Holding());
    ModalResponder responder({IDOK});
    file.SaveShortcuts(window.List(), window.Frame());
    EXPECT_TRUE(responder.Seen().empty());
  }
  EXPECT_EQ(ReadFileBytes(DataPath()), Header() + Lines("New", "FOLDER", "n"));
  EXPECT_NE(::GetFileAttributesA(DataPath().c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
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

TEST_F(DataFileTest, TenThousandMixedShortcutsLoadWithAPositionForEveryProgram) {
  // Programs with an icon, programs on a drive that does not exist, folders, empty and very
  // long names, in a repeating mix: every record loads, each program with a position of its
  // own in file order, and the programs without an icon end at image 0. (Saving ten thousand
  // records is checked byte for byte by KillDuringSaveTest.)
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
        ++next;
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
        ++next;
        break;
    }
  }
  ASSERT_TRUE(WriteFileBytes(DataPath(), bytes));
  TestListWindow window;
  CDataFile file(DataPath());
  file.LoadShortcuts(window.List(), window.Large(), window.Small(), window.Frame());
  window.FetchIcons();
  ASSERT_EQ(window.List().GetItemCount(), 10000);
  for (int i = 0; i < 10000; ++i) ASSERT_EQ(window.RecordAt(i).m_nIconIndex, expected[i]) << "record " << i;
  EXPECT_EQ(window.Large().GetImageCount(), next);
  EXPECT_EQ(window.Small().GetImageCount(), next);
  EXPECT_EQ(ImagePixels(window.Large().GetSafeHandle(), next - 2), ImagePixels(window.Large().GetSafeHandle(), 2));
  EXPECT_EQ(window.RecordAt(9999).m_strName, longName + "9999");
}
