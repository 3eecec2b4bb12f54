#pragma once
// A file read and written at chosen positions: an archive whose first bytes are known only at
// its end, scratch space for output that must wait its turn, samples from a file's middle.
// Like InputFile and NewFile, it never goes through a link at the end of the path.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/error.h"

namespace oxlip::platform {

class RandomAccessFile {
 public:
  RandomAccessFile() = default;
  ~RandomAccessFile();
  RandomAccessFile(const RandomAccessFile&) = delete;
  RandomAccessFile& operator=(const RandomAccessFile&) = delete;

  // A new file (rights 0644 less the umask); fails when anything has that name already.
  bool Create(const std::string& path);
  // A file without a name in the folder of `beside` (so it shares that disk), gone once closed,
  // also when the program ends without closing it.
  bool CreateScratch(const std::string& beside);
  // An existing regular file, for reading.
  bool OpenForReading(const std::string& path);

  // Appends after the furthest byte written (or, for a file opened for reading, its end).
  bool Write(const char* data, std::size_t size);
  bool WriteAt(std::int64_t offset, const char* data, std::size_t size);
  // Bytes read at `offset`, fewer than `size` only at the end of the file; -1 on failure.
  std::int64_t ReadAt(std::int64_t offset, char* data, std::size_t size);
  std::int64_t Size() const { return end_; }
  // False when the file could not be closed cleanly (or was not open).
  bool Close();
  // Why the last call that failed failed.
  const Error& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string path_;
  Error error_;
  std::int64_t end_ = 0;
};

}  // namespace oxlip::platform
