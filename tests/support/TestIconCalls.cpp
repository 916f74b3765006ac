#include "support/TestIconCalls.h"

#include "catalogue/IconFetcher.h"

namespace oltest {

TestIconCalls::TestIconCalls() : m_ownThread(::GetCurrentThreadId()) { ol::SetIconCallsForTesting(this); }

TestIconCalls::~TestIconCalls() {
  Release();
  // Every fetching thread ends before the real calls come back: none is left holding this one.
  ol::CIconFetcher::WaitForThreads(std::chrono::seconds(60));
  ol::SetIconCallsForTesting(nullptr);
  std::unique_lock<std::mutex> lock(m_lock);
  m_changed.wait(lock, [this] { return m_inside == 0; });
}

void TestIconCalls::Hold() { Allow(0); }

void TestIconCalls::Allow(int extractions) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_allowed = extractions;
  m_changed.notify_all();
}

void TestIconCalls::Release() { Allow(-1); }

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

void TestIconCalls::WaitWhileHeld(std::unique_lock<std::mutex>& lock) {
  ++m_waiting;
  m_changed.wait(lock, [this] { return m_allowed != 0 || ::GetCurrentThreadId() == m_ownThread; });
  --m_waiting;
}

bool TestIconCalls::Stamp(const std::string& path, ol::FileStamp* stamp) {
  {
    std::unique_lock<std::mutex> lock(m_lock);
    ++m_inside;
    WaitWhileHeld(lock);
  }
  const bool there = CIconCalls::Stamp(path, stamp);
  std::lock_guard<std::mutex> guard(m_lock);
  --m_inside;
  m_changed.notify_all();
  return there;
}

HRESULT TestIconCalls::DefaultExtract(const std::string& path, ol::IconSizes sizes, HICON* large, HICON* small) {
  {
    std::unique_lock<std::mutex> lock(m_lock);
    ++m_inside;
    WaitWhileHeld(lock);
    if (m_allowed > 0 && ::GetCurrentThreadId() != m_ownThread) --m_allowed;
    ++m_extractions;
    if (m_declined.erase(path) > 0) {
      --m_inside;
      m_changed.notify_all();
      return E_FAIL;
    }
  }
  const HRESULT result = CIconCalls::DefaultExtract(path, sizes, large, small);
  std::lock_guard<std::mutex> guard(m_lock);
  --m_inside;
  m_changed.notify_all();
  return result;
}

}  // namespace oltest
