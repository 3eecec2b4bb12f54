#pragma once
// Files of our own in the system's temporary folder, which other local users share.
#include <optional>
#include <string>

namespace oxlip::platform {

// TMPDIR, else "/tmp", with a separator at the end.
std::string TemporaryFolder();

// A new empty file, created exclusively under a name nobody could guess in advance and
// readable by its owner only; removed when the object goes, whatever happened in between.
class TempFile {
 public:
  // The name starts with `prefix`; nullopt when no file could be created.
  static std::optional<TempFile> Create(const std::string& prefix);
  ~TempFile();
  TempFile(TempFile&& other) noexcept;
  TempFile& operator=(TempFile&&) = delete;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  std::string path_;
};

}  // namespace oxlip::platform
