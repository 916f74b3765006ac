#include "catalogue/IconFetcher.h"

#include <objbase.h>

#include <atomic>
#include <chrono>

namespace ol {

namespace {
// Fetches a test lets through: all (-1), none (0) or that many more.
std::atomic<int> g_allowed{-1};
}  // namespace

void CIconFetcher::HoldForTesting(bool hold) { g_allowed = hold ? 0 : -1; }
void CIconFetcher::AllowFetchesForTesting(int fetches) { g_allowed = fetches; }

void CIconFetcher::Start(std::vector<std::string> targets, IconSizes sizes, HWND window, UINT message) {
  Stop();
  m_targets = std::move(targets);
  m_sizes = sizes;
  m_hWindow = window;
  m_nMessage = message;
  m_shared.clear();
  for (const std::string& target : m_targets) ++m_shared[target].remaining;
  m_order.Reset(static_cast<int>(m_targets.size()));
  m_fetched.clear();
  m_bStop = false;
  m_bPosted = false;
  m_nFetching = 0;
  m_thread = std::thread([this] { Run(); });
}

void CIconFetcher::PutFirst(std::vector<int> jobs) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_order.PutFirst(std::move(jobs));
}

void CIconFetcher::Drop(int job) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_order.Drop(job);
}

std::vector<CIconFetcher::Fetched> CIconFetcher::Take(std::size_t most) {
  std::lock_guard<std::mutex> guard(m_lock);
  std::vector<Fetched> taken;
  while (!m_fetched.empty() && taken.size() < most) {
    taken.push_back(std::move(m_fetched.front()));
    m_fetched.pop_front();
  }
  if (m_fetched.empty()) m_bPosted = false;
  return taken;
}

bool CIconFetcher::Busy() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_thread.joinable() && (m_order.Remaining() > 0 || m_nFetching > 0 || !m_fetched.empty());
}

bool CIconFetcher::HasFetched() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return !m_fetched.empty();
}

void CIconFetcher::Stop() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_bStop = true;
  }
  m_wake.notify_all();
  if (m_thread.joinable()) m_thread.join();
  std::lock_guard<std::mutex> guard(m_lock);
  m_fetched.clear();
  m_shared.clear();
  m_order.Reset(0);
}

void CIconFetcher::Run() {
  // The shell's icon of a batch file is asked through COM.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  std::unique_lock<std::mutex> lock(m_lock);
  for (;;) {
    // A test's hold is looked at again every few milliseconds.
    while (!m_bStop && g_allowed == 0) m_wake.wait_for(lock, std::chrono::milliseconds(10));
    if (m_bStop) break;
    const std::optional<int> job = m_order.Take();
    if (!job) break;  // every job fetched or dropped
    int allowed = g_allowed;
    while (allowed > 0 && !g_allowed.compare_exchange_weak(allowed, allowed - 1)) {
    }
    const std::string& target = m_targets[static_cast<std::size_t>(*job)];
    Shared& shared = m_shared[target];
    std::shared_ptr<const TargetImages> images = shared.images;
    const bool fetch = !shared.fetched;
    ++m_nFetching;
    if (fetch) {
      lock.unlock();
      images = FetchTargetImages(target, m_sizes);
      lock.lock();
    }
    --m_nFetching;
    if (m_bStop) break;
    shared.fetched = true;
    shared.images = --shared.remaining > 0 ? images : nullptr;
    m_fetched.push_back({*job, std::move(images)});
    if (!m_bPosted) {
      m_bPosted = true;
      ::PostMessageA(m_hWindow, m_nMessage, 0, 0);
    }
  }
  lock.unlock();
  if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace ol
