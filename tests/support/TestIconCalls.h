// The calls that look at a target and take its icon, answered for tests: counted, declined for
// a chosen file as the shell declines a file on a slow link, or held inside the shell until the
// test lets them go. In place for as long as it lives; it ends only once no thread can call it.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>

#include "catalogue/IconExtraction.h"

namespace oltest {

class TestIconCalls : public ol::CIconCalls {
 public:
  TestIconCalls();
  ~TestIconCalls() override;
  TestIconCalls(const TestIconCalls&) = delete;
  TestIconCalls& operator=(const TestIconCalls&) = delete;

  // Calls on other threads than this one (the window's) wait inside from now on, until let
  // through: a number of extractions (looking at targets meanwhile), or all.
  void Hold() { Allow(0); }
  void Allow(int extractions);
  void Release() { Allow(-1); }
  // The shell declines this file once (E_FAIL), as it does for a file on a slow network link.
  void DeclineOnce(const std::string& path);
  // The extractions the shell was asked for, and those waiting inside it now.
  int Extractions() const;
  int Waiting() const;

  bool Stamp(const std::string& path, ol::FileStamp* stamp) override;
  HRESULT DefaultExtract(const std::string& path, ol::IconSizes sizes, HICON* large, HICON* small) override;
  // Every icon comes through the shell's calls above, where it can be counted and held.
  std::optional<ol::TargetPictures> ReadProgramFile(const std::string&, ol::IconSizes) override { return std::nullopt; }

 private:
  // Waits while held, but never on the window's thread; true for an extraction to decline.
  bool Enter(const std::string& path, bool extraction);

  mutable std::mutex m_lock;
  std::condition_variable m_changed;
  const DWORD m_ownThread;
  int m_allowed = -1;  // -1: every extraction goes through
  int m_waiting = 0;
  int m_extractions = 0;
  std::set<std::string> m_declined;
};

}  // namespace oltest
