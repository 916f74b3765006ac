#include "support/TestIconCalls.h"

#include "catalogue/IconFetcher.h"

namespace oltest {

TestIconCalls::TestIconCalls() : m_ownThread(::GetCurrentThreadId()) { ol::SetIconCallsForTesting(this); }

TestIconCalls::~TestIconCalls() {
  Release();
  // Every fetching thread ends before the real calls come back: none is left inside this one.
  ol::CIconFetcher::WaitForThreads(std::chrono::seconds(60));
  ol::SetIconCallsForTesting(nullptr);
}

void TestIconCalls::Allow(int extractions) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_allowed = extractions;
  m_changed.notify_all();
}

void TestIconCalls::DeclineOnce(const std::string& path) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_declined.insert(path);
}

int TestIconCalls::Extractions() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_extractions;
}

int TestIconCalls::Waiting() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_waiting;
}

bool TestIconCalls::Enter(const std::string& path, bool extraction) {
  std::unique_lock<std::mutex> lock(m_lock);
  const bool windowThread = ::GetCurrentThreadId() == m_ownThread;
  ++m_waiting;
  m_changed.wait(lock, [&] { return m_allowed != 0 || windowThread; });
  --m_waiting;
  if (!extraction) return false;
  if (m_allowed > 0 && !windowThread) --m_allowed;
  ++m_extractions;
  return m_declined.erase(path) > 0;
}

bool TestIconCalls::Stamp(const std::string& path, ol::FileStamp* stamp) {
  Enter(path, false);
  return CIconCalls::Stamp(path, stamp);
}

HRESULT TestIconCalls::DefaultExtract(const std::string& path, ol::IconSizes sizes, HICON* large, HICON* small) {
  return Enter(path, true) ? E_FAIL : CIconCalls::DefaultExtract(path, sizes, large, small);
}

}  // namespace oltest
