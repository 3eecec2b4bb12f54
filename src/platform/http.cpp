#include "platform/http.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/curl_options.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::platform {
namespace {

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
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

bool DownloadToFile(const std::string& url, const std::string& path) {
  InitNetwork();
  std::string temp = TemporaryNameBeside(path);
  std::FILE* file = CreateBeside(path, temp);
  if (!file) return false;
  CURL* curl = curl_easy_init();
  bool ok = curl != nullptr;
  if (ok) {
    SetTransferOptions(curl, url, WriteToFile, file);
    ok = curl_easy_perform(curl) == CURLE_OK;
    // Only ≥400 fails the transfer by itself; a 3xx without a target must not be kept.
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    ok = ok && status >= 200 && status < 300;
    curl_easy_cleanup(curl);
  }
  ok = (std::fclose(file) == 0) && ok;
  if (ok) ok = std::rename(NativePath(temp).c_str(), NativePath(path).c_str()) == 0;
  if (!ok) DeleteFile(temp);
  return ok;
}

}  // namespace oxlip::platform
