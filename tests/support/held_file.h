#pragma once
// A file whose readers wait until the test lets them go: a named pipe stands in its place. Work
// that reads it is held there however fast the machine is.
#include <string>

namespace oxlip::test {

class HeldFile {
 public:
  explicit HeldFile(std::string path);
  ~HeldFile();  // lets a reader go with no bytes, when not let go before
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  // A waiting reader reads `bytes` (at most a pipe's 64 KiB); a later one finds a plain file of
  // them.
  void Release(const std::string& bytes);

 private:
  std::string path_;
  bool released_ = false;
};

}  // namespace oxlip::test
