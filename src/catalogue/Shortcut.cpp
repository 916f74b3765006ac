#include "catalogue/Shortcut.h"

#include <array>
#include <cstring>

namespace ol {

int CompareShortcutNames(const CShortcut& first, const CShortcut& second) {
  const std::string& a = first.m_strName;
  const std::string& b = second.m_strName;
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool IsForbiddenExecutable(std::string_view fileName) {
  static constexpr std::array<std::string_view, 3> kForbidden = {"orbels.exe", "orbels2.exe",
                                                                 "orbelslaunch.exe"};
  const std::string lower = ToLowerAscii(fileName);
  for (std::string_view name : kForbidden) {
    if (lower == name) return true;
  }
  return false;
}

int FindDuplicateTarget(int count, const std::function<const CShortcut*(int)>& recordAt,
                        std::string_view type, std::string_view target) {
  for (int i = 0; i < count; ++i) {
    const CShortcut* record = recordAt(i);
    if (record != nullptr && record->m_strType == type && record->m_strTarget == target) return i;
  }
  return -1;
}

void CTargetIndex::Add(const CShortcut& record) {
  if (record.m_strType == kTypeProgram || record.m_strType == kTypeFolder) {
    m_keys.insert(Key(record.m_strType, record.m_strTarget));
  }
}

bool CTargetIndex::Contains(std::string_view type, std::string_view target) const {
  return m_keys.count(Key(type, target)) != 0;
}

std::string CTargetIndex::Key(std::string_view type, std::string_view target) {
  std::string key(type);
  key += '\0';  // no type holds it, so no two pairs give one key
  key += target;
  return key;
}

std::string DefaultProgramName(std::string_view fileName) { return FileTitleOf(fileName); }

std::string DefaultFolderName(std::string_view folderPath, LeadByteTest isLeadByte) {
  return FileNamePartOf(folderPath, isLeadByte);
}

}  // namespace ol

namespace ol {

namespace {
long g_liveRecords = 0;  // one UI thread: no lock needed
}

CShortcut* NewShortcutRecord(CShortcut record) {
  auto* created = new CShortcut(std::move(record));
  ++g_liveRecords;
  return created;
}

void DeleteShortcutRecord(CShortcut* record) {
  if (record == nullptr) return;
  delete record;
  --g_liveRecords;
}

long LiveShortcutRecordCount() { return g_liveRecords; }

}  // namespace ol
