#pragma once
// The served folder: each sub-folder of the root is a bucket, each file below it an object
// whose key is its "/"-separated path inside the bucket. Nothing outside the root is reachable.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace oxlip::mirror {

struct ObjectEntry {
  std::string key;  // folders end in "/"
  std::filesystem::path file;
  bool folder = false;
  std::uintmax_t size = 0;
  std::time_t modified = 0;  // UTC
};

class BucketTree {
 public:
  // nullopt with `error` set when `root` is no folder.
  static std::optional<BucketTree> Open(const std::string& root, std::string& error);

  bool HasBucket(const std::string& bucket) const { return BucketFolder(bucket).has_value(); }
  // Every object of the bucket, folders included, sorted byte-wise by key.
  std::vector<ObjectEntry> Objects(const std::string& bucket) const;
  // The object under `key`; nullopt when missing or when the key would leave the bucket.
  std::optional<ObjectEntry> Find(const std::string& bucket, const std::string& key) const;

 private:
  explicit BucketTree(std::filesystem::path root) : root_(std::move(root)) {}
  std::optional<std::filesystem::path> BucketFolder(const std::string& bucket) const;

  std::filesystem::path root_;  // canonical
};

}  // namespace oxlip::mirror
