#pragma once
// An environment variable of the test process, set for a scope and put back afterwards.
#include <string>

namespace oxlip::test {

// Sets an environment variable of the test process for a scope ("" unsets it).
class ScopedEnvironment {
 public:
  ScopedEnvironment(const std::string& name, const std::string& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

}  // namespace oxlip::test
