#pragma once
// A folder of a 7z archive being decoded, read off in order file by file. A large folder is
// decoded on a thread of its own a little ahead of its reader, so decoding and writing files
// go on at the same time; a small one is decoded whole at its first read.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "archive/output_folder.h"
#include "archive/sevenz_reader.h"

namespace oxlip::archive {

class DecodedFolder {
 public:
  DecodedFolder(const std::string& archive, const SevenZFolderInfo& folder);
  ~DecodedFolder();  // stops the decoding where it is
  DecodedFolder(const DecodedFolder&) = delete;
  DecodedFolder& operator=(const DecodedFolder&) = delete;

  // The next `size` bytes into the sink; false with `error` set when the folder's data is
  // damaged or ends before (or the sink refused bytes, which sets its own error).
  bool Pass(std::uint64_t size, const Sink& sink, std::string* error);

 private:
  bool Produce(const char* data, std::size_t size);
  bool NextPiece(std::string* error);

  const std::string archive_;
  const SevenZFolderInfo& folder_;
  bool threaded_ = false;
  bool started_ = false;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> pieces_;
  bool done_ = false, stopped_ = false;
  std::string failure_;
  std::string current_;  // the piece being read, from `offset_`
  std::size_t offset_ = 0;
};

}  // namespace oxlip::archive
