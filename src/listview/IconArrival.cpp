// The icons arriving: the jobs of a start, the fetching threads' results put in a batch at a
// time, what is on screen first, and the end.
#include "listview/IconArrival.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <string_view>
#include <unordered_map>

#include "catalogue/CatalogueIcons.h"
#include "catalogue/CatalogueList.h"
#include "framework/Dpi.h"
#include "listview/ItemsOnScreen.h"
#include "res/resource.h"
#include "util/PathText.h"
#include "util/SystemUtil.h"

namespace ol {

namespace {

// A fetching thread's word that results wait, and the arrival's own turn to go on with them.
constexpr UINT kResultsMessage = WM_APP + 1;
constexpr UINT kWorkMessage = WM_APP + 2;
constexpr UINT_PTR kWorkTimer = 1;

// How long one batch may keep the window's thread from its input, and how many results are
// taken at a time within it.
constexpr auto kBatchTime = std::chrono::milliseconds(20);
constexpr std::size_t kTakeAtOnce = 8;

// With the pictures on screen known, the rest wait until the window is up: shown, painted and
// idle once (its bars brought up to date).
constexpr auto kFirstTurnAfter = std::chrono::milliseconds(60);

std::atomic<int> g_threadsForTesting{0};

}  // namespace

CIconArrival::~CIconArrival() { Stop(); }

void CIconArrival::SetThreadsForTesting(int threads) { g_threadsForTesting = threads; }

int CIconArrival::FetchingThreads() {
  return g_threadsForTesting > 0 ? g_threadsForTesting.load() : CIconFetcher::ThreadsForThisMachine();
}

CIconArrival::CIconArrival(const CListCtrl& list, CImageList& large, CImageList& small)
    : m_list(list), m_large(large), m_small(small), m_launcherDrive(GetLauncherDirectory().c_str()[0]) {}

void CIconArrival::EnsureWindow() {
  if (m_window) return;
  m_window = std::make_unique<CMessageWindow>([this](UINT message, WPARAM wParam) {
    if (message == kResultsMessage) {
      m_fetcher.Heard();
    } else if (message == kWorkMessage) {
      m_bTurnPosted = false;
    } else if (!(message == WM_TIMER && wParam == kWorkTimer)) {
      return;
    }
    try {
      OnWork();
    } catch (...) {
      Stop();  // the icons stop coming rather than the window
    }
  });
}

void CIconArrival::Start() { Begin(false); }

void CIconArrival::Rescale(CImageList&& oldLarge, CImageList&& oldSmall) {
  m_oldLarge.Attach(oldLarge.Detach());
  m_oldSmall.Attach(oldSmall.Detach());
  Begin(true);
}

void CIconArrival::Begin(bool rescaled) {
  m_fetcher.Stop();
  EnsureWindow();
  ::KillTimer(m_window->Handle(), kWorkTimer);
  const IconSizes sizes = Cache().Sizes();
  m_placeLarge = std::make_unique<CPicturePlacer>(sizes.large);
  m_placeSmall = std::make_unique<CPicturePlacer>(sizes.small);
  TargetIcons loading;
  loading.large.Reset(LoadIconOfSize(::GetModuleHandleA(nullptr), IDI_LOADING, sizes.large));
  loading.small.Reset(LoadIconOfSize(::GetModuleHandleA(nullptr), IDI_LOADING, sizes.small));
  m_loading = PicturesOfIcons(loading, sizes);

  // One job per distinct target: for each program position from before its pictures, for each
  // folder where it is.
  const std::vector<Slot> before = std::move(m_slots);
  m_slots.assign(static_cast<std::size_t>(std::max(m_large.GetImageCount(), 0)), Slot{});
  m_jobs.clear();
  m_folderJobOf.clear();
  m_refill.reset();
  m_bRefilling = false;
  m_onScreen.clear();
  m_bNoIconSeen = false;
  // Keyed by the records' own targets: no record goes while the jobs are made.
  const int count = m_list.GetItemCount();
  std::unordered_map<std::string_view, int> programJobOf(static_cast<std::size_t>(std::max(count, 0)));
  std::vector<CIconFetcher::Job> jobs;
  m_jobs.reserve(static_cast<std::size_t>(std::max(count, 0)));
  jobs.reserve(m_jobs.capacity());
  for (int i = 0; i < count; ++i) {
    const CShortcut* record = RecordAt(m_list, i);
    if (record == nullptr) continue;
    const bool program = record->IsProgram();
    const int position = record->m_nIconIndex;
    if (program && (position < kFirstTargetImage || position >= static_cast<int>(m_slots.size()))) continue;
    if (!program && !OnAnotherDrive(record->m_strTarget, m_launcherDrive)) continue;  // found where stored
    const int next = static_cast<int>(m_jobs.size());
    const int job = program ? programJobOf.try_emplace(record->m_strTarget, next).first->second
                            : m_folderJobOf.try_emplace(record->m_strTarget, next).first->second;
    if (job == next) {
      m_jobs.push_back({record->m_strTarget, {}, nullptr, false, !program});
      jobs.push_back({record->m_strTarget, program});
    }
    if (!program) continue;
    m_jobs[static_cast<std::size_t>(job)].positions.push_back(position);
    Slot& slot = m_slots[static_cast<std::size_t>(position)];
    slot.job = job;
    if (rescaled) {
      // The replaced lists hold a picture there unless it was still to come.
      const bool tracked = static_cast<std::size_t>(position) < before.size() && before[position].job >= 0;
      slot.oldPicture = !tracked || before[position].placed != nullptr || before[position].copiedOld;
    }
  }
  m_bBusy = true;
  if (m_jobs.empty()) {
    Finish();
    return;
  }
  // What the cache knows goes in at once: on screen with the first paint, the rest a batch at a
  // time (by the strip, into fresh lists that then take the current ones' place) once the
  // window is up; the fetching threads then only check that the targets have not changed, and
  // start then too, unless a picture on screen waits for them.
  bool known = false;
  for (Job& job : m_jobs) {
    const std::optional<CIconCache::Entry> entry = job.folder ? std::nullopt : m_cache->Find(TargetOf(job.target));
    if (!entry || !entry->pictures) continue;
    job.pictures = entry->pictures;
    known = true;
  }
  m_knownNext = m_jobs.size();
  m_bRefilling = known;
  m_fetcher.Prepare(std::move(jobs), m_launcherDrive, m_cache, m_window->Handle(), kResultsMessage);
  PutOnScreenFirst();
  if (known) {
    ::SetTimer(m_window->Handle(), kWorkTimer, static_cast<UINT>(kFirstTurnAfter.count()), nullptr);
  } else {
    m_fetcher.Go(FetchingThreads());
  }
}

CIconArrival::Slot* CIconArrival::SlotOf(int position) {
  if (position < 0 || position >= static_cast<int>(m_slots.size())) return nullptr;
  Slot& slot = m_slots[static_cast<std::size_t>(position)];
  return slot.job >= 0 ? &slot : nullptr;
}

bool CIconArrival::PlaceAt(int position, const TargetPictures& pictures) {
  const IconSizes sizes = ImageListSizes(m_large, m_small);
  if (!m_placeLarge || m_placeLarge->Size() != sizes.large) m_placeLarge = std::make_unique<CPicturePlacer>(sizes.large);
  if (!m_placeSmall || m_placeSmall->Size() != sizes.small) m_placeSmall = std::make_unique<CPicturePlacer>(sizes.small);
  const bool large = m_placeLarge->Place(m_large, position, pictures.large);
  const bool small = m_placeSmall->Place(m_small, position, pictures.small);
  // Lists being filled by the strip that already hold the position change with the lists shown.
  if (m_refill && position < m_refill->Count()) {
    m_placeLarge->Place(m_refill->Large(), position, pictures.large);
    m_placeSmall->Place(m_refill->Small(), position, pictures.small);
  }
  return large && small;
}

bool CIconArrival::Show(int position) {
  Slot& slot = m_slots[static_cast<std::size_t>(position)];
  const Job& job = m_jobs[static_cast<std::size_t>(slot.job)];
  if (job.pictures) {
    if (slot.placed == job.pictures || !PlaceAt(position, *job.pictures)) return false;
    slot.placed = job.pictures;
    slot.loading = false;
    return true;
  }
  if (!job.fetched) return false;
  if (slot.oldPicture && !slot.copiedOld) {
    // The target gives no icon now: its old picture stays, at the new size.
    const IconSizes sizes = ImageListSizes(m_large, m_small);
    if (std::optional<TargetPictures> old = PicturesAt(m_oldLarge, m_oldSmall, position, sizes)) PlaceAt(position, *old);
    slot.copiedOld = true;
    return true;
  }
  // The position goes unused: what it shows now goes with the item's image 0.
  return slot.loading || slot.placed != nullptr;
}

bool CIconArrival::Apply(int job, TargetLook look) {
  Job& target = m_jobs[static_cast<std::size_t>(job)];
  // A known picture found unchanged is in the fresh lists, or will be: nothing to put in now.
  const bool known = m_bRefilling && target.pictures && target.pictures == look.pictures;
  target.fetched = true;
  target.pictures = std::move(look.pictures);
  if (!target.folder && !target.pictures) m_bNoIconSeen = true;
  bool changed = Found(target.target, look.where);
  for (const int position : target.positions) changed = (!known && Show(position)) || changed;
  return changed && std::binary_search(m_onScreen.begin(), m_onScreen.end(), job);
}

bool CIconArrival::Found(const std::string& stored, const std::string& where) {
  if (where.empty() || where == stored) return m_found.erase(stored) > 0;
  std::string& known = m_found[stored];
  if (known == where) return false;
  known = where;
  return true;
}

std::string CIconArrival::TargetOf(const std::string& stored) const {
  const auto found = m_found.find(stored);
  return found == m_found.end() ? stored : found->second;
}

void CIconArrival::UpdateItem(CShortcut& record, int item) {
  if (const Slot* slot = record.IsProgram() ? SlotOf(record.m_nIconIndex) : nullptr; slot != nullptr && !slot->copiedOld) {
    const Job& job = m_jobs[static_cast<std::size_t>(slot->job)];
    if (job.fetched && !job.pictures) {
      record.m_nIconIndex = kIconNone;
      if (item >= 0) m_list.SetItemImage(item, kIconNone);
    }
  }
  if (item < 0 || m_found.empty()) return;
  const std::string shown = TargetOf(record.m_strTarget);
  if (m_list.GetItemText(item, 1) != shown) m_list.SetItemText(item, 1, shown);
}

int CIconArrival::JobOf(const CShortcut& record) const {
  if (record.IsProgram()) {
    const int position = record.m_nIconIndex;
    if (position < 0 || position >= static_cast<int>(m_slots.size())) return -1;
    return m_slots[static_cast<std::size_t>(position)].job;
  }
  const auto found = m_folderJobOf.find(record.m_strTarget);
  return found == m_folderJobOf.end() ? -1 : found->second;
}

void CIconArrival::PutOnScreenFirst() {
  if (!m_bBusy) return;
  const ItemRange range = ItemsOnScreen(m_list);
  std::vector<int> onScreen;
  std::vector<int> waiting;
  bool changed = false;
  for (int i = range.first; i >= 0 && i <= range.last; ++i) {
    CShortcut* record = RecordAt(m_list, i);
    const int job = record != nullptr ? JobOf(*record) : -1;
    if (job < 0) continue;
    const Job& target = m_jobs[static_cast<std::size_t>(job)];
    onScreen.push_back(job);
    const int position = target.folder ? -1 : record->m_nIconIndex;
    if (target.pictures || target.fetched) {
      if (position >= 0) changed = Show(position) || changed;
      UpdateItem(*record, i);
      continue;
    }
    waiting.push_back(job);
    // A position shows the loading picture once it is seen: putting it in costs as much as
    // putting the icon in later.
    Slot* slot = position >= 0 ? SlotOf(position) : nullptr;
    if (slot != nullptr && !slot->loading && m_loading && PlaceAt(position, *m_loading)) {
      slot->loading = true;
      changed = true;
    }
  }
  if (changed) ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
  std::sort(onScreen.begin(), onScreen.end());
  m_onScreen = std::move(onScreen);
  if (!waiting.empty()) m_fetcher.Go(FetchingThreads());
  m_fetcher.PutFirst(std::move(waiting));
}

bool CIconArrival::OnScreenIn() const {
  return !m_bBusy || std::all_of(m_onScreen.begin(), m_onScreen.end(), [this](int job) {
           const Job& target = m_jobs[static_cast<std::size_t>(job)];
           return target.fetched || target.pictures != nullptr;
         });
}

void CIconArrival::OnWork() {
  if (!m_bBusy) return;
  ::KillTimer(m_window->Handle(), kWorkTimer);
  m_fetcher.Go(FetchingThreads());
  const auto start = std::chrono::steady_clock::now();
  bool changed = false;  // a picture on screen changed: the list paints again
  for (;;) {
    std::vector<CIconFetcher::Result> batch = m_fetcher.Take(kTakeAtOnce);
    for (CIconFetcher::Result& result : batch) changed = Apply(result.job, std::move(result.look)) || changed;
    const bool worked = !batch.empty() || PlaceKnown();
    if (!worked || std::chrono::steady_clock::now() - start >= kBatchTime) break;
  }
  if (changed) ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
  if (m_fetcher.HasResults() || m_bRefilling || m_knownNext < m_jobs.size()) {
    GoOnLater();
  } else if (!m_fetcher.Busy()) {
    Finish();
  }
}

void CIconArrival::GoOnLater() {
  // More to do than one batch takes. With nothing else waiting, the next batch follows at once
  // (a posted message, behind whatever others posted before it); with input, a paint or a
  // timer waiting, once the window has seen to them (a timer's turn comes after all of those;
  // a posted message's before). One turn at a time is on its way, so messages that others
  // post never wait behind more than it.
  if (m_bTurnPosted) return;
  if (HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER | QS_HOTKEY)) == 0 &&
      ::PostMessageA(m_window->Handle(), kWorkMessage, 0, 0)) {
    m_bTurnPosted = true;
    return;
  }
  ::SetTimer(m_window->Handle(), kWorkTimer, USER_TIMER_MINIMUM, nullptr);
}

CIconCache& CIconArrival::Cache() {
  const IconSizes sizes = ImageListSizes(m_large, m_small);
  if (!m_cache || !(m_cache->Sizes() == sizes)) m_cache = std::make_shared<CIconCache>(sizes);
  return *m_cache;
}

void CIconArrival::Finish() {
  if (m_bNoIconSeen || !m_found.empty()) {
    // One walk gives index 0 to the records whose targets turned out to give no icon, and shows
    // where the targets found on the launcher's drive are.
    for (int i = 0; i < m_list.GetItemCount(); ++i) {
      if (CShortcut* record = RecordAt(m_list, i)) UpdateItem(*record, i);
    }
  }
  Stop();
}

void CIconArrival::Stop() {
  m_fetcher.Stop();
  if (m_window) ::KillTimer(m_window->Handle(), kWorkTimer);
  m_jobs.clear();
  m_folderJobOf.clear();
  m_slots.clear();
  m_refill.reset();
  m_bRefilling = false;
  m_knownNext = 0;
  m_onScreen.clear();
  m_oldLarge.DeleteImageList();
  m_oldSmall.DeleteImageList();
  m_bNoIconSeen = false;
  m_bBusy = false;
}

}  // namespace ol
