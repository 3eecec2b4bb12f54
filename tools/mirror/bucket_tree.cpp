#include "bucket_tree.h"

#include <algorithm>
#include <chrono>

namespace oxlip::mirror {
namespace fs = std::filesystem;
namespace {

bool IsInside(const fs::path& path, const fs::path& folder) {
  auto [stop, unused] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
  return stop == folder.end();
}

// Only plain names: "", ".", ".." and a leading or doubled "/" could climb or alias.
bool IsPlainKey(const std::string& key) {
  if (key.empty()) return false;
  size_t start = 0;
  while (start < key.size()) {
    size_t end = key.find('/', start);
    if (end == std::string::npos) end = key.size();
    std::string_view part(key.data() + start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

std::time_t ModifiedUtc(const fs::path& path, std::error_code& ec) {
  fs::file_time_type time = fs::last_write_time(path, ec);
  if (ec) return 0;
  auto system = std::chrono::file_clock::to_sys(time);
  return std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(system));
}

// The entry for a path inside `folder` whose real location is inside it too.
std::optional<ObjectEntry> EntryFor(const fs::path& path, const fs::path& folder) {
  std::error_code ec;
  fs::path real = fs::canonical(path, ec);
  if (ec || !IsInside(real, folder)) return std::nullopt;
  fs::file_status status = fs::status(real, ec);
  if (ec || (!fs::is_regular_file(status) && !fs::is_directory(status))) return std::nullopt;
  ObjectEntry entry;
  entry.file = real;
  entry.folder = fs::is_directory(status);
  entry.key = path.lexically_relative(folder).generic_string() + (entry.folder ? "/" : "");
  entry.size = entry.folder ? 0 : fs::file_size(real, ec);
  entry.modified = ModifiedUtc(real, ec);
  if (ec) return std::nullopt;
  return entry;
}

}  // namespace

std::optional<BucketTree> BucketTree::Open(const std::string& root, std::string& error) {
  std::error_code ec;
  fs::path real = fs::canonical(root, ec);
  if (ec || !fs::is_directory(real)) {
    error = "--root '" + root + "' is not a folder";
    return std::nullopt;
  }
  return BucketTree(real);
}

std::optional<fs::path> BucketTree::BucketFolder(const std::string& bucket) const {
  if (bucket.empty() || bucket == "." || bucket == ".." || bucket.find('/') != std::string::npos)
    return std::nullopt;
  std::error_code ec;
  fs::path real = fs::canonical(root_ / bucket, ec);
  if (ec || !fs::is_directory(real) || !IsInside(real, root_)) return std::nullopt;
  return real;
}

std::vector<ObjectEntry> BucketTree::Objects(const std::string& bucket) const {
  std::vector<ObjectEntry> out;
  std::optional<fs::path> folder = BucketFolder(bucket);
  if (!folder) return out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(
           *folder, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (std::optional<ObjectEntry> entry = EntryFor(it->path(), *folder))
      out.push_back(std::move(*entry));
  }
  std::sort(out.begin(), out.end(),
            [](const ObjectEntry& a, const ObjectEntry& b) { return a.key < b.key; });
  return out;
}

std::optional<ObjectEntry> BucketTree::Find(const std::string& bucket,
                                            const std::string& key) const {
  std::optional<fs::path> folder = BucketFolder(bucket);
  bool wants_folder = key.ends_with('/');
  std::string name = wants_folder ? key.substr(0, key.size() - 1) : key;
  if (!folder || !IsPlainKey(name)) return std::nullopt;
  std::optional<ObjectEntry> entry = EntryFor(*folder / name, *folder);
  if (!entry || entry->folder != wants_folder) return std::nullopt;
  return entry;
}

}  // namespace oxlip::mirror
