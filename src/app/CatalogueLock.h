// One running copy per catalogue. The first copy started for a data file holds a named
// object made from the file's full path (letter case aside) and records its process in it.
// A later copy for the same file finds that process's main window through it, brings the
// window forward, and ends without reading or writing anything. A copy started from another
// folder has another data file, and so runs alongside.
#pragma once

#include <windows.h>

#include <string>

namespace ol {

// The visible main frame of the launcher running as process `processId`; nullptr for none.
// Found by its window class and its process together, so that no other program's window of
// the same title ever counts.
HWND FindLauncherFrame(DWORD processId);

class CCatalogueLock {
 public:
  explicit CCatalogueLock(const std::string& dataFilePath);
  ~CCatalogueLock();
  CCatalogueLock(const CCatalogueLock&) = delete;
  CCatalogueLock& operator=(const CCatalogueLock&) = delete;

  // True for the copy that holds the catalogue (also when no lock could be made at all).
  bool IsFirstCopy() const { return m_bFirst; }
  // For a later copy: waits for the first copy's main window, restores it if minimised and
  // brings it, or its open dialog, to the front. False when the first copy ends or shows no
  // window in time.
  bool BringFirstCopyForward() const;

  // The object's name for a data file: the same for every spelling of the path.
  static std::string NameFor(const std::string& dataFilePath);

 private:
  HANDLE m_hShared = nullptr;  // a small named mapping holding the first copy's process id
  bool m_bFirst = true;
};

}  // namespace ol
