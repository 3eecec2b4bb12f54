#include "archive/parallel_entries.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <thread>

#include "archive/extract_budget.h"
#include "archive/work_progress.h"
#include "archive/write_entry.h"

namespace oxlip::archive {
namespace {

// Below this, a second thread and reader cost more than they save.
constexpr std::uint64_t kParallelFromBytes = 1 << 20;
constexpr unsigned kMostThreads = 4;

// Two entries with one target, or a file where another entry needs a folder: then the order
// of writing decides the result, and it must be the archive's.
bool TargetsClash(const std::vector<PlannedEntry>& plans) {
  std::set<std::string> files;
  for (const PlannedEntry& plan : plans)
    if (plan.action == EntryAction::kFile && !files.insert(plan.target).second) return true;
  for (const PlannedEntry& plan : plans) {
    if (plan.action == EntryAction::kSkip) continue;
    if (plan.action == EntryAction::kFolder && files.count(plan.target)) return true;
    for (std::size_t slash = plan.target.find('/'); slash != std::string::npos;
         slash = plan.target.find('/', slash + 1))
      if (files.count(plan.target.substr(0, slash))) return true;
  }
  return false;
}

bool WriteInOrder(OutputFolder& out, const Command& command, const std::vector<EntryInfo>& entries,
                  const std::vector<PlannedEntry>& plans, const EntryReader& reader,
                  std::string* error) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    auto fill = [&](const Sink& sink, std::string* why) { return reader(i, sink, why); };
    if (!WriteEntry(out, command, entries[i], plans[i], fill, error)) return false;
  }
  return true;
}

// The files still to write, taken in entry order by whichever thread is free.
class FileQueue {
 public:
  explicit FileQueue(std::vector<std::size_t> files) : files_(std::move(files)) {}

  // False when none is left or a failure stopped the work.
  bool Next(std::size_t* index) {
    std::size_t k = next_++;
    if (stopped_ || k >= files_.size()) return false;
    *index = files_[k];
    return true;
  }

  void Fail(std::size_t index, std::string why) {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    if (index >= failed_) return;
    failed_ = index;
    failure_ = std::move(why);
  }

  bool Failed(std::string* error) {
    std::lock_guard lock(mutex_);
    if (failed_ == SIZE_MAX) return false;
    *error = failure_;
    return true;
  }

 private:
  std::vector<std::size_t> files_;
  std::atomic<std::size_t> next_ = 0;
  std::atomic<bool> stopped_ = false;
  std::mutex mutex_;
  std::size_t failed_ = SIZE_MAX;
  std::string failure_;
};

void WriteFiles(OutputFolder& out, const Command& command, const std::vector<EntryInfo>& entries,
                const std::vector<PlannedEntry>& plans, const EntryReader& reader,
                FileQueue& queue) {
  std::size_t i = 0;
  while (queue.Next(&i)) {
    auto fill = [&](const Sink& sink, std::string* why) { return reader(i, sink, why); };
    std::string why;
    if (!WriteEntry(out, command, entries[i], plans[i], fill, &why)) queue.Fail(i, why);
  }
}

}  // namespace

bool WriteEntries(OutputFolder& out, const Command& command, const std::vector<EntryInfo>& entries,
                  const std::vector<PlannedEntry>& plans, const EntryReader& reader,
                  const EntryReaderMaker& make_reader, unsigned threads, std::string* error) {
  std::vector<std::size_t> files;
  std::uint64_t bytes = 0;
  for (std::size_t i = 0; i < plans.size(); ++i)
    if (plans[i].action == EntryAction::kFile) {
      files.push_back(i);
      bytes += entries[i].size;
    }
  if (threads == 0)
    threads = std::min(std::max(1u, std::thread::hardware_concurrency()), kMostThreads);
  threads = static_cast<unsigned>(std::min<std::size_t>(threads, files.size()));
  if (threads < 2 || bytes < kParallelFromBytes || TargetsClash(plans))
    return WriteInOrder(out, command, entries, plans, reader, error);
  for (const PlannedEntry& plan : plans)
    if ((plan.action == EntryAction::kFolder && !out.MakeFolder(plan.target, error)) ||
        (plan.action == EntryAction::kFile && !out.MakeParents(plan.target, error)))
      return false;
  FileQueue queue(std::move(files));
  ExtractBudget* budget = ActiveExtractBudget();
  base::ProgressSink* progress = ActiveProgress();
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < threads; ++t)
    helpers.emplace_back([&] {
      SharedExtractBudget shared(budget);
      ProgressScope shared_progress(progress);
      std::string ignored;  // a thread without a reader leaves its share to the others
      if (EntryReader own = make_reader(&ignored))
        WriteFiles(out, command, entries, plans, own, queue);
    });
  WriteFiles(out, command, entries, plans, reader, queue);
  for (std::thread& helper : helpers) helper.join();
  return !queue.Failed(error);
}

}  // namespace oxlip::archive
