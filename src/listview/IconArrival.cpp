#include "listview/IconArrival.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <unordered_map>

#include "catalogue/CatalogueIcons.h"
#include "catalogue/CatalogueList.h"
#include "framework/Dpi.h"
#include "listview/ItemsOnScreen.h"
#include "res/resource.h"
#include "util/AtomicFile.h"

namespace ol {

namespace {

// A fetching thread's word that results wait, and the arrival's own turn to go on with them.
constexpr UINT kWorkMessage = WM_APP + 1;
constexpr UINT_PTR kWorkTimer = 1;
constexpr char kWindowClass[] = "OrbelsLaunchIconArrival";

// How long one batch may keep the window's thread from its input, and how many results are
// taken at a time within it.
constexpr auto kBatchTime = std::chrono::milliseconds(20);
constexpr std::size_t kTakeAtOnce = 8;

std::atomic<int> g_threadsForTesting{0};

}  // namespace

CIconArrival::~CIconArrival() { Stop(); }

void CIconArrival::SetThreadsForTesting(int threads) { g_threadsForTesting = threads; }

LRESULT CALLBACK CIconArrival::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* arrival = reinterpret_cast<CIconArrival*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (arrival != nullptr && (message == kWorkMessage || (message == WM_TIMER && wParam == kWorkTimer))) {
    try {
      arrival->OnWork();
    } catch (...) {
      arrival->Stop();  // no exception crosses the window procedure: the icons stop coming
    }
    return 0;
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

void CIconArrival::EnsureWindow() {
  if (m_window) return;
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  if (!::GetClassInfoA(instance, kWindowClass, &windowClass)) {
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassA(&windowClass);
  }
  m_window.Reset(::CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this));
}

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
    if (record != nullptr && record->IsProgram()) targets.push_back(record->m_strTarget);
  }
  const std::string bytes = m_cache->Write(targets);
  if (!m_cache->Differs(bytes)) return;
  AtomicFileWriter writer(m_strCachePath);
  if (writer.Open()) writer.Commit(bytes);
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
  ::KillTimer(m_window.Get(), kWorkTimer);
  const IconSizes sizes = ImageListSizes(m_large, m_small);
  if (!m_cache || !(m_cache->Sizes() == sizes)) m_cache = std::make_shared<CIconCache>(sizes);
  m_placeLarge = std::make_unique<CPicturePlacer>(sizes.large);
  m_placeSmall = std::make_unique<CPicturePlacer>(sizes.small);
  TargetIcons loading;
  loading.large.Reset(LoadIconOfSize(::GetModuleHandleA(nullptr), IDI_LOADING, sizes.large));
  loading.small.Reset(LoadIconOfSize(::GetModuleHandleA(nullptr), IDI_LOADING, sizes.small));
  m_loading = PicturesOfIcons(loading, sizes);

  // One job per distinct target, for every program position from before.
  const std::vector<Slot> before = std::move(m_slots);
  m_slots.assign(static_cast<std::size_t>(std::max(m_large.GetImageCount(), 0)), Slot{});
  m_jobs.clear();
  m_knownQueue.clear();
  m_knownNext = 0;
  m_onScreen.clear();
  m_bNoIconSeen = false;
  std::unordered_map<std::string, int> jobOf;
  std::vector<std::string> targets;
  for (int i = 0; i < m_list.GetItemCount(); ++i) {
    const CShortcut* record = RecordAt(m_list, i);
    if (record == nullptr || !record->IsProgram()) continue;
    const int position = record->m_nIconIndex;
    if (position < kFirstTargetImage || position >= static_cast<int>(m_slots.size())) continue;
    const auto [found, added] = jobOf.try_emplace(record->m_strTarget, static_cast<int>(m_jobs.size()));
    if (added) {
      m_jobs.push_back({record->m_strTarget});
      targets.push_back(record->m_strTarget);
    }
    m_jobs[static_cast<std::size_t>(found->second)].positions.push_back(position);
    Slot& slot = m_slots[static_cast<std::size_t>(position)];
    slot.job = found->second;
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
  // time; the fetching threads then only check that the targets have not changed.
  for (std::size_t job = 0; job < m_jobs.size(); ++job) {
    const std::optional<CIconCache::Entry> known = m_cache->Find(m_jobs[job].target);
    if (!known || !known->pictures) continue;
    m_jobs[job].pictures = known->pictures;
    m_knownQueue.push_back(static_cast<int>(job));
  }
  const int threads = g_threadsForTesting > 0 ? g_threadsForTesting.load() : CIconFetcher::ThreadsForThisMachine();
  m_fetcher.Start(std::move(targets), m_cache, threads, m_window.Get(), kWorkMessage);
  PutOnScreenFirst();
  if (!m_knownQueue.empty()) GoOnLater();
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
    for (auto [fresh, old] : {std::pair{&m_large, &m_oldLarge}, std::pair{&m_small, &m_oldSmall}}) {
      const UniqueIcon picture(::ImageList_GetIcon(old->GetSafeHandle(), position, ILD_NORMAL));
      if (picture) fresh->Replace(position, picture.Get());
    }
    slot.copiedOld = true;
    return true;
  }
  // The position goes unused: what it shows now goes with the item's image 0.
  return slot.loading || slot.placed != nullptr;
}

bool CIconArrival::Apply(int job, CIconCache::Pictures pictures) {
  Job& target = m_jobs[static_cast<std::size_t>(job)];
  target.fetched = true;
  target.pictures = std::move(pictures);
  if (!target.pictures) m_bNoIconSeen = true;
  bool changed = false;
  for (const int position : target.positions) changed = Show(position) || changed;
  return changed && std::binary_search(m_onScreen.begin(), m_onScreen.end(), job);
}

void CIconArrival::Normalize(CShortcut& record, int item) {
  const Slot* slot = SlotOf(record.m_nIconIndex);
  if (slot == nullptr || slot->copiedOld) return;
  const Job& job = m_jobs[static_cast<std::size_t>(slot->job)];
  if (!job.fetched || job.pictures) return;
  record.m_nIconIndex = kIconNone;
  if (item >= 0) m_list.SetItemImage(item, kIconNone);
}

void CIconArrival::PutOnScreenFirst() {
  if (!m_bBusy) return;
  const ItemRange range = ItemsOnScreen(m_list);
  std::vector<int> onScreen;
  std::vector<int> waiting;
  bool changed = false;
  for (int i = range.first; i >= 0 && i <= range.last; ++i) {
    CShortcut* record = RecordAt(m_list, i);
    if (record == nullptr || !record->IsProgram()) continue;
    const int position = record->m_nIconIndex;
    Slot* slot = SlotOf(position);
    if (slot == nullptr) continue;
    const Job& job = m_jobs[static_cast<std::size_t>(slot->job)];
    onScreen.push_back(slot->job);
    if (job.pictures || job.fetched) {
      changed = Show(position) || changed;
      Normalize(*record, i);
      continue;
    }
    waiting.push_back(slot->job);
    // A position shows the loading picture once it is seen: putting it in costs as much as
    // putting the icon in later.
    if (!slot->loading && m_loading && PlaceAt(position, *m_loading)) {
      slot->loading = true;
      changed = true;
    }
  }
  if (changed) ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
  std::sort(onScreen.begin(), onScreen.end());
  m_onScreen = std::move(onScreen);
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
  ::KillTimer(m_window.Get(), kWorkTimer);
  const auto start = std::chrono::steady_clock::now();
  bool changed = false;  // a picture on screen changed: the list paints again
  for (;;) {
    std::vector<CIconFetcher::Result> batch = m_fetcher.Take(kTakeAtOnce);
    for (CIconFetcher::Result& result : batch) changed = Apply(result.job, std::move(result.pictures)) || changed;
    std::size_t placed = 0;
    for (; batch.empty() && placed < kTakeAtOnce && m_knownNext < m_knownQueue.size(); ++placed) {
      for (const int position : m_jobs[static_cast<std::size_t>(m_knownQueue[m_knownNext])].positions) Show(position);
      ++m_knownNext;
    }
    if ((batch.empty() && placed == 0) || std::chrono::steady_clock::now() - start >= kBatchTime) break;
  }
  if (changed) ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
  if (m_fetcher.HasResults() || m_knownNext < m_knownQueue.size()) {
    GoOnLater();
  } else if (!m_fetcher.Busy()) {
    Finish();
  }
}

void CIconArrival::GoOnLater() {
  // More to do than one batch takes. With nothing else waiting, the next batch follows at once
  // (a posted message); with input, a paint or a timer waiting, once the window has seen to
  // them (a timer's turn comes after all of those; a posted message's before).
  if (HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER | QS_HOTKEY)) == 0 &&
      ::PostMessageA(m_window.Get(), kWorkMessage, 0, 0)) {
    return;
  }
  ::SetTimer(m_window.Get(), kWorkTimer, USER_TIMER_MINIMUM, nullptr);
}

void CIconArrival::Settle(CShortcut& record, int item) {
  const Slot* slot = SlotOf(record.m_nIconIndex);
  if (slot == nullptr) return;
  const int job = slot->job;
  if (!m_jobs[static_cast<std::size_t>(job)].fetched) {
    m_fetcher.Drop(job);
    if (Apply(job, LookAtTarget(m_jobs[static_cast<std::size_t>(job)].target, *m_cache))) {
      ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
    }
  }
  Normalize(record, item);
  if (!m_fetcher.Busy()) GoOnLater();  // the last job may have gone this way: the end follows
}

void CIconArrival::AddPrograms(const std::vector<CShortcut*>& records) {
  const IconSizes sizes = ImageListSizes(m_large, m_small);
  if (!m_cache || !(m_cache->Sizes() == sizes)) m_cache = std::make_shared<CIconCache>(sizes);
  std::vector<std::pair<CShortcut*, CIconCache::Pictures>> found;
  for (CShortcut* record : records) {
    record->m_nIconIndex = kIconNone;
    if (CIconCache::Pictures pictures = LookAtTarget(record->m_strTarget, *m_cache)) found.emplace_back(record, pictures);
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
  Normalize(record, item);
  Detach(record.m_nIconIndex);  // what was fetched for it before no longer counts
  if (!m_cache) m_cache = std::make_shared<CIconCache>(ImageListSizes(m_large, m_small));
  const CIconCache::Pictures pictures = LookAtTarget(record.m_strTarget, *m_cache, true);
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
  if (record.IsProgram()) Detach(record.m_nIconIndex);
}

void CIconArrival::ForgetAll() { Stop(); }

void CIconArrival::Finish() {
  if (m_bNoIconSeen) {
    // One walk gives index 0 to the records whose targets turned out to give no icon.
    for (int i = 0; i < m_list.GetItemCount(); ++i) {
      if (CShortcut* record = RecordAt(m_list, i); record != nullptr && record->IsProgram()) Normalize(*record, i);
    }
  }
  Stop();
}

void CIconArrival::Stop() {
  m_fetcher.Stop();
  if (m_window) ::KillTimer(m_window.Get(), kWorkTimer);
  m_jobs.clear();
  m_slots.clear();
  m_knownQueue.clear();
  m_knownNext = 0;
  m_onScreen.clear();
  m_oldLarge.DeleteImageList();
  m_oldSmall.DeleteImageList();
  m_bNoIconSeen = false;
  m_bBusy = false;
}

}  // namespace ol
