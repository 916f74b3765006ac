// Program icons fetched on threads of their own, so that the window answers while a large
// catalogue's icons arrive. The window's thread hands over the distinct targets (one job each),
// says which jobs are on screen, and takes the results back in small batches when a posted
// message tells it some wait. Each thread looks at its target (one attribute read), takes the
// pictures from the icon cache when the target is unchanged, and otherwise reads them from the
// program file (most programs) or has the shell extract them.
//
// The window's thread never waits for these threads: an extraction cannot be cancelled, and
// on a switched-off network share it takes the network's time-out. A run that is stopped or
// replaced lets its threads finish their extraction on their own; what they fetch then is
// dropped, and a thread still inside the shell when the program ends is ended with it.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/IconCache.h"

namespace ol {

// Where a shortcut's target is on this computer (WhereOnThisComputer: a removable drive may
// have another letter here, `launcherDrive` being the launcher's own), and, unless `cache` is
// null (a folder), its pictures: from the cache when the file's stamp is the one the cache
// knows (unless `fresh`), else read from the program file or extracted, and given to the cache.
struct TargetLook {
  std::string where;              // empty: the target is not there
  CIconCache::Pictures pictures;  // null: not there, or no icon in it
};
TargetLook LookAtTarget(const std::string& stored, char launcherDrive, CIconCache* cache, bool fresh = false);

class CIconFetcher {
 public:
  struct Job {
    std::string target;
    bool pictures;  // a program's: its pictures too, not only where it is
  };
  struct Result {
    int job;
    TargetLook look;
  };

  CIconFetcher() = default;
  ~CIconFetcher() { Stop(); }
  CIconFetcher(const CIconFetcher&) = delete;
  CIconFetcher& operator=(const CIconFetcher&) = delete;

  // Takes a run's jobs; a run still going is stopped first. Go() starts the threads.
  void Prepare(std::vector<Job> jobs, char launcherDrive, std::shared_ptr<CIconCache> cache, HWND window,
               UINT message);
  // Looks at every job's target on `threads` threads, and posts the message to the window
  // whenever results wait and no such message is on its way. Once per run.
  void Go(int threads);
  // These jobs (on screen now) are fetched before the rest.
  void PutFirst(std::vector<int> jobs);
  // The job is not wanted any more (its shortcuts went, or it was fetched on the window's
  // thread).
  void Drop(int job);
  // The window has received the message: the next result posts it again. So one message at
  // most is on its way, however long the window takes over the results.
  void Heard();
  // Up to `most` results, in the order they were fetched.
  std::vector<Result> Take(std::size_t most);
  // True while jobs are still to be fetched, or results wait to be taken.
  bool Busy() const;
  bool HasResults() const;
  // Ends the run at once: no fetch starts any more, and nothing more is handed over.
  void Stop();

  // How many threads fetch on this machine: one per core, at most four.
  static int ThreadsForThisMachine();
  // Waits up to `timeout` for every fetching thread to have ended; false when some are still
  // inside the shell.
  static bool WaitForThreads(std::chrono::milliseconds timeout);

 private:
  struct Run;
  static void Fetch(const std::shared_ptr<Run>& run);

  std::shared_ptr<Run> m_run;
};

}  // namespace ol
