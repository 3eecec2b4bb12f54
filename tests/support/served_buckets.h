#pragma once
// Tests of the download engine against the oxlip-mirror program on loopback: a served root in
// the test's folder, settings pointing at it, and the mirror's request log.
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "support/mirror_process.h"
#include "support/temp_folder.h"
#include "versions/download_context.h"

namespace oxlip::test {

// 2011-11-18T08:44:29Z, the date every served file carries unless told otherwise.
constexpr std::time_t kServedTime = 1321605869;

// `size` bytes that differ from file to file.
std::string FileBytes(const std::string& seed, std::size_t size);

class ServedBuckets : public InTempFolder {
 protected:
  ServedBuckets();

  // root/`relative` with `data`, dated `utc`.
  void Serve(const std::string& relative, const std::string& data, std::time_t utc = kServedTime);
  // Serves `root` (default: the test's own) with a request log; the buckets of the settings
  // are "download/", "resources/" and "assets/".
  void StartMirror(const std::vector<std::string>& options = {}, std::string root = "");

  std::vector<std::string> Requests() const;  // "GET /target", in order
  int CountRequests(const std::string& target) const;
  // The names in `folder`, sorted.
  std::vector<std::string> Listed(const std::string& folder) const;

  std::string root_ = dir() + "root/";
  std::string log_ = dir() + "requests.log";
  std::unique_ptr<MirrorProcess> mirror_;
  base::GlobalSettings settings;
  versions::RemoteFileList remote;
  versions::DownloadQueue queue;
  versions::DownloadContext context{settings, remote, queue};
};

}  // namespace oxlip::test
