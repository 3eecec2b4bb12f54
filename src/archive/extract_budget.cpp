#include "archive/extract_budget.h"

#include <algorithm>

#include "archive/seven_zip.h"
#include "platform/disk_space.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::archive {
namespace {

constexpr std::uint64_t kUnpackFactor = 100;
constexpr std::uint64_t kSmallestLimit = std::uint64_t{64} << 20;
constexpr std::uint64_t kKeepFree = std::uint64_t{1} << 30;

thread_local ExtractBudget* active_budget = nullptr;

// The disk that will take the output: the output folder's, or its nearest existing parent's.
std::optional<std::uint64_t> FreeSpaceAt(std::string folder) {
  while (!folder.empty()) {
    if (platform::IsFolder(folder)) return platform::FreeDiskSpace(folder);
    while (!folder.empty() && platform::IsSeparator(folder.back())) folder.pop_back();
    std::size_t last = folder.find_last_of("\\/");
    folder.resize(last == std::string::npos ? 0 : last + 1);
  }
  return platform::FreeDiskSpace(".");
}

}  // namespace

UnpackLimit UnpackLimitFor(std::uint64_t archive_size, std::optional<std::uint64_t> free_space) {
  UnpackLimit limit;
  std::uint64_t by_size =
      archive_size > UINT64_MAX / kUnpackFactor ? UINT64_MAX : archive_size * kUnpackFactor;
  limit.bytes = std::max(by_size, kSmallestLimit);
  if (free_space) {
    std::uint64_t spare = *free_space > kKeepFree ? *free_space - kKeepFree : 0;
    if (spare < limit.bytes) limit = {spare, true};
  }
  return limit;
}

UnpackLimit UnpackLimitFor(const std::string& archive, const std::string& output) {
  std::int64_t size = platform::FileSize(archive);
  return UnpackLimitFor(size > 0 ? static_cast<std::uint64_t>(size) : 0, FreeSpaceAt(output));
}

std::string RefusalReason(const UnpackLimit& limit) {
  return limit.by_disk ? "unpacking it would leave less than 1 GB free on the disk"
                       : "it unpacks to more than 100 times its size";
}

int SevenZipWithinLimit(const std::string& command_line, const std::string& archive,
                        const std::string& output, std::string* refusal,
                        const std::string& folder) {
  UnpackLimit limit = UnpackLimitFor(archive, output);
  ExtractBudget budget(limit.bytes);
  int result = SevenZip(nullptr, command_line, nullptr, 0, folder);
  *refusal = budget.exceeded() ? RefusalReason(limit) : "";
  return result;
}

std::string ExtractionFailure(const std::string& refusal) {
  return refusal.empty() ? SevenZipReason() : refusal;
}

ExtractBudget::ExtractBudget(std::uint64_t max_bytes) : max_bytes_(max_bytes) {
  active_budget = this;
}

ExtractBudget::~ExtractBudget() { active_budget = nullptr; }

bool ExtractBudget::Charge(std::uint64_t bytes) {
  std::uint64_t written = written_.load();
  do {
    if (exceeded_ || bytes > max_bytes_ - written) {
      exceeded_ = true;
      return false;
    }
  } while (!written_.compare_exchange_weak(written, written + bytes));
  return true;
}

ExtractBudget* ActiveExtractBudget() { return active_budget; }

SharedExtractBudget::SharedExtractBudget(ExtractBudget* budget) : previous_(active_budget) {
  active_budget = budget;
}

SharedExtractBudget::~SharedExtractBudget() { active_budget = previous_; }

Filler WithExtractBudget(const Filler& fill) {
  ExtractBudget* budget = active_budget;
  if (!budget) return fill;
  return [fill, budget](const Sink& sink, std::string* error) {
    auto charged = [&](const char* data, std::size_t size) {
      if (budget->Charge(size)) return sink(data, size);
      *error = "extraction stopped: more than the allowed size would be unpacked";
      return false;
    };
    return fill(charged, error);
  };
}

}  // namespace oxlip::archive
