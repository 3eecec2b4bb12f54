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

std::string LastErrorText() {
  std::lock_guard lock(Guard());
  return Slot();
}

}  // namespace oxlip
