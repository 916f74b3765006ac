// The catalogue's lock file, with the answers Windows gives where the lock is out of reach:
// access denied counts as another copy holding it when the file is there; a folder that
// takes no file at all (nothing could be saved there either) lets the copy run.
#include "app/CatalogueLock.h"

#include <gtest/gtest.h>

#include "support/FaultyFileSystem.h"
#include "support/TestFiles.h"
#include "util/SystemUtil.h"

using namespace oltest;
using Outcome = ol::CCatalogueLock::Outcome;

TEST(CatalogueLockTest, HeldByACopyOutOfReachOrInAFolderThatTakesNoFiles) {
  struct Row {
    const char* what;
    DWORD error;     // the lock file's open fails with it; 0 for no failure
    bool lockThere;  // a lock file is in the folder
    Outcome outcome;
  } const rows[] = {
      {"free", 0, false, Outcome::kRun},
      {"left by a copy that ended with its machine", 0, true, Outcome::kRun},
      {"held by another session", ERROR_SHARING_VIOLATION, true, Outcome::kHeldElsewhere},
      {"held by another user", ERROR_ACCESS_DENIED, true, Outcome::kHeldElsewhere},
      {"read-only folder", ERROR_ACCESS_DENIED, false, Outcome::kRun},
      {"read-only medium", ERROR_WRITE_PROTECT, false, Outcome::kRun},
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
      if (row.error != 0) files.Fail(FsCall::Open, 1, row.error, true);
      ol::CCatalogueLock lock(dir / "LaunchData.olf");
      EXPECT_EQ(lock.Take(), row.outcome);
      if (row.error == 0) {  // held without sharing: no other copy opens it
        EXPECT_EQ(::CreateFileA(lockPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
      }
    }
    EXPECT_EQ(ol::PathExists(lockPath), row.lockThere && row.error != 0) << "gone with the copy that held it";
  }
}
