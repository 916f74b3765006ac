// Program icons fetched on a thread of their own, so that the window answers while a large
// catalogue's icons arrive. The window's thread hands over one target per job (in list order)
// and the sizes, says which jobs are on screen, and takes the fetched pictures back in small
// batches when a posted message tells it some wait. Shortcuts to one target share one fetch.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "catalogue/IconFetchOrder.h"
#include "catalogue/TargetImages.h"

namespace ol {

class CIconFetcher {
 public:
  struct Fetched {
    int job;
    std::shared_ptr<const TargetImages> images;  // null: the target gave no icon
  };

  CIconFetcher() = default;
  ~CIconFetcher() { Stop(); }
  CIconFetcher(const CIconFetcher&) = delete;
  CIconFetcher& operator=(const CIconFetcher&) = delete;

  // Fetches one picture per target at these sizes, and posts `message` to `window` whenever
  // fetched pictures wait and no such message is on its way. A run still going is stopped.
  void Start(std::vector<std::string> targets, IconSizes sizes, HWND window, UINT message);
  // These jobs (on screen now) are fetched before the rest.
  void PutFirst(std::vector<int> jobs);
  // The job's picture is not wanted any more (the window's thread fetched it itself).
  void Drop(int job);
  // Up to `most` fetched pictures, in the order they were fetched. Taking the last one lets
  // the next fetch post the message again.
  std::vector<Fetched> Take(std::size_t most);
  // True while jobs are still to be fetched, or fetched pictures wait to be taken.
  bool Busy() const;
  // True while fetched pictures wait to be taken.
  bool HasFetched() const;
  // Ends the run: no fetch starts once this returns, and the pictures not taken are let go.
  void Stop();

  // Tests: while held, the thread starts no fetch (a fetch under way finishes); a test may
  // let a number of fetches through and hold again.
  static void HoldForTesting(bool hold);
  static void AllowFetchesForTesting(int fetches);

 private:
  void Run();

  mutable std::mutex m_lock;
  std::condition_variable m_wake;
  std::thread m_thread;
  bool m_bStop = false;
  bool m_bPosted = false;
  int m_nFetching = 0;  // jobs taken by the thread and not yet handed over
  CIconFetchOrder m_order;
  std::deque<Fetched> m_fetched;
  // Set by Start, read by the thread without the lock.
  std::vector<std::string> m_targets;
  IconSizes m_sizes;
  HWND m_hWindow = nullptr;
  UINT m_nMessage = 0;
  // A target's pictures, kept while more of its shortcuts are to come.
  struct Shared {
    int remaining = 0;
    bool fetched = false;
    std::shared_ptr<const TargetImages> images;
  };
  std::unordered_map<std::string, Shared> m_shared;
};

}  // namespace ol
