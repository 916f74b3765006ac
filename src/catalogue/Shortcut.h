// The shortcut record and the catalogue's rules: order, forbidden executables, duplicate
// targets and default names. Portable.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "util/PathText.h"

namespace ol {

inline constexpr std::string_view kTypeProgram = "PROGRAM";
inline constexpr std::string_view kTypeFolder = "FOLDER";

// Icon index 0: a program whose target gave no icon; 1: the folder image; 2 and up: the
// target's own icon, at the same position in the large and the small image list.
inline constexpr std::int32_t kIconNone = 0;
inline constexpr std::int32_t kIconFolder = 1;

class CShortcut {
 public:
  std::string m_strType;
  std::string m_strName;
  std::string m_strTarget;
  std::string m_strCommandLine;
  std::int32_t m_nIconIndex = kIconNone;

  // Only the exact text "PROGRAM" makes a program shortcut; any other type is a folder.
  bool IsProgram() const { return m_strType == kTypeProgram; }
};

// Catalogue order: names compared byte by byte as unsigned values, letter case significant.
// Returns -1, 0 or 1.
int CompareShortcutNames(const CShortcut& first, const CShortcut& second);

// The chosen file's name (with extension, without directory) is one of the launcher's own
// or the games' executables, whatever its letter case.
bool IsForbiddenExecutable(std::string_view fileName);

// Position of the first record, in list order, whose type is exactly `type` and whose target
// equals `target` byte for byte; -1 when there is none. `recordAt` may return null for an
// item without a record.
int FindDuplicateTarget(int count, const std::function<const CShortcut*(int)>& recordAt,
                        std::string_view type, std::string_view target);

// The targets of the catalogue's program and folder records, for the duplicate rule applied
// to many new records in a row without walking the list for each.
class CTargetIndex {
 public:
  // Indexes a record under its type; only the exact types "PROGRAM" and "FOLDER" count.
  void Add(const CShortcut& record);
  // True when a record of exactly `type` has this target, byte for byte.
  bool Contains(std::string_view type, std::string_view target) const;

 private:
  static std::string Key(std::string_view type, std::string_view target);
  std::unordered_set<std::string> m_keys;
};

// A new program shortcut's name: the file name cut before its last ".".
std::string DefaultProgramName(std::string_view fileName);

// A new folder shortcut's name: the folder path's last element ("" for a drive root).
std::string DefaultFolderName(std::string_view folderPath, LeadByteTest isLeadByte);

}  // namespace ol

namespace ol {

// Records live on the heap, one per list item, as the item's data value. They are made and
// destroyed only here, so that a count of live records can show leaks and double frees.
CShortcut* NewShortcutRecord(CShortcut record);
void DeleteShortcutRecord(CShortcut* record);
long LiveShortcutRecordCount();

}  // namespace ol
