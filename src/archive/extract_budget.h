#pragma once
// A cap on what extractions may write, so an archive that unpacks to far more than it holds
// (a "zip bomb", or entry sizes that lie) is stopped before it fills the disk.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "archive/output_folder.h"

namespace oxlip::archive {

// What unpacking one archive from outside (a mod, a jar, a download) may write: 100 times the
// archive's size (at least 64 MB), and never so much that less than 1 GB stays free on the disk.
struct UnpackLimit {
  std::uint64_t bytes = 0;
  bool by_disk = false;  // the free space, not the archive's size, sets the limit
};
UnpackLimit UnpackLimitFor(std::uint64_t archive_size, std::optional<std::uint64_t> free_space);

// The limit for unpacking the file `archive` into `output` (which need not exist yet).
UnpackLimit UnpackLimitFor(const std::string& archive, const std::string& output);

// Why an archive over its limit was refused, to follow its path in a message.
std::string RefusalReason(const UnpackLimit& limit);

// SevenZip with an extraction command line for `archive` into `output`, within the archive's
// UnpackLimitFor; its result. When the limit stopped it, `refusal` receives RefusalReason (it is
// emptied otherwise). The line's relative paths are taken below `folder` when one is given.
int SevenZipWithinLimit(const std::string& command_line, const std::string& archive,
                        const std::string& output, std::string* refusal,
                        const std::string& folder = "");

// Why an extraction through SevenZipWithinLimit failed, to follow a message: the refusal when
// the limit stopped it, else the archiver's reason.
std::string ExtractionFailure(const std::string& refusal);

// While it lives, the extractions this thread runs (with the helper threads they start) may
// write at most `max_bytes` of file content in all; the one that would go beyond fails. Scopes
// do not nest.
class ExtractBudget {
 public:
  explicit ExtractBudget(std::uint64_t max_bytes);
  ~ExtractBudget();
  ExtractBudget(const ExtractBudget&) = delete;
  ExtractBudget& operator=(const ExtractBudget&) = delete;

  bool exceeded() const { return exceeded_; }
  std::uint64_t written() const { return written_; }

  // False, and exceeded from then on, when `bytes` more would go beyond the cap. Safe to call
  // from several threads.
  bool Charge(std::uint64_t bytes);

 private:
  std::uint64_t max_bytes_;
  std::atomic<std::uint64_t> written_ = 0;
  std::atomic<bool> exceeded_ = false;
};

// The budget of the calling thread, or null.
ExtractBudget* ActiveExtractBudget();

// While it lives, the calling thread (a helper of an extraction) charges `budget`.
class SharedExtractBudget {
 public:
  explicit SharedExtractBudget(ExtractBudget* budget);
  ~SharedExtractBudget();
  SharedExtractBudget(const SharedExtractBudget&) = delete;
  SharedExtractBudget& operator=(const SharedExtractBudget&) = delete;

 private:
  ExtractBudget* previous_;
};

// `fill` with every byte charged to this thread's budget; unchanged when none is active.
Filler WithExtractBudget(const Filler& fill);

}  // namespace oxlip::archive
