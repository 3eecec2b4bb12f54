#pragma once
// Archiver commands that report how far they are and stop when the person cancels: while a
// ProgressScope lives, the commands its thread runs tell its sink the share of the bytes they
// packed, and stop before the next file they pack or unpack once the sink is cancelled. A
// stopped command fails, and what it began is removed as after any failure (an archive is
// written beside its place and only then moved there).
#include <atomic>
#include <cstdint>
#include <string>

#include "base/progress.h"

namespace oxlip::archive {

class ProgressScope {
 public:
  explicit ProgressScope(base::ProgressSink& progress) : ProgressScope(&progress) {}
  // The scope of another thread (ActiveProgress there) for a helper of its command; none when
  // null.
  explicit ProgressScope(base::ProgressSink* progress);
  ~ProgressScope();
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  base::ProgressSink* previous_;
};

// The sink of this thread's scope, or null.
base::ProgressSink* ActiveProgress();

// The error of a stopped command.
inline constexpr const char* kCancelledText = "cancelled";

// One command's view of the scope of the thread that made it; callable from any thread after.
class CommandProgress {
 public:
  // `total`: the bytes the command will report through Advance.
  explicit CommandProgress(std::uint64_t total);
  // True, with `error` set, when the command must stop.
  bool Stopped(std::string* error);
  void Advance(std::uint64_t bytes);

 private:
  base::ProgressSink* sink_;
  std::uint64_t total_;
  std::atomic<std::uint64_t> done_{0};
  std::atomic<int> shown_{-1};
};

}  // namespace oxlip::archive
