#include "platform/file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/fd_io.h"
#include "platform/path.h"

namespace oxlip::platform {
namespace {

constexpr size_t kBufferSize = 1 << 16;

}  // namespace

FileWriter::~FileWriter() { Close(); }

bool FileWriter::Open(const std::string& path) {
  Close();
  failed_ = false;
  path_ = path;
  error_ = {};
  buffer_.clear();
  fd_ =
      ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  return fd_ >= 0 || Fail(&error_, "create", path, errno);
}

bool FileWriter::Write(std::string_view bytes) {
  if (fd_ < 0 || failed_) return false;
  if (buffer_.size() + bytes.size() > kBufferSize && !Flush()) return false;
  if (bytes.size() >= kBufferSize) {
    failed_ = !WriteAll(fd_, bytes.data(), bytes.size());
    if (failed_) Fail(&error_, "write", path_, errno);
    return !failed_;
  }
  buffer_.append(bytes);
  return true;
}

bool FileWriter::Flush() {
  if (!failed_ && !WriteAll(fd_, buffer_.data(), buffer_.size())) {
    failed_ = true;
    Fail(&error_, "write", path_, errno);
  }
  buffer_.clear();
  return !failed_;
}

bool FileWriter::Close() {
  if (fd_ < 0) return false;
  bool ok = Flush();
  if (::close(fd_) != 0 && ok) ok = Fail(&error_, "write", path_, errno);
  fd_ = -1;
  return ok;
}

}  // namespace oxlip::platform
