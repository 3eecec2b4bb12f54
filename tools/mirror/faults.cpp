#include "faults.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace oxlip::mirror {
namespace {

constexpr std::array<std::pair<std::string_view, FaultKind>, 5> kKinds = {{
    {"drop", FaultKind::kDrop},
    {"wrong", FaultKind::kWrong},
    {"slow", FaultKind::kSlow},
    {"500", FaultKind::kServerError},
    {"404", FaultKind::kNotFound},
}};

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

}  // namespace

std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string& error) {
  size_t colon = text.find(':');
  std::string_view kind = text.substr(0, colon);
  auto known = std::find_if(kKinds.begin(), kKinds.end(),
                            [&](const auto& entry) { return entry.first == kind; });
  if (colon == std::string_view::npos || known == kKinds.end()) {
    error = "fault rule '" + std::string(text) +
            "': expected KIND:PATHPREFIX[:COUNT] with KIND one of drop, wrong, slow, 500, 404";
    return std::nullopt;
  }
  FaultRule rule;
  rule.kind = known->second;
  std::string_view rest = text.substr(colon + 1);
  // The prefix itself may hold ":"; only an all-digit tail is a count.
  size_t last = rest.rfind(':');
  if (last != std::string_view::npos && AllDigits(rest.substr(last + 1))) {
    std::string_view digits = rest.substr(last + 1);
    if (digits.size() > 9 || std::stoi(std::string(digits)) == 0) {
      error = "fault rule '" + std::string(text) + "': COUNT must be from 1 to 999999999";
      return std::nullopt;
    }
    rule.count = std::stoi(std::string(digits));
    rest = rest.substr(0, last);
  }
  if (rest.empty() || rest.front() != '/') {
    error = "fault rule '" + std::string(text) + "': PATHPREFIX must start with /";
    return std::nullopt;
  }
  rule.path_prefix = std::string(rest);
  return rule;
}

void FaultTable::Add(FaultRule rule) {
  std::lock_guard lock(mutex_);
  rules_.push_back(std::move(rule));
}

void FaultTable::Clear() {
  std::lock_guard lock(mutex_);
  rules_.clear();
}

std::optional<FaultKind> FaultTable::Take(const std::string& path) {
  std::lock_guard lock(mutex_);
  for (FaultRule& rule : rules_) {
    if (rule.count == 0 || !path.starts_with(rule.path_prefix)) continue;
    if (rule.count > 0) --rule.count;
    return rule.kind;
  }
  return std::nullopt;
}

}  // namespace oxlip::mirror
