#pragma once
// Timing ours against a peer on a shared, noisy machine: the two run in turn, the order
// swapped every round, and the figure is the median of the per-round ratios.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

template <typename F>
double Seconds(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct PairedTimes {
  std::vector<double> ours, theirs;
  double Ratio() const {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < ours.size(); ++i) ratios.push_back(ours[i] / theirs[i]);
    return Median(ratios);
  }
};

// `ours` and `theirs` return false when their run failed; `ok` is cleared then. `reset`
// runs before each of them, outside the time taken.
template <typename Ours, typename Theirs, typename Reset>
PairedTimes RunPaired(int rounds, Ours&& ours, Theirs&& theirs, Reset&& reset, bool& ok) {
  PairedTimes times;
  auto timed = [&](auto& side) {
    reset();
    return Seconds([&] { ok = side() && ok; });
  };
  for (int round = 0; round < rounds; ++round) {
    double a = 0, b = 0;
    if (round % 2 == 0) {
      a = timed(ours);
      b = timed(theirs);
    } else {
      b = timed(theirs);
      a = timed(ours);
    }
    times.ours.push_back(a);
    times.theirs.push_back(b);
  }
  return times;
}

// One line: the median times and the median ratio.
inline void PrintPaired(const std::string& label, const PairedTimes& times) {
  std::printf("%-28s ours %7.3f s  theirs %7.3f s  ratio %.2f\n", label.c_str(), Median(times.ours),
              Median(times.theirs), times.Ratio());
}

}  // namespace bench
