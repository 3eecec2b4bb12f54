#pragma once
// Several HTTP transfers at once over one libcurl multi handle, so connections to a host are
// kept and reused between files.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace oxlip {

struct FinishedTransfer {
  std::size_t id = 0;
  bool ok = false;  // complete, status 2xx, and renamed into place
};

class TransferBatch {
 public:
  TransferBatch();
  ~TransferBatch();
  TransferBatch(const TransferBatch&) = delete;
  TransferBatch& operator=(const TransferBatch&) = delete;

  // Starts fetching `url` into a temporary file beside `path`; it becomes `path` only when
  // complete. False when the transfer could not be set up (nothing is left behind then).
  bool Start(std::size_t id, const std::string& url, const std::string& path);

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

}  // namespace oxlip
