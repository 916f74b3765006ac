// One running copy per catalogue, whatever the session, user or machine. The copy that runs
// holds a lock file beside the data file (LaunchData.olf.lock) open without sharing; Windows
// deletes it when that copy ends, however it ends, and every copy that can reach the folder
// sees it held. In the running copy's own session a named object, made from the data file's
// full path (letter case aside), records its process, so that a later start there can bring
// its window forward and end without reading or writing anything. A copy started from
// another folder has another data file, and so runs alongside.
#pragma once

#include <windows.h>

#include <string>

namespace ol {

inline constexpr const char* kCatalogueInUseTitle = "Shortcut Catalogue In Use";

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
    kBroughtForward,  // the copy that holds it, in this session, was brought to the front
    kHeldElsewhere,   // a copy out of reach (another session, user or machine) holds it
  };
  // Waits for the catalogue. A copy of this session that is starting or closing is waited
  // for: its window is brought forward once shown, and its end frees the catalogue. A folder
  // where no file can be made at all gives kRun: nothing could be saved there either, and the
  // named object still keeps a second copy of this session out.
  Outcome Take();
  // Tells the user that another copy holds the catalogue, naming its folder.
  void ReportHeldElsewhere() const;

  static std::string LockPathFor(const std::string& dataFilePath) { return dataFilePath + ".lock"; }
  // The named object's name for a data file: the same for every spelling of the path.
  static std::string NameFor(const std::string& dataFilePath);

 private:
  enum class LockFile { kTaken, kHeld, kCannotBeMade };
  LockFile TryLockFile();
  void Publish();
  DWORD CopyOfThisSession() const;

  std::string m_strDataPath;
  std::string m_strName;  // the named object's
  HANDLE m_hLockFile = INVALID_HANDLE_VALUE;
  HANDLE m_hShared = nullptr;  // a small named mapping holding the running copy's process id
};

}  // namespace ol
