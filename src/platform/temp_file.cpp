#include "platform/temp_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <vector>

#include "platform/env.h"
#include "platform/path.h"

namespace oxlip::platform {

std::string TemporaryFolder() {
  std::string folder = GetEnvironment("TMPDIR");
  return WithTrailingSeparator(folder.empty() ? "/tmp" : folder);
}

std::optional<TempFile> TempFile::Create(const std::string& prefix) {
  std::string name = NativePath(TemporaryFolder() + prefix) + "XXXXXX";
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  // mkstemp creates with O_EXCL and mode 0600.
  int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  ::close(fd);
  return TempFile(std::string(buffer.data()));
}

TempFile::~TempFile() {
  if (!path_.empty()) ::unlink(path_.c_str());
}

TempFile::TempFile(TempFile&& other) noexcept : path_(std::move(other.path_)) {
  other.path_.clear();
}

}  // namespace oxlip::platform
