#include "listview/IconArrival.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <unordered_set>

#include "catalogue/CatalogueList.h"
#include "catalogue/IconFetchOrder.h"
#include "catalogue/TargetImages.h"
#include "catalogue/CatalogueIcons.h"
#include "framework/Dpi.h"
#include "res/resource.h"

namespace ol {

namespace {

// How long one batch may keep the window's thread from its input, and how many icons are
// taken from the fetcher at a time within it.
constexpr auto kBatchTime = std::chrono::milliseconds(20);
constexpr std::size_t kTakeAtOnce = 8;

}  // namespace

void CIconArrival::Restart(HWND view, CImageList&& oldLarge, CImageList&& oldSmall) {
  m_oldLarge.Attach(oldLarge.Detach());
  m_oldSmall.Attach(oldSmall.Detach());
  Start(view);
}

void CIconArrival::Start(HWND view) {
  FinishClosingUp();
  m_fetcher.Stop();
  ::KillTimer(view, kIconArrivalTimer);
  m_hView = view;
  // Shortcuts whose icons had not arrived yet have no picture of their own to keep.
  std::unordered_set<const CShortcut*> waiting;
  for (const Job& job : m_jobs) {
    if (job.record != nullptr && !job.settled) waiting.insert(job.record);
  }
  const bool restart = m_oldLarge.GetSafeHandle() != nullptr;
  m_jobs.clear();
  m_jobOf.clear();
  m_onScreen.clear();
  std::vector<std::string> targets;
  for (int i = 0; i < m_list.GetItemCount(); ++i) {
    CShortcut* record = RecordAt(m_list, i);
    if (record == nullptr || !record->IsProgram() || record->m_nIconIndex < kFirstTargetImage) continue;
    m_jobOf[record] = static_cast<int>(m_jobs.size());
    m_jobs.push_back({record, record->m_nIconIndex, i, restart && !waiting.count(record)});
    targets.push_back(record->m_strTarget);
  }
  m_bBusy = true;
  if (m_jobs.empty()) {
    Finish();
    return;
  }
  TargetIcons loading;
  const IconSizes sizes = ImageListSizes(m_large, m_small);
  loading.large.Reset(LoadIconOfSize(::GetModuleHandleA(nullptr), IDI_LOADING, sizes.large));
  loading.small.Reset(LoadIconOfSize(::GetModuleHandleA(nullptr), IDI_LOADING, sizes.small));
  m_loading = MakeTargetImages(std::move(loading), sizes);
  m_fetcher.Start(std::move(targets), ImageListSizes(m_large, m_small), view, kWmIconsFetched);
  PutOnScreenFirst();
}

void CIconArrival::OnFetched() {
  if (!m_bBusy) return;
  ::KillTimer(m_hView, kIconArrivalTimer);
  if (m_bClosingUp) {
    if (!CloseUp(kBatchTime)) ::SetTimer(m_hView, kIconArrivalTimer, USER_TIMER_MINIMUM, nullptr);
    return;
  }
  PutOnScreenFirst();
  const auto start = std::chrono::steady_clock::now();
  bool shown = false;  // a picture on screen changed: the list paints again
  for (;;) {
    const std::vector<CIconFetcher::Fetched> batch = m_fetcher.Take(kTakeAtOnce);
    for (const CIconFetcher::Fetched& fetched : batch) {
      const bool onScreen = std::find(m_onScreen.begin(), m_onScreen.end(), fetched.job) != m_onScreen.end();
      shown = (Settle(m_jobs[static_cast<std::size_t>(fetched.job)], fetched.images.get()) && onScreen) || shown;
    }
    if (batch.empty() || std::chrono::steady_clock::now() - start >= kBatchTime) break;
  }
  if (shown) ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
  if (m_fetcher.Busy()) {
    // More wait than one batch takes: go on once the window has answered its input and
    // painted (a timer's turn comes after both; a posted message's before).
    if (m_fetcher.HasFetched()) ::SetTimer(m_hView, kIconArrivalTimer, USER_TIMER_MINIMUM, nullptr);
    return;
  }
  Finish();
}

bool CIconArrival::Settle(Job& job, const TargetImages* images) {
  if (job.settled || job.record == nullptr) return false;
  job.settled = true;
  job.shown = true;
  if (images != nullptr && PlaceTargetImages(m_large, m_small, job.index, *images)) return true;
  if (job.hadPicture) {
    // The target gives no icon now: its old picture stays, at the new size.
    for (auto [fresh, old] : {std::pair{&m_large, &m_oldLarge}, std::pair{&m_small, &m_oldSmall}}) {
      const UniqueIcon picture(::ImageList_GetIcon(old->GetSafeHandle(), job.index, ILD_NORMAL));
      if (picture) fresh->Replace(job.index, picture.Get());
    }
    return true;
  }
  job.record->m_nIconIndex = kIconNone;
  const int item = ItemOf(job);
  if (item >= 0) m_list.SetItemImage(item, kIconNone);
  m_gaps.push_back(job.index);
  return true;
}

int CIconArrival::ItemOf(Job& job) const {
  if (job.item < 0 || job.item >= m_list.GetItemCount() || RecordAt(m_list, job.item) != job.record) {
    job.item = FindRecordItem(m_list, job.record);  // the items were sorted or some deleted
  }
  return job.item;
}

void CIconArrival::PutOnScreenFirst() {
  if (!m_bBusy) return;
  const ItemRange range = ItemsOnScreen(m_list);
  std::vector<int> jobs;
  bool shown = false;
  for (int i = range.first; i >= 0 && i <= range.last; ++i) {
    const auto found = m_jobOf.find(RecordAt(m_list, i));
    if (found == m_jobOf.end()) continue;
    Job& job = m_jobs[static_cast<std::size_t>(found->second)];
    if (job.settled) continue;
    jobs.push_back(found->second);
    // Positions are left blank until their items are seen: putting a picture in costs as much
    // as putting the icon in later.
    if (!job.shown && m_loading != nullptr) {
      job.shown = PlaceTargetImages(m_large, m_small, job.index, *m_loading);
      shown = shown || job.shown;
    }
  }
  if (shown) ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
  if (jobs == m_onScreen) return;
  m_onScreen = jobs;
  m_fetcher.PutFirst(std::move(jobs));
}

bool CIconArrival::OnScreenIn() const {
  return !m_bBusy || m_bClosingUp ||
         std::all_of(m_onScreen.begin(), m_onScreen.end(),
                     [this](int job) { return m_jobs[static_cast<std::size_t>(job)].settled; });
}

void CIconArrival::NeedNow(CShortcut& record) {
  const auto found = m_jobOf.find(&record);
  if (found == m_jobOf.end()) return;
  Job& job = m_jobs[static_cast<std::size_t>(found->second)];
  if (job.settled) return;
  m_fetcher.Drop(found->second);
  const auto images = FetchTargetImages(record.m_strTarget, ImageListSizes(m_large, m_small));
  if (Settle(job, images.get())) ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
  // The last icon may have come this way: the close-up follows from the message loop.
  if (!m_fetcher.Busy()) ::PostMessageA(m_hView, kWmIconsFetched, 0, 0);
}

void CIconArrival::Forget(const CShortcut* record) {
  FinishClosingUp();
  const auto found = m_jobOf.find(record);
  if (found == m_jobOf.end()) return;
  Job& job = m_jobs[static_cast<std::size_t>(found->second)];
  if (!job.settled) {
    job.settled = true;
    m_fetcher.Drop(found->second);
    m_gaps.push_back(job.index);  // its position will not be used
  }
  job.record = nullptr;
  m_jobOf.erase(found);
  if (!m_fetcher.Busy()) ::PostMessageA(m_hView, kWmIconsFetched, 0, 0);
}

void CIconArrival::ForgetAll() {
  while (!m_jobOf.empty()) Forget(m_jobOf.begin()->first);
}

void CIconArrival::Release() {
  m_fetcher.Stop();
  m_loading.reset();
  m_jobs.clear();
  m_jobOf.clear();
  m_onScreen.clear();
  m_oldLarge.DeleteImageList();
  m_oldSmall.DeleteImageList();
}

void CIconArrival::Stop() {
  Release();
  Done();
}

void CIconArrival::Finish() {
  Release();
  if (m_gaps.empty()) {
    Done();
    return;
  }
  std::sort(m_gaps.begin(), m_gaps.end());
  m_gaps.erase(std::unique(m_gaps.begin(), m_gaps.end()), m_gaps.end());
  m_atIndex.assign(static_cast<std::size_t>(m_large.GetImageCount()), {nullptr, -1});
  for (int i = 0; i < m_list.GetItemCount(); ++i) {
    CShortcut* record = RecordAt(m_list, i);
    if (record != nullptr && record->m_nIconIndex > m_gaps.front() &&
        record->m_nIconIndex < static_cast<int>(m_atIndex.size())) {
      m_atIndex[static_cast<std::size_t>(record->m_nIconIndex)] = {record, i};
    }
  }
  m_nCloseFrom = m_gaps.front() + 1;
  m_bClosingUp = true;
  if (!CloseUp(kBatchTime)) ::SetTimer(m_hView, kIconArrivalTimer, USER_TIMER_MINIMUM, nullptr);
}

bool CIconArrival::CloseUp(std::chrono::steady_clock::duration time) {
  const auto start = std::chrono::steady_clock::now();
  const int count = static_cast<int>(m_atIndex.size());
  for (; m_nCloseFrom < count; ++m_nCloseFrom) {
    if (std::chrono::steady_clock::now() - start >= time) return false;
    if (std::binary_search(m_gaps.begin(), m_gaps.end(), m_nCloseFrom)) continue;
    const int to = ClosedUpPosition(m_nCloseFrom, m_gaps);
    if (const auto pictures = PicturesAt(m_large, m_small, m_nCloseFrom)) PlaceTargetImages(m_large, m_small, to, *pictures);
    // The shortcut follows its picture at once, so the list shows the right one throughout.
    auto& [record, item] = m_atIndex[static_cast<std::size_t>(m_nCloseFrom)];
    if (record == nullptr) continue;
    record->m_nIconIndex = to;
    if (item >= m_list.GetItemCount() || RecordAt(m_list, item) != record) item = FindRecordItem(m_list, record);
    if (item >= 0) m_list.SetItemImage(item, to);
  }
  m_large.SetImageCount(count - static_cast<int>(m_gaps.size()));
  m_small.SetImageCount(count - static_cast<int>(m_gaps.size()));
  ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
  Done();
  return true;
}

void CIconArrival::FinishClosingUp() {
  if (m_bClosingUp) CloseUp(std::chrono::steady_clock::duration::max());
}

void CIconArrival::Done() {
  if (m_hView != nullptr) ::KillTimer(m_hView, kIconArrivalTimer);
  m_gaps.clear();
  m_atIndex.clear();
  m_bClosingUp = false;
  m_bBusy = false;
}

ItemRange ItemsOnScreen(const CListCtrl& list) {
  const int count = list.GetItemCount();
  HWND hwnd = list.GetSafeHwnd();
  if (count == 0) return {-1, -2};
  const DWORD mode = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)) & LVS_TYPEMASK;
  if (mode == LVS_REPORT || mode == LVS_LIST) {
    // A partly shown row or column is not counted in a page: one more item is.
    const int top = ListView_GetTopIndex(hwnd);
    return {top, std::min(count - 1, top + ListView_GetCountPerPage(hwnd))};
  }
  // The icon views lay the items out row by row in list order.
  RECT client{};
  ::GetClientRect(hwnd, &client);
  auto bounds = [hwnd](int item) {
    RECT rect{};
    ListView_GetItemRect(hwnd, item, &rect, LVIR_BOUNDS);
    return rect;
  };
  int low = 0;
  int high = count;
  while (low < high) {  // the first item that reaches below the top
    const int middle = low + (high - low) / 2;
    if (bounds(middle).bottom > client.top) high = middle; else low = middle + 1;
  }
  const int first = low;
  high = count;
  while (low < high) {  // the first item that starts below the bottom
    const int middle = low + (high - low) / 2;
    if (bounds(middle).top >= client.bottom) high = middle; else low = middle + 1;
  }
  return first < low ? ItemRange{first, low - 1} : ItemRange{-1, -2};
}

}  // namespace ol
