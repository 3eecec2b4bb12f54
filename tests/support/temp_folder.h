#pragma once
// A fresh folder per test that is also the current folder (the start folder of the program
// under test); removed afterwards.
#include <gtest/gtest.h>

#include <string>

namespace oxlip::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // With a "/" at the end.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

// A test whose current folder is a fresh temporary folder.
class InTempFolder : public ::testing::Test {
 protected:
  const std::string& dir() const { return folder_.path(); }

 private:
  TempFolder folder_;
};

void WriteFile(const std::string& path, const std::string& data);
std::string ReadFile(const std::string& path);  // "" when missing

}  // namespace oxlip::test
