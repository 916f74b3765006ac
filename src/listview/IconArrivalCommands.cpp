// What launching and editing a shortcut ask of the icons: its icon at once, a new program's
// icon, a target changed or reloaded or gone, a shortcut deleted. Every change of a record's
// icon index after the load is made here or in IconArrival.cpp.
#include <algorithm>

#include "listview/IconArrival.h"

namespace ol {

void CIconArrival::Settle(CShortcut& record, int item) {
  const int job = JobOf(record);
  if (job >= 0 && !m_jobs[static_cast<std::size_t>(job)].fetched) {
    m_fetcher.Drop(job);
    const Job& target = m_jobs[static_cast<std::size_t>(job)];
    if (Apply(job, LookAtTarget(target.target, m_launcherDrive, target.folder ? nullptr : &Cache()))) {
      ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
    }
  }
  UpdateItem(record, item);
  if (m_bBusy && !m_fetcher.Busy()) GoOnLater();  // the last job may have gone this way: the end follows
}

void CIconArrival::AddPrograms(const std::vector<CShortcut*>& records) {
  std::vector<std::pair<CShortcut*, CIconCache::Pictures>> found;
  for (CShortcut* record : records) {
    record->m_nIconIndex = kIconNone;
    TargetLook look = LookAtTarget(record->m_strTarget, m_launcherDrive, &Cache());
    Found(record->m_strTarget, look.where);
    if (look.pictures) found.emplace_back(record, std::move(look.pictures));
  }
  if (found.empty()) return;
  // Room for all of them in one step, rather than a list grown a few images at a time.
  int next = m_large.GetImageCount();
  const int count = next + static_cast<int>(found.size());
  if (!m_large.SetImageCount(count) || !m_small.SetImageCount(count)) return;
  for (auto& [record, pictures] : found) {
    if (PlaceAt(next, *pictures)) record->m_nIconIndex = next;
    ++next;
  }
}

void CIconArrival::Refresh(CShortcut& record, int item) {
  UpdateItem(record, item);
  Detach(record.m_nIconIndex);  // what was fetched for it before no longer counts
  TargetLook look = LookAtTarget(record.m_strTarget, m_launcherDrive, &Cache(), true);
  Found(record.m_strTarget, look.where);
  UpdateItem(record, item);
  const CIconCache::Pictures pictures = std::move(look.pictures);
  if (!pictures) return;  // the old picture stays
  if (record.m_nIconIndex != kIconNone) {
    PlaceAt(record.m_nIconIndex, *pictures);
    return;
  }
  std::vector<CShortcut*> one{&record};
  AddPrograms(one);
  if (item >= 0) m_list.SetItemImage(item, record.m_nIconIndex);
}

void CIconArrival::MarkTargetGone(CShortcut& record) {
  Detach(record.m_nIconIndex);
  record.m_nIconIndex = kIconNone;
}

void CIconArrival::Detach(int position) {
  Slot* slot = SlotOf(position);
  if (slot == nullptr) return;
  Job& job = m_jobs[static_cast<std::size_t>(slot->job)];
  job.positions.erase(std::remove(job.positions.begin(), job.positions.end(), position), job.positions.end());
  if (job.positions.empty() && !job.fetched) m_fetcher.Drop(slot->job);
  slot->job = -1;
}

void CIconArrival::Forget(const CShortcut& record) {
  if (!record.IsProgram()) return;
  Detach(record.m_nIconIndex);
  if (record.m_nIconIndex >= 0 && record.m_nIconIndex < static_cast<int>(m_slots.size())) {
    m_slots[static_cast<std::size_t>(record.m_nIconIndex)].gone = true;  // its position is no one's now
  }
}

void CIconArrival::ForgetAll() { Stop(); }

}  // namespace ol
