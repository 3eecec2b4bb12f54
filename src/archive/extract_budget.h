#pragma once
// A cap on what extractions may write, so an archive that unpacks to far more than it holds
// (a "zip bomb", or entry sizes that lie) is stopped before it fills the disk.
#include <atomic>
#include <cstdint>

#include "archive/output_folder.h"

namespace oxlip::archive {

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
