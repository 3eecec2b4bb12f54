#include "base/error_text.h"

#include <mutex>

namespace oxlip {
namespace {

std::mutex& Guard() {
  static std::mutex guard;
  return guard;
}

std::string& Slot() {
  static std::string slot;
  return slot;
}

}  // namespace

void SetErrorText(const std::string& text) {
  std::lock_guard lock(Guard());
  Slot() = text;
}

std::string base::LastErrorText() {
  std::lock_guard lock(Guard());
  return Slot();
}

namespace base {

std::string WithReason(const std::string& message, const std::string& reason) {
  if (reason.empty()) return message;
  if (message.empty() || (message.back() != '.' && message.back() != '!'))
    return message + ": " + reason;
  std::string sentence = reason;
  if (sentence[0] >= 'a' && sentence[0] <= 'z') sentence[0] = static_cast<char>(sentence[0] - 32);
  return message + " " + sentence;
}

}  // namespace base
}  // namespace oxlip
