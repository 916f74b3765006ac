// One running copy per catalogue, whatever the session, user or machine. The copy that runs
// holds a lock file beside the data file (LaunchData.olf.lock) open without sharing; Windows
// deletes it when that copy ends, however it ends, and every copy that can reach the folder
// sees it held. In the running copy's own session a named object, made from the data file's
// full path (letter case aside), records its process, so that a later start there can bring
// its window forward and end without reading or writing anything. A copy started from
// another folder has another data file, and so runs alongside. A folder where no file can be
// made (read-only media) holds no lock: the copy there runs, and the user is told at once.
#pragma once

#include <windows.h>

#include <string>

namespace ol {

inline constexpr const char* kCatalogueInUseTitle = "Shortcut Catalogue In Use";
inline constexpr const char* kCatalogueNotKeptTitle = "Shortcut Changes Will Not Be Kept";

// The visible main frame of the launcher running as process `processId`; nullptr for none.
// Found by its window class and its process together, so that no other program's window of
// the same title ever counts.
HWND FindLauncherFrame(DWORD processId);

class CCatalogueLock {
 public:
  explicit CCatalogueLock(std::string dataFilePath);
  ~CCatalogueLock();
  CCatalogueLock(const CCatalogueLock&) = delete;
  CCatalogueLock& operator=(const CCatalogueLock&) = delete;

  enum class Outcome {
    kRun,             // this copy holds the catalogue
    kRunUnlocked,     // this copy runs, but its folder takes no lock file (and so no save)
    kBroughtForward,  // the copy that holds it, in this session, was brought to the front
    kHeldElsewhere,   // a copy out of reach (another session, user or machine) holds it
  };
  // Waits for the catalogue. A copy of this session that is starting or closing is waited
  // for: its window is brought forward once shown, and its end frees the catalogue, within
  // a minute; a copy out of reach, or a lock file that is going, within moments. A folder
  // where no file can be made at all gives kRunUnlocked: the named object still keeps a
  // second copy of this session out.
  Outcome Take();
  // Take at start-up, telling the user at once what they are to know: that another copy
  // holds the catalogue, or that changes made in this folder cannot be kept. True when this
  // copy is to run.
  bool TakeAtStartUp();

  static std::string LockPathFor(const std::string& dataFilePath) { return dataFilePath + ".lock"; }
  // The named object's name for a data file: the same for every spelling of the path.
  static std::string NameFor(const std::string& dataFilePath);

 private:
  enum class LockFile { kTaken, kHeld, kCannotBeMade };
  LockFile TryLockFile();
  void ReportHeldElsewhere() const;
  void ReportCannotBeKept() const;
  void Publish();
  DWORD CopyOfThisSession() const;

  std::string m_strDataPath;
  std::string m_strName;  // the named object's
  HANDLE m_hLockFile = INVALID_HANDLE_VALUE;
  HANDLE m_hShared = nullptr;  // a small named mapping holding the running copy's process id
};

}  // namespace ol
