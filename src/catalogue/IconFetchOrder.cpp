#include "catalogue/IconFetchOrder.h"

#include <algorithm>

namespace ol {

void CIconFetchOrder::Reset(int count) {
  m_taken.assign(static_cast<std::size_t>(std::max(count, 0)), false);
  m_next = 0;
  m_first.clear();
  m_firstNext = 0;
  m_remaining = static_cast<int>(m_taken.size());
}

void CIconFetchOrder::PutFirst(std::vector<int> jobs) {
  m_first = std::move(jobs);
  m_firstNext = 0;
}

void CIconFetchOrder::MarkTaken(int job) {
  if (job < 0 || job >= static_cast<int>(m_taken.size()) || m_taken[static_cast<std::size_t>(job)]) return;
  m_taken[static_cast<std::size_t>(job)] = true;
  --m_remaining;
}

std::optional<int> CIconFetchOrder::Take() {
  const int count = static_cast<int>(m_taken.size());
  while (m_firstNext < m_first.size()) {
    const int job = m_first[m_firstNext++];
    if (job >= 0 && job < count && !m_taken[static_cast<std::size_t>(job)]) {
      MarkTaken(job);
      return job;
    }
  }
  while (m_next < count && m_taken[static_cast<std::size_t>(m_next)]) ++m_next;
  if (m_next == count) return std::nullopt;
  MarkTaken(m_next);
  return m_next++;
}

}  // namespace ol
