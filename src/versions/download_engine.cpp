#include "versions/download_engine.h"

#include <cstdint>

#include "base/error_text.h"
#include "base/paths.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "versions/batch_progress.h"
#include "versions/transfer_batch.h"

namespace oxlip {
namespace {

constexpr int kPollMs = 100;

// Keys are relative paths; one that climbs out or is absolute would put files anywhere.
bool IsSafeRemotePath(const std::string& path) {
  return !path.empty() && !platform::IsAbsolutePath(path) && !platform::HasParentPart(path);
}

// The copy lands under a temporary name first, so a failed copy keeps the old target.
bool CopyIntoPlace(const std::string& from, const std::string& to, platform::DateValue date,
                   const std::string& operation) {
  CreatePath(to);
  bool ok = platform::CopyFile(from, to);
  if (!ok)
    SetErrorText(operation + "Can't copy " + platform::NativePath(from) + " to " +
                 platform::NativePath(to));
  platform::SetFileDate(to, date);
  return ok;
}

const RemoteFile* FindEntry(RemoteFileList& remote, const std::string& name,
                            const std::string& target) {
  if (target.empty()) return remote.Current();
  return FindRemoteFile(remote, name) ? remote.Current() : nullptr;
}

std::int64_t TotalSize(const DownloadQueue& queue) {
  std::int64_t total = 0;
  for (const DownloadJob& job : queue) total += job.Size > 0 ? job.Size : 0;
  return total;
}

bool StartJob(TransferBatch& batch, std::size_t id, const DownloadJob& job, BatchProgress& bar) {
  bar.SetName(platform::FileNamePart(job.Target));
  CreatePath(job.CachePath);
  platform::DeleteFile(job.CachePath);
  if (batch.Start(id, job.URL, job.CachePath)) return true;
  SetErrorText("DoDownloads:Can't download " + job.URL + " to " +
               platform::NativePath(job.CachePath));
  return false;
}

// A failed copy to the target is reported but does not stop the batch.
bool FinishJob(const DownloadJob& job, bool arrived) {
  if (!arrived) {
    SetErrorText("DoDownloads:Can't download " + job.URL + " to " +
                 platform::NativePath(job.CachePath));
    return false;
  }
  platform::SetFileDate(job.CachePath, job.Date);
  RemoteFile entry{"", job.URL, job.Date, job.ETag, job.Size};
  if (!MatchesRemote(job.CachePath, entry)) {
    platform::DeleteFile(job.CachePath);  // never mistaken for a good copy later
    SetErrorText("DoDownloads: Corrupt Download " + job.URL);
    return false;
  }
  CopyIntoPlace(job.CachePath, job.Target, job.Date, "DoDownloads:");
  return true;
}

// Runs the whole queue with at most kMaxTransfersInFlight transfers at once.
bool RunQueue(const DownloadQueue& queue, BatchProgress& bar) {
  TransferBatch batch;
  std::size_t next = 0, done = 0;
  while (done < queue.size()) {
    while (next < queue.size() && batch.InFlight() < kMaxTransfersInFlight) {
      if (!StartJob(batch, next, queue[next], bar)) return false;
      ++next;
    }
    for (const FinishedTransfer& finished : batch.Wait(kPollMs)) {
      if (!FinishJob(queue[finished.id], finished.ok)) return false;  // the rest is cancelled
      ++done;
    }
    bar.Report(batch.BytesReceived());
  }
  return true;
}

}  // namespace

int DownloadMCFile(DownloadContext& context, const std::string& name, const std::string& target) {
  const RemoteFile* entry = FindEntry(context.remote, name, target);
  if (!entry) {
    SetErrorText("DownloadMCFile: Can't find " + name);
    return 0;
  }
  if (!IsSafeRemotePath(entry->Path)) {
    SetErrorText("DownloadMCFile: Unsafe remote path " + entry->Path);
    return 0;
  }
  const std::string& to = target.empty() ? name : target;
  if (MatchesRemote(to, *entry)) return 1;
  std::string cached = context.remote.download_prefix + entry->Path;
  if (MatchesRemote(cached, *entry))
    return CopyIntoPlace(cached, to, entry->Date, "DownloadMCFile:") ? 1 : 0;
  context.queue.push_back({to, cached, entry->URL, entry->Date, entry->ETag, entry->Size});
  return 1;
}

int DoDownloads(DownloadContext& context, ProgressSink* progress) {
  if (context.queue.empty()) return 1;
  BatchProgress bar(progress, TotalSize(context.queue));
  bar.Report(0);
  if (!RunQueue(context.queue, bar)) return 0;
  context.queue.clear();
  return 1;
}

}  // namespace oxlip
