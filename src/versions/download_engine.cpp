#include "versions/download_engine.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/create_path.h"
#include "base/error_text.h"
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
                   std::string* error) {
  CreatePath(to);
  platform::Error copying;
  bool ok = platform::CopyFile(from, to, &copying);
  if (!ok)
    *error = base::WithReason(
        "Can't copy " + platform::NativePath(from) + " to " + platform::NativePath(to),
        copying.reason);
  platform::SetFileDate(to, date);
  return ok;
}

const RemoteFile* FindEntry(versions::RemoteFileList& remote, const std::string& name,
                            const std::string& target) {
  if (target.empty()) return remote.Current();
  return FindRemoteFile(remote, name) ? remote.Current() : nullptr;
}

std::int64_t TotalSize(const versions::DownloadQueue& queue) {
  std::int64_t total = 0;
  for (const DownloadJob& job : queue) total += job.Size > 0 ? job.Size : 0;
  return total;
}

std::string CantDownload(const DownloadJob& job) {
  return "DoDownloads:Can't download " + job.URL + " to " + platform::NativePath(job.CachePath);
}

std::string CantCopy(const DownloadJob& job) {
  return "DoDownloads:Can't copy " + platform::NativePath(job.CachePath) + " to " +
         platform::NativePath(job.Target);
}

versions::ExpectedFile Expected(const DownloadJob& job) { return {job.Size, job.ETag, job.Date}; }

// How a batch went: the failure first in queue order, and the last copy that failed.
struct QueueOutcome {
  std::size_t failed_id = SIZE_MAX;
  std::string failure;
  std::string copy_failure;
  bool ok() const { return failed_id == SIZE_MAX; }
};

void RecordFailure(QueueOutcome& outcome, versions::TransferBatch& batch, std::size_t id,
                   std::string error) {
  if (id >= outcome.failed_id) return;
  outcome.failed_id = id;
  outcome.failure = std::move(error);
  // Later files no longer matter; earlier ones run on, since one of them may fail first.
  batch.CancelAfter(id);
}

// Folders are made once per batch, not once per file: hundreds of files share a few.
class FolderMaker {
 public:
  void For(const std::string& path) {
    std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    if (made_.insert(folder).second) CreatePath(path);
  }

 private:
  std::set<std::string> made_;
};

// A file goes straight to its target, written once, and the cache gets a second name of the
// same file so that other instances get it without a transfer. Where no file can be made
// beside the target (a name at the length limit), it comes into the cache and is copied.
bool StartJob(versions::TransferBatch& batch, FolderMaker& folders, std::size_t id,
              const DownloadJob& job, bool* via_cache) {
  folders.For(job.Target);
  folders.For(job.CachePath);
  *via_cache = false;
  if (batch.Start(id, job.URL, job.Target, Expected(job), job.CachePath)) return true;
  *via_cache = true;
  return batch.Start(id, job.URL, job.CachePath, Expected(job));
}

// A failed copy to the target is recorded in `copy_error` but does not fail the job.
bool FinishJob(const DownloadJob& job, const versions::FinishedTransfer& finished, bool via_cache,
               std::string* error, std::string* copy_error) {
  switch (finished.end) {
    case versions::TransferEnd::kFailed:
      *error = CantDownload(job);
      return false;
    case versions::TransferEnd::kCorrupt:
      *error = "DoDownloads: Corrupt Download " + job.URL;
      return false;
    case versions::TransferEnd::kNotPlaced:
      *copy_error = base::WithReason(CantCopy(job), finished.reason);
      return true;
    case versions::TransferEnd::kPlaced:
      break;
  }
  std::string why;
  if (via_cache) {
    if (!CopyIntoPlace(job.CachePath, job.Target, job.Date, &why))
      *copy_error = "DoDownloads:" + why;
  } else if (!finished.second_name) {
    // A cache on another file system gets a copy; one that cannot take it costs a transfer
    // another time, nothing more.
    platform::CopyFile(job.Target, job.CachePath);
  }
  return true;
}

// Runs the whole queue with at most kMaxTransfersInFlight transfers at once. After a failure
// nothing new starts, and the failure reported is the first in queue order, whatever order
// the transfers ended in.
// Cancel is looked at between waits of at most kPollMs, so a stalled transfer stops too; the
// running transfers go with their unfinished files.
QueueOutcome RunQueue(const versions::DownloadQueue& queue, versions::BatchProgress& bar,
                      base::ProgressSink* progress) {
  versions::TransferBatch batch;
  QueueOutcome outcome;
  std::vector<bool> via_cache(queue.size());
  FolderMaker folders;
  std::size_t next = 0;
  while (batch.InFlight() > 0 || (outcome.ok() && next < queue.size())) {
    if (progress && progress->Cancelled()) {
      batch.CancelAll();
      RecordFailure(outcome, batch, 0, "DoDownloads: Cancelled");
      break;
    }
    while (outcome.ok() && next < queue.size() &&
           batch.InFlight() < versions::kMaxTransfersInFlight) {
      const DownloadJob& job = queue[next];
      bar.SetName(platform::FileNamePart(job.Target));
      bool cached = false;
      if (!StartJob(batch, folders, next, job, &cached))
        RecordFailure(outcome, batch, next, CantDownload(job));
      via_cache[next] = cached;
      ++next;
    }
    for (const versions::FinishedTransfer& finished : batch.Wait(kPollMs)) {
      std::string error;
      const DownloadJob& job = queue[finished.id];
      if (!FinishJob(job, finished, via_cache[finished.id], &error, &outcome.copy_failure))
        RecordFailure(outcome, batch, finished.id, std::move(error));
    }
    bar.Report(batch.BytesReceived());
  }
  return outcome;
}

}  // namespace

int DownloadMCFile(versions::DownloadContext& context, const std::string& name,
                   const std::string& target) {
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
  if (versions::MatchesRemote(to, *entry)) return 1;
  std::string cached = context.remote.download_prefix + entry->Path;
  if (versions::MatchesRemote(cached, *entry)) {
    std::string error;
    if (CopyIntoPlace(cached, to, entry->Date, &error)) return 1;
    SetErrorText("DownloadMCFile:" + error);
    return 0;
  }
  context.queue.push_back({to, cached, entry->URL, entry->Date, entry->ETag, entry->Size});
  return 1;
}

int DoDownloads(versions::DownloadContext& context, base::ProgressSink* progress) {
  if (context.queue.empty()) return 1;
  versions::BatchProgress bar(progress, TotalSize(context.queue));
  bar.Report(0);
  QueueOutcome outcome = RunQueue(context.queue, bar, progress);
  if (!outcome.copy_failure.empty()) SetErrorText(outcome.copy_failure);
  if (!outcome.ok()) {
    SetErrorText(outcome.failure);
    return 0;
  }
  context.queue.clear();
  return 1;
}

}  // namespace oxlip
