#pragma once
// Brings local files up to date with entries of the remote file list: files already right
// are left alone, right cached copies are copied, the rest is queued and fetched in one batch.
#include <string>

#include "base/progress.h"
#include "versions/download_context.h"

namespace oxlip {
namespace versions {

// Up to this many files of a batch are fetched at once.
inline constexpr int kMaxTransfersInFlight = 4;

}  // namespace versions

// Puts the entry `name` at `target`, or queues it; with an empty target, `name` is the target
// and the list's current entry is used. 1 when in place or queued, 0 with the error text set.
int DownloadMCFile(versions::DownloadContext& context, const std::string& name,
                   const std::string& target);

// Fetches every queued file into the cache, checks it and copies it to its target. 1 when all
// arrived intact (the queue is then emptied); 0 at the first failure, the queue left as it was.
// `progress` may be null; once it is cancelled the batch stops within a poll, and the files
// that were still arriving are removed.
int DoDownloads(versions::DownloadContext& context, base::ProgressSink* progress);

}  // namespace oxlip
