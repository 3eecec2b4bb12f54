#pragma once
// The packed streams of a 7z archive follow each other in folder order, but folders are packed
// at the same time and end in any order. The folder whose turn it is writes straight into the
// archive; the others keep their bytes aside (in memory, then in a scratch file beside the
// archive) until their turn comes.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/random_access_file.h"

namespace oxlip::archive {

class OrderedOutput {
 public:
  // Writes after what `archive` holds; scratch files go beside `archive_path`.
  OrderedOutput(platform::RandomAccessFile* archive, std::string archive_path, std::size_t streams,
                std::size_t memory_per_stream = 1 << 20);

  // Both are safe to call from several threads, each stream from one thread at a time. False
  // when a write failed, here or in another stream: the archive is then unusable.
  bool Write(std::size_t stream, const char* data, std::size_t size);
  bool Finish(std::size_t stream);

  // After every stream finished: whether all of them reached the archive, and their sizes.
  bool Complete() const;
  std::uint64_t StreamSize(std::size_t stream) const { return pending_[stream].size; }
  std::string Error() const;

 private:
  struct Pending {
    std::string memory;
    std::unique_ptr<platform::RandomAccessFile> scratch;
    std::uint64_t size = 0;
    bool finished = false;
  };

  bool KeepAside(Pending& pending, const char* data, std::size_t size);
  bool MoveIn(Pending& pending);
  bool Fail(const std::string& why);
  // With the system's reason for the failure of the scratch file or of the archive.
  bool FailScratch(const Pending& pending, const char* verb);
  bool FailArchive();

  platform::RandomAccessFile* archive_;
  std::string archive_path_;
  std::size_t memory_per_stream_;
  std::vector<Pending> pending_;
  std::size_t head_ = 0;  // the stream whose turn it is
  bool failed_ = false;
  std::string error_;
  mutable std::mutex mutex_;
};

}  // namespace oxlip::archive
