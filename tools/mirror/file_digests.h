#pragma once
// MD5 of served files, remembered while a file keeps its size and time, since every listing
// page carries the ETag of each of its entries.
#include <ctime>
#include <map>
#include <mutex>
#include <string>

#include "bucket_tree.h"

namespace oxlip::mirror {

class FileDigests {
 public:
  // 32 lower-case hexadecimal digits; the digest of no bytes for a folder.
  std::string Md5(const ObjectEntry& entry);

 private:
  struct Known {
    std::uintmax_t size;
    std::time_t modified;
    std::string md5;
  };
  std::mutex mutex_;
  std::map<std::string, Known> known_;
};

}  // namespace oxlip::mirror
