#pragma once
// Files opened for streaming their bytes. Neither class goes through a link at the end of the
// path: a link planted where a file is expected is neither read nor written through.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "platform/error.h"

namespace oxlip::platform {

class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // False for a missing or unreadable file, a folder, or a link.
  bool Open(const std::string& path);
  // Bytes read into `data`: 0 at the end, -1 on failure.
  std::int64_t Read(char* data, std::size_t size);
  // Why the last Open or Read failed.
  const Error& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string path_;
  Error error_;
};

class NewFile {
 public:
  NewFile() = default;
  ~NewFile();  // closes without completing; the caller deletes what it abandons
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Creates the file (rights 0644 less the umask); fails when anything, a link included, has
  // that name already.
  bool Create(const std::string& path);
  bool Write(const char* data, std::size_t size);
  bool SetModified(std::time_t utc);
  // False when the last bytes could not be written out.
  bool Close();
  // Why the last call that failed failed.
  const Error& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string path_;
  Error error_;
};

}  // namespace oxlip::platform
