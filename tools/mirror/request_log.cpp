#include "request_log.h"

namespace oxlip::mirror {

bool RequestLog::Open(const std::string& path, std::string& error) {
  out_.open(path, std::ios::binary | std::ios::app);
  if (!out_) error = "--log '" + path + "' cannot be opened for writing";
  return static_cast<bool>(out_);
}

void RequestLog::Write(std::string_view method, std::string_view target) {
  std::lock_guard lock(mutex_);
  if (!out_.is_open()) return;
  out_ << method << ' ' << target << '\n';
  out_.flush();
}

}  // namespace oxlip::mirror
