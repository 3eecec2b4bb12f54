#pragma once
// Injected failures: a rule names what goes wrong, for which request paths and how often.
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oxlip::mirror {

enum class FaultKind { kDrop, kWrong, kSlow, kServerError, kNotFound };

struct FaultRule {
  FaultKind kind = FaultKind::kDrop;
  std::string path_prefix;
  int count = -1;  // requests left to spoil; -1 for every one
};

// "KIND:PATHPREFIX[:COUNT]"; nullopt with `error` set when malformed.
std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string& error);

// Shared by all connection threads; the control endpoint changes it at run time.
class FaultTable {
 public:
  void Add(FaultRule rule);
  void Clear();
  // The first rule whose prefix starts `path` and that has requests left; uses one of them.
  std::optional<FaultKind> Take(const std::string& path);

 private:
  std::mutex mutex_;
  std::vector<FaultRule> rules_;
};

}  // namespace oxlip::mirror
