// Timing: each sample is one frame between two reads of the monotonic clock,
// with untimed set-up before it; the result is the median and the 95th
// percentile of the samples after a warm-up.
#pragma once
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bench {

inline int64_t now_ns() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

struct Stats {
  double median_us = 0, p95_us = 0;
  int samples = 0;
};

inline Stats stats_of(std::vector<double> us) {
  Stats s;
  s.samples = int(us.size());
  if (us.empty()) return s;
  std::sort(us.begin(), us.end());
  const size_t n = us.size();
  s.median_us = n % 2 ? us[n / 2] : (us[n / 2 - 1] + us[n / 2]) / 2;
  s.p95_us = us[std::min(n - 1, size_t(double(n) * 0.95))];
  return s;
}

// Runs set_up(); work(); `warmup` times untimed, then samples until
// max_samples are taken or max_seconds have passed (but at least min_samples).
template <class SetUp, class Work>
Stats sample(SetUp set_up, Work work, int warmup, int min_samples, int max_samples, double max_seconds) {
  for (int i = 0; i < warmup; ++i) {
    set_up();
    work();
  }
  std::vector<double> us;
  us.reserve(size_t(max_samples));
  const int64_t deadline = now_ns() + int64_t(max_seconds * 1e9);
  while (int(us.size()) < max_samples && (int(us.size()) < min_samples || now_ns() < deadline)) {
    set_up();
    const int64_t t0 = now_ns();
    work();
    const int64_t t1 = now_ns();
    us.push_back(double(t1 - t0) / 1000.0);
  }
  return stats_of(std::move(us));
}

}  // namespace bench
