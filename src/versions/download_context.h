#pragma once
// What the download engine works on: the program's settings, the remote file list and the
// download queue. They belong to the program's state and outlive every call.
#include "base/settings.h"
#include "versions/download_job.h"
#include "versions/remote_list.h"

namespace oxlip::versions {

struct DownloadContext {
  const base::GlobalSettings& settings;
  RemoteFileList& remote;
  DownloadQueue& queue;
};

}  // namespace oxlip::versions
