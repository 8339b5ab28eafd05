#pragma once
// What every benchmark program shares: the clock, the median of repeated runs,
// and the row format of the report that scripts/bench.sh gathers.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kelvane::bench {

inline double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The middle value; -1 when nothing was measured.
inline double median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// One row of the report: figure, measured, aim, met ("yes", "NO" or "-").
inline void row(const char* figure, double measured, const char* aim, const char* met, int decimals = 1) {
  std::printf("%-60s %12.*f %14s %6s\n", figure, decimals, measured, aim, met);
}

inline const char* met(bool ok) { return ok ? "yes" : "NO"; }

}  // namespace kelvane::bench
