// The program's file-system seam wrapped for tests: it counts the calls, answers chosen ones
// with a Windows error instead of making them, or stops making any from a chosen call on, as
// if the program had ended there. Its clock is its own: the program's waits for held files
// pass at once. It is in place for as long as it lives.
#pragma once

#include <set>

#include "util/FileSystem.h"

namespace oltest {

enum class FsCall {
  Open, Read, Write, Flush, Close, Attributes, SetAttributes, CopySecurity, Move, Delete, Copy, List
};
const char* FsCallName(FsCall call);

class FaultyFileSystem : public ol::CFileSystem {
 public:
  FaultyFileSystem();
  ~FaultyFileSystem() override;  // closes what was opened through it and is still open

  // The `nth` call of `call` (from 1) fails with `error`, and with `persistent` every later one.
  // Each kind of call keeps its own plan.
  void Fail(FsCall call, int nth, DWORD error, bool persistent);
  // The next `count` calls of `call` fail with `error`: a file held for a while.
  void FailNext(FsCall call, int count, DWORD error);
  // From call number `step` on (of any kind, from 1), nothing is done any more.
  void StopAt(int step) { m_stopAt = step; }
  int CallCount() const { return m_calls; }
  ULONGLONG WaitedMs() const { return m_now; }

  HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) override;
  bool Read(HANDLE file, void* buffer, DWORD size, DWORD* done) override;
  bool Write(HANDLE file, const void* bytes, DWORD size, DWORD* done) override;
  bool Flush(HANDLE file) override;
  bool Close(HANDLE file) override;
  DWORD Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, DWORD attributes) override;
  bool CopySecurity(const std::string& from, const std::string& to) override;
  bool Move(const std::string& from, const std::string& to, DWORD flags) override;
  bool Delete(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
  bool List(const std::string& pattern, std::vector<std::string>& names) override;
  ULONGLONG Now() override { return m_now; }
  void Wait(DWORD milliseconds) override { m_now += milliseconds; }

 private:
  // False when the call is to fail (its error set) instead of being made.
  bool Allowed(FsCall call);
  bool Stopped() const { return m_stopAt > 0 && m_calls >= m_stopAt; }

  int m_calls = 0;
  int m_stopAt = 0;
  struct Plan { int first = 0, last = 0; DWORD error = 0; };  // calls first to last fail (none for 0)
  int m_counts[12] = {};
  Plan m_plans[12];
  ULONGLONG m_now = 0;
  std::set<HANDLE> m_open;
};

}  // namespace oltest
