#include "versions/transfer_batch.h"

#include <curl/curl.h>

#include "platform/curl_options.h"
#include "platform/http.h"
#include "platform/md5.h"
#include "platform/path.h"
#include "platform/pending_file.h"

namespace oxlip::versions {

struct TransferBatch::Slot {
  CURL* easy = nullptr;
  platform::PendingFile file;
  bool write_failed = false;
  // The bytes are checked as they pass, so a file is written once and never read back.
  platform::Md5 md5;
  std::int64_t size = 0;
  ExpectedFile expected;
  std::string path;
  std::string second_name;
  std::size_t id = 0;
  bool busy = false;
  std::int64_t* counter = nullptr;
};

namespace {

CURLM* Multi(void* handle) { return static_cast<CURLM*>(handle); }

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto* slot = static_cast<TransferBatch::Slot*>(user);
  size_t bytes = size * count;
  if (!slot->file.Write(data, bytes)) {
    slot->write_failed = true;
    return 0;  // ends the transfer as failed
  }
  slot->md5.Update(data, bytes);
  slot->size += static_cast<std::int64_t>(bytes);
  *slot->counter += static_cast<std::int64_t>(bytes);
  return bytes;
}

bool Status2xx(CURL* easy) {
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  return status >= 200 && status < 300;
}

}  // namespace

TransferBatch::TransferBatch() {
  platform::InitNetwork();
  multi_ = curl_multi_init();
}

TransferBatch::~TransferBatch() {
  CancelAll();
  for (auto& slot : slots_)
    if (slot->easy) curl_easy_cleanup(slot->easy);
  if (multi_) curl_multi_cleanup(Multi(multi_));
}

TransferBatch::Slot* TransferBatch::IdleSlot() {
  for (auto& slot : slots_)
    if (!slot->busy) return slot.get();
  auto slot = std::make_unique<Slot>();
  slot->easy = curl_easy_init();
  if (!slot->easy) return nullptr;
  slots_.push_back(std::move(slot));
  return slots_.back().get();
}

bool TransferBatch::Start(std::size_t id, const std::string& url, const std::string& path,
                          const ExpectedFile& expected, const std::string& second_name) {
  Slot* slot = multi_ ? IdleSlot() : nullptr;
  if (!slot || !slot->file.Create(path)) return false;
  CURL* easy = slot->easy;
  curl_easy_reset(easy);
  platform::SetTransferOptions(easy, url, WriteBody, slot);
  curl_easy_setopt(easy, CURLOPT_PRIVATE, reinterpret_cast<char*>(slot));
  slot->path = path;
  slot->second_name = second_name;
  slot->id = id;
  slot->expected = expected;
  slot->size = 0;
  slot->write_failed = false;
  slot->md5.Hex();  // starts over
  slot->counter = &bytes_received_;
  if (curl_multi_add_handle(Multi(multi_), easy) != CURLM_OK) {
    slot->file.Close();
    return false;
  }
  slot->busy = true;
  return true;
}

FinishedTransfer TransferBatch::Finish(Slot& slot, int curl_result) {
  curl_multi_remove_handle(Multi(multi_), slot.easy);
  slot.busy = false;
  FinishedTransfer finished;
  finished.id = slot.id;
  if (curl_result == CURLE_OK && Status2xx(slot.easy) && !slot.write_failed) {
    bool expected = slot.size == slot.expected.size && slot.md5.Hex() == slot.expected.md5;
    finished.end = expected ? TransferEnd::kPlaced : TransferEnd::kCorrupt;
  }
  if (finished.end == TransferEnd::kPlaced) {
    slot.file.SetModified(platform::FromDateValue(slot.expected.date));
    if (!slot.file.Publish(slot.path)) {
      finished.end = TransferEnd::kNotPlaced;
      finished.reason = slot.file.error().reason;
    }
  }
  if (finished.end == TransferEnd::kPlaced && !slot.second_name.empty())
    finished.second_name = slot.file.Publish(slot.second_name);
  slot.file.Close();  // an unpublished file goes with it
  return finished;
}

std::vector<FinishedTransfer> TransferBatch::Wait(int timeout_ms) {
  std::vector<FinishedTransfer> finished;
  if (!multi_ || InFlight() == 0) return finished;
  int running = 0;
  curl_multi_poll(Multi(multi_), nullptr, 0, timeout_ms, nullptr);
  curl_multi_perform(Multi(multi_), &running);
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(Multi(multi_), &left)) {
    if (message->msg != CURLMSG_DONE) continue;
    char* data = nullptr;
    curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &data);
    auto* slot = reinterpret_cast<Slot*>(data);
    int result = message->data.result;  // read before the handle is removed
    if (slot && slot->busy) finished.push_back(Finish(*slot, result));
  }
  return finished;
}

void TransferBatch::CancelAll() { CancelSlots(true, 0); }

void TransferBatch::CancelAfter(std::size_t id) { CancelSlots(false, id); }

void TransferBatch::CancelSlots(bool all, std::size_t after) {
  for (auto& slot : slots_) {
    if (!slot->busy || (!all && slot->id <= after)) continue;
    curl_multi_remove_handle(Multi(multi_), slot->easy);
    slot->file.Close();
    slot->busy = false;
  }
}

std::size_t TransferBatch::InFlight() const {
  std::size_t count = 0;
  for (const auto& slot : slots_) count += slot->busy ? 1 : 0;
  return count;
}

}  // namespace oxlip::versions
