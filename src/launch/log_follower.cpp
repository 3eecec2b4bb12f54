#include "launch/log_follower.h"

#include <algorithm>
#include <utility>

#include "platform/path_status.h"
#include "platform/random_access_file.h"

namespace oxlip::launch {

std::size_t WholeCharacters(const std::string& text) {
  std::size_t size = text.size();
  // A sequence is at most four bytes: look back at most three for its lead byte.
  for (std::size_t back = 1; back <= std::min<std::size_t>(3, size); ++back) {
    auto byte = static_cast<unsigned char>(text[size - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? size - back : size;
  }
  return size;
}

LogFollower::LogFollower(std::string path, std::size_t cap)
    : path_(std::move(path)), cap_(std::max<std::size_t>(cap, 2)) {}

bool LogFollower::Restarted(std::uint64_t device, std::uint64_t inode, std::int64_t size) const {
  return !seen_ || device != device_ || inode != inode_ || size < offset_;
}

void LogFollower::Forget() {
  text_.clear();
  held_.clear();
  offset_ = 0;
}

LogFollower::Change LogFollower::Poll() {
  Change change;
  platform::PathStatus status = platform::LinkStatus(path_);
  platform::RandomAccessFile file;
  if (status.kind != platform::PathKind::kFile || !file.OpenForReading(path_)) {
    // Gone (moved aside for the next run, not yet made anew): nothing to show.
    change.reset = seen_ || !text_.empty();
    seen_ = false;
    Forget();
    return change;
  }
  std::int64_t size = file.Size();
  if (Restarted(status.device, status.inode, size)) {
    change.reset = seen_ || !text_.empty();
    Forget();
    seen_ = true;
    device_ = status.device;
    inode_ = status.inode;
  }
  if (size <= offset_) return change;
  // More than the cap was written since the last poll: only its end is shown.
  bool skipped = static_cast<std::uint64_t>(size - offset_) > cap_;
  if (skipped) {
    Forget();
    offset_ = size - static_cast<std::int64_t>(cap_);
    change.reset = true;
  }
  std::string added(static_cast<std::size_t>(size - offset_), '\0');
  std::int64_t got = file.ReadAt(offset_, added.data(), added.size());
  if (got <= 0) return change;
  added.resize(static_cast<std::size_t>(got));
  offset_ += got;
  added.insert(0, held_);
  // The line the skip cut into is not shown half.
  if (skipped) added.erase(0, std::min(added.size(), added.find('\n') + 1));
  std::size_t whole = WholeCharacters(added);
  held_ = added.substr(whole);
  added.resize(whole);
  text_ += added;
  if (!change.reset) change.appended = std::move(added);
  Trim(change);
  return change;
}

// Drops the oldest lines down to three quarters of the cap, so a window redraws the whole text
// only now and then, not at every poll once the cap is reached.
void LogFollower::Trim(Change& change) {
  if (text_.size() <= cap_) return;
  std::size_t cut = text_.size() - cap_ * 3 / 4;
  std::size_t line = text_.find('\n', cut - 1);
  text_.erase(0, line == std::string::npos ? cut : line + 1);
  change.reset = true;
  change.appended.clear();
}

}  // namespace oxlip::launch
