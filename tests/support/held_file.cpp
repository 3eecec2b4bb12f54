#include "support/held_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "support/temp_folder.h"

namespace oxlip::test {

HeldFile::HeldFile(std::string path) : path_(std::move(path)) {
  EXPECT_EQ(::mkfifo(path_.c_str(), 0644), 0) << path_;
}

HeldFile::~HeldFile() {
  if (!released_) Release("");
}

void HeldFile::Release(const std::string& bytes) {
  ASSERT_FALSE(released_);
  ASSERT_LE(bytes.size(), 65536u);
  released_ = true;
  // Read and write ends at once: opening does not wait, and a reader waiting to open goes on.
  int pipe = ::open(path_.c_str(), O_RDWR);
  ASSERT_GE(pipe, 0);
  // A reader that opens after this finds the plain file; one that opened before, the pipe.
  WriteFile(path_ + ".plain", bytes);
  EXPECT_EQ(std::rename((path_ + ".plain").c_str(), path_.c_str()), 0);
  EXPECT_EQ(::write(pipe, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  ::close(pipe);
}

}  // namespace oxlip::test
