// The icon cache in the arrival: read before a start, the pictures it knows put in by the strip
// (into fresh lists that then take the shown lists' place), written after the catalogue.
#include "listview/IconArrival.h"

#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <tuple>

#include "catalogue/CatalogueList.h"
#include "util/AtomicFile.h"
#include "util/FileSystem.h"

namespace ol {

namespace {

// Known pictures go into fresh lists this many positions at a time; the lists have room for a
// few shortcuts added meanwhile. Without fresh lists, this many jobs' pictures at a time.
constexpr int kRefillAtOnce = 128;
constexpr int kRefillSpare = 64;
constexpr std::size_t kKnownAtOnce = 8;

}  // namespace

void CIconArrival::ReadCache(const std::string& path) {
  m_strCachePath = path;
  m_cache = std::make_shared<CIconCache>(ImageListSizes(m_large, m_small));
  if (const std::optional<std::string> bytes = ReadWholeFile(path)) m_cache->Read(*bytes);
}

void CIconArrival::WriteCache() {
  if (m_strCachePath.empty() || !m_cache) return;
  std::vector<std::string> targets;
  for (int i = 0; i < m_list.GetItemCount(); ++i) {
    const CShortcut* record = RecordAt(m_list, i);
    if (record != nullptr && record->IsProgram()) targets.push_back(TargetOf(record->m_strTarget));
  }
  if (targets.empty()) {
    FileSystem().Delete(m_strCachePath);  // nothing to keep: none is made, an old one goes
    return;
  }
  const std::string bytes = m_cache->Write(targets);
  if (!m_cache->Differs(bytes)) return;
  AtomicFileWriter writer(m_strCachePath);
  if (writer.Open()) writer.Commit(bytes);
}

bool CIconArrival::PlaceKnown() {
  if (m_bRefilling) {
    if (!m_refill) m_refill = std::make_unique<CPictureStrips>(ImageListSizes(m_large, m_small), m_large.GetImageCount() + kRefillSpare);
    // The next strip of positions, each with what it is to show.
    const int count = m_large.GetImageCount();
    const int from = m_refill->Count();
    std::deque<TargetPictures> readBack;
    std::vector<const TargetPictures*> pictures;
    for (int position = from; position < std::min(count, from + kRefillAtOnce); ++position) {
      pictures.push_back(RefillPictures(position, readBack));
    }
    if (!m_refill->Append(pictures)) {
      m_refill.reset();  // no room for fresh lists: the known pictures go in one by one
      m_bRefilling = false;
      m_knownNext = 0;
      return true;
    }
    if (m_refill->Count() >= count) SwapInRefill();
    return true;
  }
  if (m_knownNext >= m_jobs.size()) return false;
  for (std::size_t placed = 0; placed < kKnownAtOnce && m_knownNext < m_jobs.size(); ++placed, ++m_knownNext) {
    for (const int position : m_jobs[m_knownNext].positions) Show(position);
  }
  return true;
}

const TargetPictures* CIconArrival::RefillPictures(int position, std::deque<TargetPictures>& readBack) {
  const Slot* slot = position < static_cast<int>(m_slots.size()) ? &m_slots[static_cast<std::size_t>(position)] : nullptr;
  if (slot != nullptr && slot->gone) return nullptr;
  if (slot != nullptr && slot->job >= 0 && !slot->copiedOld) {
    const Job& job = m_jobs[static_cast<std::size_t>(slot->job)];
    if (job.pictures) return job.pictures.get();
    return slot->loading && m_loading ? &*m_loading : nullptr;
  }
  // The fixed images, and pictures put in for good: as the lists hold them.
  std::optional<TargetPictures> held = PicturesAt(m_large, m_small, position);
  if (!held) return nullptr;
  readBack.push_back(std::move(*held));
  return &readBack.back();
}

void CIconArrival::SwapInRefill() {
  // A list given a new image list may take the system's icon spacing again: the view's stays.
  HWND list = m_list.GetSafeHwnd();
  const LRESULT spacing = ::SendMessageA(list, LVM_GETITEMSPACING, FALSE, 0);
  for (auto [current, fresh, which] : {std::tuple{&m_large, &m_refill->Large(), LVSIL_NORMAL},
                                       std::tuple{&m_small, &m_refill->Small(), LVSIL_SMALL}}) {
    HIMAGELIST handle = fresh->Detach();
    HIMAGELIST old = m_list.SetImageList(handle, which);
    current->Attach(handle);  // the list destroys it with its window, as it did the old one
    current->SetOwnedByControl();
    if (old != nullptr && old != handle) ::ImageList_Destroy(old);
  }
  if (::SendMessageA(list, LVM_GETITEMSPACING, FALSE, 0) != spacing) {
    ::SendMessageA(list, LVM_SETICONSPACING, 0, MAKELPARAM(LOWORD(spacing), HIWORD(spacing)));
  }
  m_refill.reset();
  m_bRefilling = false;
  for (Slot& slot : m_slots) {
    if (slot.job < 0 || slot.copiedOld || !m_jobs[static_cast<std::size_t>(slot.job)].pictures) continue;
    slot.placed = m_jobs[static_cast<std::size_t>(slot.job)].pictures;
    slot.loading = false;
  }
  ::InvalidateRect(list, nullptr, FALSE);
}

}  // namespace ol
