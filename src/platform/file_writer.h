#pragma once
// A file written piece by piece, for output that is produced as it is read (patched files, list
// files) rather than held whole in memory.
#include <string>
#include <string_view>

#include "platform/error.h"

namespace oxlip::platform {

class FileWriter {
 public:
  FileWriter() = default;
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // Creates the file, or cuts an existing one to zero bytes. Not flushed to the disk: the
  // files are work files that are packed right afterwards.
  bool Open(const std::string& path);
  bool Write(std::string_view bytes);
  // False when any write since Open failed or the file could not be closed.
  bool Close();
  // Why the first failure since Open failed.
  const Error& error() const { return error_; }

 private:
  bool Flush();

  int fd_ = -1;
  bool failed_ = false;
  std::string path_;
  Error error_;
  std::string buffer_;
};

}  // namespace oxlip::platform
