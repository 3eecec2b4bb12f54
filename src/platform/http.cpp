#include "platform/http.h"

#include <curl/curl.h>

#include <cstdio>
#include <mutex>

#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::platform {
namespace {

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

}  // namespace

void InitNetwork() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool DownloadToFile(const std::string& url, const std::string& path) {
  InitNetwork();
  std::string temp = TemporaryNameBeside(path);
  std::FILE* file = std::fopen(NativePath(temp).c_str(), "wb");
  if (!file) return false;
  CURL* curl = curl_easy_init();
  bool ok = curl != nullptr;
  if (ok) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
    ok = curl_easy_perform(curl) == CURLE_OK;
    curl_easy_cleanup(curl);
  }
  ok = (std::fclose(file) == 0) && ok;
  if (ok) ok = std::rename(NativePath(temp).c_str(), NativePath(path).c_str()) == 0;
  if (!ok) DeleteFile(temp);
  return ok;
}

}  // namespace oxlip::platform
