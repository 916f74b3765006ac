// LaunchData.olf next to the executable: read once into the list at start-up, written once
// from the list at shut-down. Both report their failures in message boxes owned by the view.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/CatalogueIcons.h"

#include "framework/ImageList.h"
#include "framework/ListCtrl.h"

namespace ol {

inline constexpr std::string_view kReadErrorTitle = "Data File Read Error";
inline constexpr std::string_view kReadErrorText =
    "An error was encountered while trying to read the\nOrbels Launch data file (LaunchData.olf). No stored\n"
    "categories or shortcuts can be loaded!";
inline constexpr std::string_view kWriteErrorTitle = "Data File Write Error";
inline constexpr std::string_view kWriteErrorText =
    "An error was encountered while trying to write the\nOrbels Launch data file (LaunchData.olf). No stored\n"
    "categories or shortcuts can be written for future use!";
inline constexpr std::string_view kRestoredTitle = "Data File Restored";
inline constexpr std::string_view kRestoredText =
    "The data file (LaunchData.olf) was missing: Orbels Launch was stopped while it saved it last time.\n\n"
    "Your shortcuts have been restored from the file it was saving, LaunchData.olf.tmp.";

// LaunchData.olf in the launcher's directory.
std::string DefaultDataFilePath();

class CDataFile {
 public:
  // The data file in the launcher's directory.
  CDataFile();
  explicit CDataFile(std::string path) : m_strPath(std::move(path)) {}

  const std::string& GetPath() const { return m_strPath; }

  // Fills the empty list with the file's records in file order, each program with a position
  // of its own in the image lists, where its picture is put later (PlanCatalogueIcons).
  // A missing file is an empty catalogue, unless the last save left the only copy of it beside
  // it: that is put in place first, and the user told. An unreadable file is reported. A file
  // in the legacy code page of an earlier version (not valid UTF-8) is converted from the
  // system's legacy code page when the program runs with the UTF-8 code page.
  void LoadShortcuts(const CListCtrl& list, CImageList& large, CImageList& small, HWND owner);

  // Sorts the list into catalogue order and writes every record. A file that was there but
  // could not be read at start-up, or was converted from the legacy code page, is first kept
  // as a backup beside it (LaunchData.olf.bak, or the next free LaunchData.olf.N.bak), and is
  // not replaced when that fails.
  void SaveShortcuts(const CListCtrl& list, HWND owner);

 private:
  std::string m_strPath;
  bool m_bUnreadableAtLoad = false;
  bool m_bLegacyCodePageAtLoad = false;
};

}  // namespace ol
