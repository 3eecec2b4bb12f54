#pragma once
// How far a download batch is, over all its files together.
#include <chrono>
#include <cstdint>
#include <string>

#include "base/progress.h"

namespace oxlip::versions {

// Whole percent of `received` over `total`, 0 to 100; 100 when there is nothing to fetch.
int BatchPercent(std::int64_t received, std::int64_t total);

// "M:SS ETA:M:SS": the time so far and the estimated time of the whole batch at the rate so
// far; the estimate is "-:--" until a byte has arrived.
std::string BatchTimeText(std::int64_t elapsed_ms, std::int64_t received, std::int64_t total);

// Touches the sink only when the whole percent changes, so a fast stream of bytes does not
// flood the window.
class BatchProgress {
 public:
  BatchProgress(base::ProgressSink* sink, std::int64_t total);
  void Report(std::int64_t received);
  void SetName(const std::string& text);

 private:
  base::ProgressSink* sink_;
  std::int64_t total_;
  std::chrono::steady_clock::time_point start_;
  int last_ = -1;
};

}  // namespace oxlip::versions
