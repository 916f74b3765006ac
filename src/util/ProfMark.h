#pragma once
#include <chrono>
#include <cstdio>
inline void ProfMark(const char* what) {
  static const auto t0 = std::chrono::steady_clock::now();
  std::fprintf(stderr, "PROF %8.1f %s\n", std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count(), what);
}
