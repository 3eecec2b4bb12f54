#include "versions/transfer_batch.h"

#include <curl/curl.h>

#include <cstdio>

#include "platform/curl_options.h"
#include "platform/fs.h"
#include "platform/http.h"
#include "platform/path.h"

namespace oxlip {

struct TransferBatch::Slot {
  CURL* easy = nullptr;
  std::FILE* file = nullptr;
  std::string temp;
  std::string path;
  std::size_t id = 0;
  bool busy = false;
  std::int64_t* counter = nullptr;
};

namespace {

CURLM* Multi(void* handle) { return static_cast<CURLM*>(handle); }

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto* slot = static_cast<TransferBatch::Slot*>(user);
  size_t written = std::fwrite(data, size, count, slot->file) * size;
  *slot->counter += static_cast<std::int64_t>(written);
  return written;
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

bool TransferBatch::Start(std::size_t id, const std::string& url, const std::string& path) {
  Slot* slot = multi_ ? IdleSlot() : nullptr;
  if (!slot) return false;
  slot->temp = platform::TemporaryNameBeside(path);
  slot->file = std::fopen(platform::NativePath(slot->temp).c_str(), "wb");
  if (!slot->file) return false;
  CURL* easy = slot->easy;
  curl_easy_reset(easy);
  platform::SetTransferOptions(easy, url, WriteBody, slot);
  curl_easy_setopt(easy, CURLOPT_PRIVATE, reinterpret_cast<char*>(slot));
  slot->path = path;
  slot->id = id;
  slot->counter = &bytes_received_;
  if (curl_multi_add_handle(Multi(multi_), easy) != CURLM_OK) {
    std::fclose(slot->file);
    platform::DeleteFile(slot->temp);
    return false;
  }
  slot->busy = true;
  return true;
}

FinishedTransfer TransferBatch::Finish(Slot& slot, int curl_result) {
  curl_multi_remove_handle(Multi(multi_), slot.easy);
  slot.busy = false;
  bool ok = curl_result == CURLE_OK && Status2xx(slot.easy);
  ok = std::fclose(slot.file) == 0 && ok;
  slot.file = nullptr;
  if (ok)
    ok = std::rename(platform::NativePath(slot.temp).c_str(),
                     platform::NativePath(slot.path).c_str()) == 0;
  if (!ok) platform::DeleteFile(slot.temp);
  return {slot.id, ok};
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
    std::fclose(slot->file);
    slot->file = nullptr;
    platform::DeleteFile(slot->temp);
    slot->busy = false;
  }
}

std::size_t TransferBatch::InFlight() const {
  std::size_t count = 0;
  for (const auto& slot : slots_) count += slot->busy ? 1 : 0;
  return count;
}

}  // namespace oxlip
