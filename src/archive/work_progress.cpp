#include "archive/work_progress.h"

#include <algorithm>

namespace oxlip::archive {
namespace {

thread_local base::ProgressSink* active_sink = nullptr;

}  // namespace

ProgressScope::ProgressScope(base::ProgressSink* progress) : previous_(active_sink) {
  active_sink = progress;
}

ProgressScope::~ProgressScope() { active_sink = previous_; }

base::ProgressSink* ActiveProgress() { return active_sink; }

CommandProgress::CommandProgress(std::uint64_t total) : sink_(active_sink), total_(total) {}

bool CommandProgress::Stopped(std::string* error) {
  if (!sink_ || !sink_->Cancelled()) return false;
  *error = kCancelledText;
  return true;
}

void CommandProgress::Advance(std::uint64_t bytes) {
  if (!sink_ || total_ == 0) return;
  std::uint64_t done = done_ += bytes;
  int percent = static_cast<int>(std::min<std::uint64_t>(done, total_) * 100 / total_);
  // The window is touched only when the whole percentage moves.
  if (shown_.exchange(percent) != percent) sink_->SetPercent(percent);
}

}  // namespace oxlip::archive
