#include "archive/ordered_output.h"

#include "base/error_text.h"

namespace oxlip::archive {

OrderedOutput::OrderedOutput(platform::RandomAccessFile* archive, std::string archive_path,
                             std::size_t streams, std::size_t memory_per_stream)
    : archive_(archive),
      archive_path_(std::move(archive_path)),
      memory_per_stream_(memory_per_stream),
      pending_(streams) {}

bool OrderedOutput::Fail(const std::string& why) {
  if (!failed_) error_ = why;
  failed_ = true;
  return false;
}

bool OrderedOutput::KeepAside(Pending& pending, const char* data, std::size_t size) {
  if (!pending.scratch && pending.memory.size() + size <= memory_per_stream_) {
    pending.memory.append(data, size);
    return true;
  }
  if (!pending.scratch) {
    pending.scratch = std::make_unique<platform::RandomAccessFile>();
    if (!pending.scratch->CreateScratch(archive_path_) ||
        !pending.scratch->Write(pending.memory.data(), pending.memory.size()))
      return FailScratch(pending, "write");
    std::string().swap(pending.memory);
  }
  return pending.scratch->Write(data, size) || FailScratch(pending, "write");
}

bool OrderedOutput::FailScratch(const Pending& pending, const char* verb) {
  return Fail(
      base::WithReason(std::string("can't ") + verb + " a scratch file beside " + archive_path_,
                       pending.scratch->error().reason));
}

bool OrderedOutput::FailArchive() {
  return Fail(base::WithReason("can't write " + archive_path_, archive_->error().reason));
}

bool OrderedOutput::MoveIn(Pending& pending) {
  if (!archive_->Write(pending.memory.data(), pending.memory.size())) return FailArchive();
  std::string().swap(pending.memory);
  if (!pending.scratch) return true;
  std::string buffer(1 << 20, '\0');
  for (std::int64_t at = 0; at < pending.scratch->Size();) {
    std::int64_t got = pending.scratch->ReadAt(at, buffer.data(), buffer.size());
    if (got <= 0) return FailScratch(pending, "read");
    if (!archive_->Write(buffer.data(), static_cast<std::size_t>(got))) return FailArchive();
    at += got;
  }
  pending.scratch.reset();
  return true;
}

bool OrderedOutput::Write(std::size_t stream, const char* data, std::size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (failed_) return false;
  Pending& pending = pending_[stream];
  pending.size += size;
  if (stream != head_) return KeepAside(pending, data, size);
  return archive_->Write(data, size) || FailArchive();
}

bool OrderedOutput::Finish(std::size_t stream) {
  std::lock_guard<std::mutex> lock(mutex_);
  pending_[stream].finished = true;
  while (!failed_ && head_ < pending_.size() && pending_[head_].finished) {
    if (++head_ < pending_.size() && !MoveIn(pending_[head_])) return false;
  }
  return !failed_;
}

std::string OrderedOutput::Error() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

bool OrderedOutput::Complete() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !failed_ && head_ == pending_.size();
}

}  // namespace oxlip::archive
