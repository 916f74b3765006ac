// The catalogue's lock file at start-up, with the answers Windows gives where the lock is out
// of reach: a copy out of reach holds it, or it is going while a scanner lets go of it, or the
// folder takes no file at all (nor a save), which the user is told at once.
#include "app/CatalogueLock.h"

#include <gtest/gtest.h>

#include "support/FaultyFileSystem.h"
#include "support/ModalResponder.h"
#include "support/TestFiles.h"
#include "util/SystemUtil.h"

using namespace oltest;

TEST(CatalogueLockTest, HeldGoingOrInAFolderThatTakesNoFilesAtStartUp) {
  constexpr int kAlways = 1 << 30;
  struct Row {
    const char* what;
    DWORD openError, attributesError;  // the lock file's open and its attributes fail with these
    int times;                         // that many times in a row
    bool lockThere;                    // a lock file is in the folder
    bool runs, locked;                 // this copy runs; it holds the lock file without sharing
    const char* told;                  // the title of the message shown; "" for none
  } const rows[] = {
      {"free", 0, 0, 0, false, true, true, ""},
      {"left by a copy that ended with its machine", 0, 0, 0, true, true, true, ""},
      {"held by another session", ERROR_SHARING_VIOLATION, 0, kAlways, true, false, false, ol::kCatalogueInUseTitle},
      {"held by another user", ERROR_ACCESS_DENIED, 0, kAlways, true, false, false, ol::kCatalogueInUseTitle},
      {"let go by a closing copy, a scanner still on it", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, 20, false, true,
       true, ""},
      {"let go, a scanner on it for long", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, kAlways, false, false, false,
       ol::kCatalogueInUseTitle},
      {"read-only folder", ERROR_ACCESS_DENIED, 0, kAlways, false, true, false, ol::kCatalogueNotKeptTitle},
      {"read-only medium", ERROR_WRITE_PROTECT, 0, kAlways, false, true, false, ol::kCatalogueNotKeptTitle},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ScratchDir dir;
    const std::string lockPath = ol::CCatalogueLock::LockPathFor(dir / "LaunchData.olf");
    if (row.lockThere) {
      ASSERT_TRUE(WriteFileBytes(lockPath, ""));
    }
    {
      FaultyFileSystem files;
      if (row.openError != 0) files.FailNext(FsCall::Open, row.times, row.openError);
      if (row.attributesError != 0) files.FailNext(FsCall::Attributes, row.times, row.attributesError);
      ModalResponder responder(ModalResponder::Press(IDOK));
      ol::CCatalogueLock lock(dir / "LaunchData.olf");
      EXPECT_EQ(lock.TakeAtStartUp(), row.runs);
      EXPECT_EQ(responder.Seen().size(), *row.told ? 1u : 0u);
      for (const SeenDialog& seen : responder.Seen()) {
        EXPECT_EQ(seen.title, row.told);
        EXPECT_NE(seen.text.find("\n" + dir.Path() + "\n"), std::string::npos) << seen.text;
      }
      HANDLE other = ::CreateFileA(lockPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
      EXPECT_EQ(other == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION, row.locked);
      if (other != INVALID_HANDLE_VALUE) ::CloseHandle(other);
    }
    EXPECT_EQ(ol::PathExists(lockPath), row.lockThere && !row.locked) << "gone with the copy that held it";
  }
}
