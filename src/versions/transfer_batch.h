#pragma once
// Several HTTP transfers at once over one libcurl multi handle, so connections to a host are
// kept and reused between files.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/dates.h"

namespace oxlip::versions {

// What a file must be to be kept: its size and the MD5 of its bytes (lower-case hex), and
// the date it gets.
struct ExpectedFile {
  std::int64_t size = 0;
  std::string md5;
  platform::DateValue date = 0;
};

enum class TransferEnd {
  kPlaced,     // arrived whole and as expected, and now stands at its path
  kFailed,     // the transfer failed: incomplete, or a status outside 2xx
  kCorrupt,    // arrived whole, but not as expected
  kNotPlaced,  // arrived as expected, but could not be renamed to its path
};

struct FinishedTransfer {
  std::size_t id = 0;
  TransferEnd end = TransferEnd::kFailed;
  bool second_name = false;  // placed, and under the second name too
  std::string reason;        // the system's, when it could not be placed
};

class TransferBatch {
 public:
  TransferBatch();
  ~TransferBatch();
  TransferBatch(const TransferBatch&) = delete;
  TransferBatch& operator=(const TransferBatch&) = delete;

  // Starts fetching `url` into a file in the folder of `path`, checked as it arrives; it
  // replaces `path` only when it is all there and as expected, and is removed otherwise. Then,
  // where the file system allows, `second_name` (when not empty) becomes a second name of the
  // same file. False when the transfer could not be set up (nothing is left behind then).
  bool Start(std::size_t id, const std::string& url, const std::string& path,
             const ExpectedFile& expected, const std::string& second_name = "");

  // Lets the transfers run for at most `timeout_ms` and returns those that ended meanwhile.
  std::vector<FinishedTransfer> Wait(int timeout_ms);

  // Stops every running transfer and deletes its temporary file.
  void CancelAll();
  // The same for the transfers whose id is greater than `id`.
  void CancelAfter(std::size_t id);

  std::size_t InFlight() const;
  // Body bytes received by every transfer started so far.
  std::int64_t BytesReceived() const { return bytes_received_; }

  struct Slot;  // one reusable easy handle and the file it writes

 private:
  Slot* IdleSlot();
  FinishedTransfer Finish(Slot& slot, int curl_result);
  void CancelSlots(bool all, std::size_t after);

  void* multi_ = nullptr;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::int64_t bytes_received_ = 0;
};

}  // namespace oxlip::versions
