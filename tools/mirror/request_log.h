#pragma once
// One line per request, "METHOD TARGET", written at once so a test can count requests while
// the server runs.
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>

namespace oxlip::mirror {

class RequestLog {
 public:
  // Appends to `path`; false with `error` set when it cannot be opened. Without a call to
  // Open nothing is written.
  bool Open(const std::string& path, std::string& error);
  void Write(std::string_view method, std::string_view target);

 private:
  std::mutex mutex_;
  std::ofstream out_;
};

}  // namespace oxlip::mirror
