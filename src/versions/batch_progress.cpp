#include "versions/batch_progress.h"

#include <algorithm>

namespace oxlip::versions {
namespace {

std::string ClockText(std::int64_t ms) {
  std::int64_t seconds = ms / 1000;
  std::string s = "0" + std::to_string(seconds % 60);
  return std::to_string(seconds / 60) + ":" + s.substr(s.size() - 2);
}

}  // namespace

int BatchPercent(std::int64_t received, std::int64_t total) {
  if (total <= 0) return 100;
  double percent =
      static_cast<double>(std::max<std::int64_t>(received, 0)) * 100.0 / static_cast<double>(total);
  return static_cast<int>(std::min(percent, 100.0));
}

std::string BatchTimeText(std::int64_t elapsed_ms, std::int64_t received, std::int64_t total) {
  std::string text = ClockText(elapsed_ms) + " ETA:";
  if (received <= 0) return text + "-:--";
  float estimate =
      static_cast<float>(elapsed_ms) * static_cast<float>(total) / static_cast<float>(received);
  // Beyond a year the figure means nothing; the cap keeps the conversion defined.
  constexpr std::int64_t kYearMs = 365LL * 24 * 3600 * 1000;
  bool capped = !(estimate < static_cast<float>(kYearMs));
  return text + ClockText(capped ? kYearMs : static_cast<std::int64_t>(estimate));
}

BatchProgress::BatchProgress(base::ProgressSink* sink, std::int64_t total)
    : sink_(sink), total_(total), start_(std::chrono::steady_clock::now()) {}

void BatchProgress::Report(std::int64_t received) {
  int percent = BatchPercent(received, total_);
  if (percent == last_ || !sink_) return;
  last_ = percent;
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start_);
  sink_->SetTime(BatchTimeText(elapsed.count(), received, total_));
  sink_->SetPercent(percent);
}

void BatchProgress::SetName(const std::string& text) {
  if (sink_) sink_->SetName(text);
}

}  // namespace oxlip::versions
