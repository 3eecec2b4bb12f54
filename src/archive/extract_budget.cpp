#include "archive/extract_budget.h"

namespace oxlip::archive {
namespace {

thread_local ExtractBudget* active_budget = nullptr;

}  // namespace

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
