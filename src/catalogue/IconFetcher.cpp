#include "catalogue/IconFetcher.h"

#include <objbase.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "catalogue/IconExtraction.h"
#include "catalogue/IconFetchOrder.h"
#include "catalogue/TargetPictures.h"
#include "util/PathText.h"

namespace ol {

namespace {

// Every fetching thread of every run, so that the end of the program can give them a moment.
std::mutex g_threadsLock;
std::condition_variable g_threadsEnded;
int g_threads = 0;

constexpr auto kPostRetry = std::chrono::milliseconds(20);

}  // namespace

TargetLook LookAtTarget(const std::string& stored, char launcherDrive, CIconCache* cache, bool fresh) {
  // One attribute read for a target that is where it was stored.
  FileStamp stamp;
  bool found = false;
  const std::string where = WhereOnThisComputer(stored, launcherDrive, [&stamp, &found](const std::string& path) {
    return found = IconCalls().Stamp(path, &stamp);
  });
  if (!found) return {};
  if (cache == nullptr) return {where, nullptr};
  if (!fresh) {
    if (const auto known = cache->Find(where); known && known->stamp == stamp) return {where, known->pictures};
  }
  // Most programs' icons are read straight from the file; the shell extracts the rest.
  if (auto read = IconCalls().ReadProgramFile(where, cache->Sizes())) return {where, cache->Remember(where, stamp, &*read)};
  const TargetIcons icons = ExtractTargetIcons(where, cache->Sizes());
  const auto pictures = PicturesOfIcons(icons, cache->Sizes());
  // A file that could not be read at all is asked again next time, not remembered as iconless.
  if (!pictures && icons.unreadable) return {where, nullptr};
  return {where, cache->Remember(where, stamp, pictures ? &*pictures : nullptr)};
}

struct CIconFetcher::Run {
  std::mutex lock;
  bool stop = false;
  bool posted = false;  // the message is on its way: the window has not heard it yet
  int fetching = 0;  // jobs taken by a thread and not yet handed over
  CIconFetchOrder order;
  std::deque<Result> results;
  bool going = false;  // the threads have been started (the window's thread alone asks)
  // Set before the threads start, never changed after.
  std::vector<Job> jobs;
  char launcherDrive = 0;
  std::shared_ptr<CIconCache> cache;
  HWND window = nullptr;
  UINT message = 0;

  // With the lock held: tells the window that results wait, unless it has been told.
  void Post() {
    if (!posted && !results.empty()) posted = ::PostMessageA(window, message, 0, 0) != FALSE;
  }
};

void CIconFetcher::Prepare(std::vector<Job> jobs, char launcherDrive, std::shared_ptr<CIconCache> cache, HWND window,
                           UINT message) {
  Stop();
  auto run = std::make_shared<Run>();
  run->order.Reset(static_cast<int>(jobs.size()));
  run->jobs = std::move(jobs);
  run->launcherDrive = launcherDrive;
  run->cache = std::move(cache);
  run->window = window;
  run->message = message;
  m_run = std::move(run);
}

void CIconFetcher::Go(int threads) {
  if (!m_run || m_run->going) return;
  m_run->going = true;
  threads = std::clamp(threads, 1, std::max(1, static_cast<int>(m_run->jobs.size())));
  for (int i = 0; i < threads; ++i) {
    {
      std::lock_guard<std::mutex> guard(g_threadsLock);
      ++g_threads;
    }
    std::thread([run = m_run] { Fetch(run); }).detach();
  }
}

void CIconFetcher::Fetch(const std::shared_ptr<Run>& run) {
  // Each thread in an apartment of its own: the shell's icon of a batch file is asked through
  // COM, and the shell's extraction is free-threaded per apartment.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  {
    std::unique_lock<std::mutex> lock(run->lock);
    while (!run->stop) {
      const std::optional<int> job = run->order.Take();
      if (!job) break;
      ++run->fetching;
      lock.unlock();
      const Job& what = run->jobs[static_cast<std::size_t>(*job)];
      TargetLook look = LookAtTarget(what.target, run->launcherDrive, what.pictures ? run->cache.get() : nullptr);
      lock.lock();
      --run->fetching;
      if (run->stop) break;
      run->results.push_back({*job, std::move(look)});
      run->Post();
    }
    // The last thread out makes sure the window hears of the last results: a post can fail
    // while the window's queue is full.
    while (!run->stop && run->fetching == 0 && !run->posted && !run->results.empty()) {
      lock.unlock();
      std::this_thread::sleep_for(kPostRetry);
      lock.lock();
      run->Post();
    }
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  std::lock_guard<std::mutex> guard(g_threadsLock);
  --g_threads;
  g_threadsEnded.notify_all();
}

void CIconFetcher::PutFirst(std::vector<int> jobs) {
  if (!m_run) return;
  std::lock_guard<std::mutex> guard(m_run->lock);
  m_run->order.PutFirst(std::move(jobs));
}

void CIconFetcher::Drop(int job) {
  if (!m_run) return;
  std::lock_guard<std::mutex> guard(m_run->lock);
  m_run->order.Drop(job);
}

std::vector<CIconFetcher::Result> CIconFetcher::Take(std::size_t most) {
  std::vector<Result> taken;
  if (!m_run) return taken;
  std::lock_guard<std::mutex> guard(m_run->lock);
  while (!m_run->results.empty() && taken.size() < most) {
    taken.push_back(std::move(m_run->results.front()));
    m_run->results.pop_front();
  }
  return taken;
}

void CIconFetcher::Heard() {
  if (!m_run) return;
  std::lock_guard<std::mutex> guard(m_run->lock);
  m_run->posted = false;
}

bool CIconFetcher::Busy() const {
  if (!m_run) return false;
  std::lock_guard<std::mutex> guard(m_run->lock);
  return m_run->order.Remaining() > 0 || m_run->fetching > 0 || !m_run->results.empty();
}

bool CIconFetcher::HasResults() const {
  if (!m_run) return false;
  std::lock_guard<std::mutex> guard(m_run->lock);
  return !m_run->results.empty();
}

void CIconFetcher::Stop() {
  if (!m_run) return;
  {
    std::lock_guard<std::mutex> guard(m_run->lock);
    m_run->stop = true;
    m_run->order.Reset(0);
    m_run->results.clear();
  }
  m_run.reset();
}

int CIconFetcher::ThreadsForThisMachine() {
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  return std::clamp(static_cast<int>(system.dwNumberOfProcessors), 1, 4);
}

bool CIconFetcher::WaitForThreads(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(g_threadsLock);
  return g_threadsEnded.wait_for(lock, timeout, [] { return g_threads == 0; });
}

}  // namespace ol
