#include "archive/decoded_folder.h"

#include <algorithm>

#include "archive/sevenz_folder.h"

namespace oxlip::archive {
namespace {

// Folders up to this size are decoded whole where they are read; a thread costs more.
constexpr std::uint64_t kThreadFromBytes = 4 << 20;
// How far the decoding thread may run ahead, in pieces.
constexpr std::size_t kPiecesAhead = 16;

}  // namespace

DecodedFolder::DecodedFolder(const std::string& archive, const SevenZFolderInfo& folder)
    : archive_(archive), folder_(folder) {
  threaded_ = folder.UnpackSize() >= kThreadFromBytes;
  if (!threaded_) return;
  started_ = true;
  thread_ = std::thread([this] {
    std::string why;
    bool ok = UnpackFolder(
        archive_, folder_,
        [this](const char* data, std::size_t size) { return Produce(data, size); }, &why);
    std::lock_guard lock(mutex_);
    if (!ok && !stopped_) failure_ = why.empty() ? "damaged archive" : why;
    done_ = true;
    changed_.notify_all();
  });
}

DecodedFolder::~DecodedFolder() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
}

bool DecodedFolder::Produce(const char* data, std::size_t size) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stopped_ || pieces_.size() < kPiecesAhead; });
  if (stopped_) return false;
  pieces_.emplace_back(data, size);
  changed_.notify_all();
  return true;
}

bool DecodedFolder::NextPiece(std::string* error) {
  if (!started_) {
    // Small: decoded here and now, in one piece.
    started_ = true;
    done_ = true;
    if (!UnpackFolderToString(archive_, folder_, &current_, error)) return false;
    offset_ = 0;
    return true;
  }
  if (!threaded_) {
    *error = "damaged archive: a folder holds less than its files";
    return false;
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return done_ || !pieces_.empty(); });
  if (pieces_.empty()) {
    *error = failure_.empty() ? "damaged archive: a folder holds less than its files" : failure_;
    return false;
  }
  current_ = std::move(pieces_.front());
  pieces_.pop_front();
  offset_ = 0;
  changed_.notify_all();
  return true;
}

bool DecodedFolder::Pass(std::uint64_t size, const Sink& sink, std::string* error) {
  while (size > 0) {
    if (offset_ == current_.size() && !NextPiece(error)) return false;
    std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, current_.size() - offset_));
    if (n > 0 && !sink(current_.data() + offset_, n)) return false;
    offset_ += n;
    size -= n;
  }
  return true;
}

}  // namespace oxlip::archive
