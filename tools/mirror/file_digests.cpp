#include "file_digests.h"

#include "platform/md5.h"

namespace oxlip::mirror {

std::string FileDigests::Md5(const ObjectEntry& entry) {
  if (entry.folder) return platform::Md5Hex("");
  std::string path = entry.file.string();
  {
    std::lock_guard lock(mutex_);
    auto it = known_.find(path);
    if (it != known_.end() && it->second.size == entry.size &&
        it->second.modified == entry.modified)
      return it->second.md5;
  }
  std::string md5 = platform::FileMd5(path);
  std::lock_guard lock(mutex_);
  known_[path] = Known{entry.size, entry.modified, md5};
  return md5;
}

}  // namespace oxlip::mirror
