#include "app/icon_loader.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace oxlip::app {

IconLoader::IconLoader(Reader read) : read_(std::move(read)) {}

IconLoader::~IconLoader() { Stop(); }

void IconLoader::Add(std::vector<Job> jobs) {
  if (jobs.empty()) return;
  std::lock_guard lock(mutex_);
  for (Job& job : jobs) waiting_.push_back(std::move(job));
  // Started on first use: a program without instance icons never has the thread.
  if (!worker_.joinable()) {
    stopping_ = false;
    worker_ = std::thread([this] { Work(); });
  }
  wake_.notify_one();
}

void IconLoader::Prefer(const std::vector<const Instance*>& records) {
  std::unordered_map<const Instance*, size_t> rank;
  for (size_t i = 0; i < records.size(); ++i) rank.emplace(records[i], i);
  std::lock_guard lock(mutex_);
  auto preferred = std::stable_partition(waiting_.begin(), waiting_.end(),
                                         [&](const Job& job) { return rank.count(job.record); });
  std::stable_sort(waiting_.begin(), preferred,
                   [&](const Job& a, const Job& b) { return rank[a.record] < rank[b.record]; });
}

std::vector<IconLoader::Loaded> IconLoader::Take(size_t limit) {
  std::lock_guard lock(mutex_);
  size_t count = std::min(limit, done_.size());
  std::vector<Loaded> taken(std::make_move_iterator(done_.begin()),
                            std::make_move_iterator(done_.begin() + count));
  done_.erase(done_.begin(), done_.begin() + count);
  return taken;
}

bool IconLoader::busy() const {
  std::lock_guard lock(mutex_);
  return !waiting_.empty() || reading_ > 0 || !done_.empty();
}

void IconLoader::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.clear();
    wake_.notify_one();
  }
  if (worker_.joinable()) worker_.join();
  std::lock_guard lock(mutex_);
  done_.clear();
}

void IconLoader::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (stopping_) return;
    Job job = std::move(waiting_.front());
    waiting_.pop_front();
    ++reading_;
    lock.unlock();
    std::optional<image::Image> image = read_(job.folder);
    lock.lock();
    --reading_;
    if (!stopping_) done_.push_back({job.record, std::move(image)});
  }
}

}  // namespace oxlip::app
