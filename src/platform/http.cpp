#include "platform/http.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>

#include "platform/curl_options.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::platform {
namespace {

struct Body {
  std::FILE* file = nullptr;
  int write_error = 0;  // errno of the first write that failed
};

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
  auto* body = static_cast<Body*>(user);
  size_t written = std::fwrite(data, size, count, body->file) * size;
  if (written < size * count && body->write_error == 0) body->write_error = errno ? errno : EIO;
  return written;
}

// Created exclusively, so a link planted under the name is never followed, and with the mode of
// the file it will replace (a private answer stays private).
std::FILE* CreateBeside(const std::string& target, const std::string& temp) {
  struct stat st;
  mode_t mode = ::stat(NativePath(target).c_str(), &st) == 0 ? (st.st_mode & 0777) : 0666;
  int fd = ::open(NativePath(temp).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) ::close(fd);
  return file;
}

}  // namespace

void InitNetwork() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

namespace {
std::atomic<long> stall_bytes_per_second{1};
std::atomic<long> stall_seconds{30};
}  // namespace

void SetStallLimit(long bytes_per_second, long seconds) {
  stall_bytes_per_second = bytes_per_second;
  stall_seconds = seconds;
}

void SetTransferOptions(CURL* easy, const std::string& url, curl_write_callback write, void* data) {
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 20L);  // a redirect loop must end
  curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 30L);  // libcurl's own waits five minutes
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, stall_bytes_per_second.load());
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, stall_seconds.load());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, write);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, data);
}

std::string TransferFailure(CURL* easy, CURLcode result) {
  // Only ≥400 fails the transfer by itself; a 3xx without a target must not be kept.
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  if (status != 0 && (status < 200 || status >= 300))
    return "the server answered " + std::to_string(status);
  return result == CURLE_OK ? "" : curl_easy_strerror(result);
}

bool DownloadToFile(const std::string& url, const std::string& path, Error* error) {
  InitNetwork();
  std::string temp = TemporaryNameBeside(path);
  Body body{CreateBeside(path, temp)};
  if (!body.file) return Fail(error, "create", path, errno);
  CURL* curl = curl_easy_init();
  bool ok = curl != nullptr || FailWith(error, "download", url, "no transfer could be set up");
  if (ok) {
    SetTransferOptions(curl, url, WriteToFile, &body);
    CURLcode result = curl_easy_perform(curl);
    std::string failure = TransferFailure(curl, result);
    if (body.write_error != 0)
      ok = Fail(error, "write", path, body.write_error);
    else if (!failure.empty())
      ok = FailWith(error, "download", url, failure);
    curl_easy_cleanup(curl);
  }
  if (std::fclose(body.file) != 0 && ok) ok = Fail(error, "write", path, errno);
  if (ok && std::rename(NativePath(temp).c_str(), NativePath(path).c_str()) != 0)
    ok = Fail(error, "replace", path, errno);
  if (!ok) DeleteFile(temp);
  return ok;
}

}  // namespace oxlip::platform
