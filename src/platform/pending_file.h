#pragma once
// A new file that gets its name only once it is complete. Until then it has no name in the
// folder at all (or a temporary one where the file system cannot do without), so nothing
// half-written ever shows under the name, and a failure or a crash leaves nothing behind.
#include <cstddef>
#include <ctime>
#include <string>

#include "platform/error.h"

namespace oxlip::platform {

class PendingFile {
 public:
  PendingFile() = default;
  ~PendingFile();  // a file never published is gone
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Starts the file in the folder of `path`, the name it is meant to get. False when nothing
  // could be made there.
  bool Create(const std::string& path);
  bool Write(const char* data, std::size_t size);
  bool SetModified(std::time_t utc);

  // Gives the file the name `path` (in the same file system), replacing a file or link of that
  // name; no more writing afterwards. Again with another path, it gives the same file a second
  // name (a hard link).
  bool Publish(const std::string& path);
  // Ends it; a file not yet published is removed. False when it was neither published nor
  // closed cleanly.
  bool Close();
  // Why the last call that failed did.
  const Error& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string temp_;       // the temporary name, where the file has one until published
  std::string published_;  // its first name, once it has one
  Error error_;
};

}  // namespace oxlip::platform
