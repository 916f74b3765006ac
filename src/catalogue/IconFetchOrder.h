// The order in which the catalogue's program icons are fetched after start-up: the items on
// screen first, then the rest in list order, each at most once. Portable; whoever shares it
// between threads guards it with a lock.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace ol {

class CIconFetchOrder {
 public:
  explicit CIconFetchOrder(int count = 0) { Reset(count); }

  // Jobs 0 to count - 1, none taken yet.
  void Reset(int count);
  // These jobs (on screen now, in order) go before every other job still waiting; an earlier
  // call's jobs that were not taken yet fall back into list order.
  void PutFirst(std::vector<int> jobs);
  // The next job, or nothing once every job has been taken.
  std::optional<int> Take();
  // A job done some other way (its icon was needed at once): never handed out.
  void Drop(int job) { MarkTaken(job); }
  int Remaining() const { return m_remaining; }

 private:
  void MarkTaken(int job);

  std::vector<bool> m_taken;
  int m_next = 0;  // no job before it is waiting
  std::vector<int> m_first;
  std::size_t m_firstNext = 0;
  int m_remaining = 0;
};

}  // namespace ol
