#include "archive/sevenz_writer.h"

#include <lzma.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "archive/libarchive_handle.h"
#include "archive/lzma2_encoder.h"
#include "archive/ordered_output.h"
#include "archive/pack_plan.h"
#include "archive/packing_choice.h"
#include "archive/work_progress.h"
#include "base/error_text.h"
#include "platform/open_file.h"
#include "platform/path_status.h"
#include "platform/random_access_file.h"
#include "platform/utf8_names.h"

namespace oxlip::archive {
namespace {

constexpr std::size_t kReadBuffer = 1 << 18;
constexpr unsigned kMostThreads = 8;
// Writes of an archive whose files changed while they were read; the last names the file.
constexpr int kMostWrites = 3;

struct Job {
  Lzma2Settings settings;
  std::vector<std::size_t> entries;
};

// The entries of the archive being rewritten, read in their order.
class OldEntries {
 public:
  bool Feed(const std::string& archive, std::int64_t index, const Sink& sink, std::string* error) {
    if (!reader_ && !(reader_ = OpenReader(archive, Format::kSevenZ, error))) return false;
    struct archive_entry* entry = nullptr;
    for (; current_ < index; ++current_) {
      if (!NextHeader(reader_.get(), &entry, error)) {
        if (error->empty()) *error = archive + " changed while it was rewritten";
        return false;
      }
    }
    return ReadData(reader_.get(), sink, error);
  }

 private:
  Reader reader_;
  std::int64_t current_ = -1;
};

bool SameState(const platform::PathStatus& a, const platform::PathStatus& b) {
  return a.size == b.size && a.modified == b.modified;
}

// `changed` is set when the file did not hold what its entry says, or changed while it was read.
bool FeedDiskFile(const PackEntry& entry, const Sink& sink, bool* changed, std::string* error) {
  // Never through a link, even one that took the file's place since it was listed.
  platform::InputFile in;
  std::vector<char> buffer(kReadBuffer);
  std::uint64_t total = 0;
  std::int64_t got = 0;
  platform::PathStatus before = platform::LinkStatus(entry.disk_path);
  if (!in.Open(entry.disk_path)) {
    *error = base::WithReason("can't read " + entry.disk_path, in.error().reason);
    return false;
  }
  while (total <= entry.size && (got = in.Read(buffer.data(), buffer.size())) > 0) {
    total += static_cast<std::uint64_t>(got);
    if (total <= entry.size && !sink(buffer.data(), static_cast<std::size_t>(got))) return false;
  }
  if (got < 0) {
    *error = base::WithReason("can't read " + entry.disk_path, in.error().reason);
    return false;
  }
  if (total == entry.size && SameState(before, platform::LinkStatus(entry.disk_path))) return true;
  *changed = true;
  *error = entry.disk_path + " changed while it was packed";
  return false;
}

// The disk files' entries as the files are now: after a change, they are read again.
bool Relist(std::vector<PackEntry>* entries, std::string* error) {
  for (PackEntry& entry : *entries) {
    if (entry.disk_path.empty()) continue;
    platform::PathStatus now = platform::LinkStatus(entry.disk_path);
    if (now.kind != platform::PathKind::kFile) {
      *error = "can't read " + entry.disk_path;
      return false;
    }
    entry.size = static_cast<std::uint64_t>(now.size);
    entry.modified = now.modified;
    entry.modified_ns = 0;
  }
  return true;
}

std::uint64_t TwinKey(std::uint64_t size, std::uint32_t crc) {
  std::uint64_t key = (size * 0x9E3779B97F4A7C15ull) ^ crc;
  return key == 0 ? 1 : key;
}

class Packer {
 public:
  Packer(const std::vector<PackEntry>& entries, const SevenZWriteOptions& options,
         OrderedOutput* out, CommandProgress* progress)
      : entries_(entries), options_(options), out_(out), progress_(progress) {}

  // True when a job stopped because a file changed while it was read.
  bool changed() const { return changed_; }

  bool Run(const std::vector<Job>& jobs, unsigned threads, std::vector<SevenZFolder>* folders,
           std::string* error) {
    folders->assign(jobs.size(), {});
    std::atomic<std::size_t> next{0};
    auto work = [&] {
      for (std::size_t j; !stop_ && (j = next++) < jobs.size();) {
        std::string why;
        if (!RunJob(j, jobs[j], &(*folders)[j], &why)) Stop(why);
      }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < std::min<std::size_t>(threads, jobs.size()); ++t)
      pool.emplace_back(work);
    work();
    for (std::thread& thread : pool) thread.join();
    if (stop_) {
      *error = error_;
      return false;
    }
    if (out_->Complete()) return true;
    *error = out_->Error();
    return false;
  }

 private:
  void Stop(const std::string& why) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!stop_) error_ = why.empty() ? out_->Error() : why;
    stop_ = true;
  }

  bool Feed(const PackEntry& entry, OldEntries* old, const Sink& sink, std::string* error) {
    if (!entry.disk_path.empty()) {
      bool changed = false;
      if (FeedDiskFile(entry, sink, &changed, error)) return true;
      if (changed) changed_ = true;
      return false;
    }
    if (entry.kind == SevenZKind::kLink)
      return sink(entry.link_target.data(), entry.link_target.size());
    return old->Feed(options_.old_archive, entry.old_index, sink, error);
  }

  bool RunJob(std::size_t index, const Job& job, SevenZFolder* folder, std::string* error) {
    platform::Utf8Names utf8;  // the old archive's names convert through this thread's locale
    OldEntries old;
    auto output = [&](const char* data, std::size_t size) {
      return out_->Write(index, data, size);
    };
    std::unique_ptr<Lzma2Encoder> encoder = Lzma2Encoder::Make(job.settings, output, error);
    if (!encoder) return false;
    for (std::size_t i : job.entries) {
      const PackEntry& entry = entries_[i];
      if (progress_->Stopped(error)) return false;
      std::uint32_t crc = 0;
      std::uint64_t size = 0;
      auto sink = [&](const char* data, std::size_t count) {
        if (stop_) return false;
        crc = lzma_crc32(reinterpret_cast<const std::uint8_t*>(data), count, crc);
        size += count;
        return encoder->Write(data, count, error);
      };
      if (!Feed(entry, &old, sink, error)) return false;
      if (size != entry.size) {
        *error = "damaged entry: " + entry.name;
        return false;
      }
      folder->sizes.push_back(size);
      folder->crcs.push_back(crc);
      progress_->Advance(size);
    }
    if (!encoder->Finish(error) || !out_->Finish(index)) return false;
    folder->lzma2_props = encoder->Props();
    folder->packed_size = out_->StreamSize(index);
    return true;
  }

  const std::vector<PackEntry>& entries_;
  const SevenZWriteOptions& options_;
  OrderedOutput* out_;
  CommandProgress* progress_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> changed_{false};
  std::mutex mutex_;
  std::string error_;
};

bool HasStream(const PackEntry& entry) {
  return entry.size > 0 && entry.kind != SevenZKind::kFolder;
}

// Entries of the old archive keep their order in one folder, so it is read once; the files from
// the disk are sampled and planned.
bool PlanJobs(const std::vector<PackEntry>& entries, bool strongest, unsigned threads,
              std::vector<Job>* jobs, std::string* error) {
  Job old{{Packing::kStrong, strongest, 0}, {}};
  std::uint64_t old_bytes = 0;
  std::vector<PlanFile> files;
  std::vector<std::size_t> file_entry;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PackEntry& entry = entries[i];
    if (!HasStream(entry)) continue;
    if (entry.disk_path.empty()) {
      old.entries.push_back(i);
      old_bytes += entry.size;
      continue;
    }
    std::optional<FileSample> sample = SampleFile(entry.disk_path, entry.size);
    if (!sample) {
      *error = "can't read " + entry.disk_path;
      return false;
    }
    files.push_back({entry.size, ChoosePacking(sample->bytes), TwinKey(entry.size, sample->crc)});
    file_entry.push_back(i);
  }
  if (!old.entries.empty()) {
    old.settings.dictionary = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(old_bytes, StrongDictionaryLimit(threads)));
    jobs->push_back(std::move(old));
  }
  for (const FolderPlan& folder : PlanFolders(files, threads)) {
    Job job{{folder.packing, strongest, folder.dictionary}, {}};
    for (std::size_t f : folder.files) job.entries.push_back(file_entry[f]);
    jobs->push_back(std::move(job));
  }
  return true;
}

SevenZItem Item(const PackEntry& entry) {
  return {entry.name, HasStream(entry), entry.kind == SevenZKind::kFolder,
          SevenZAttributes(entry.kind, entry.permissions),
          FileTimeFromUnix(entry.modified, entry.modified_ns)};
}

// Before any work: a name the header cannot hold fails the archive at once.
bool NamesFit(const std::vector<PackEntry>& entries, std::string* error) {
  std::string ignored;
  for (const PackEntry& entry : entries) {
    if (!AppendUtf16Le(&ignored, entry.name)) {
      *error = "name is not UTF-8: " + entry.name;
      return false;
    }
    ignored.clear();
  }
  return true;
}

// One write of the whole archive; `changed` tells a failure that reading again may mend.
bool WriteOnce(const std::string& path, const std::vector<PackEntry>& entries,
               const SevenZWriteOptions& options, bool* changed, std::string* error) {
  unsigned threads = options.threads ? options.threads : std::thread::hardware_concurrency();
  threads = std::clamp(threads, 1u, kMostThreads);
  std::vector<Job> jobs;
  if (!NamesFit(entries, error) || !PlanJobs(entries, options.strongest, threads, &jobs, error))
    return false;

  platform::RandomAccessFile file;
  std::string front(kSevenZSignatureHeaderSize, '\0');
  if (!file.Create(path) || !file.Write(front.data(), front.size())) {
    *error = base::WithReason("can't create " + path, file.error().reason);
    return false;
  }
  OrderedOutput out(&file, path, jobs.size());
  std::vector<SevenZFolder> folders;
  std::uint64_t total = 0;
  for (const PackEntry& entry : entries)
    if (HasStream(entry)) total += entry.size;
  CommandProgress progress(total);
  Packer packer(entries, options, &out, &progress);
  if (!packer.Run(jobs, threads, &folders, error)) {
    *changed = packer.changed();
    return false;
  }

  std::vector<SevenZItem> items;
  for (const PackEntry& entry : entries)
    if (!HasStream(entry)) items.push_back(Item(entry));
  for (const Job& job : jobs)
    for (std::size_t i : job.entries) items.push_back(Item(entries[i]));
  std::string header;
  if (!EncodeSevenZHeader(folders, items, &header, error)) return false;
  std::uint64_t header_offset = static_cast<std::uint64_t>(file.Size()) - front.size();
  front = SevenZSignatureHeader(header_offset, header);
  if (file.Write(header.data(), header.size()) && file.WriteAt(0, front.data(), front.size()) &&
      file.Close())
    return true;
  *error = base::WithReason("can't write " + path, file.error().reason);
  return false;
}

}  // namespace

bool WriteSevenZ(const std::string& path, const std::vector<PackEntry>& entries,
                 const SevenZWriteOptions& options, std::string* error) {
  bool changed = false;
  if (WriteOnce(path, entries, options, &changed, error)) return true;
  // A file written to while it was read (a log, a world being saved) is read again as it is
  // then; the data already packed cannot be taken back, so the archive is written anew.
  std::vector<PackEntry> again;
  for (int writes = 1; changed && writes < kMostWrites; ++writes) {
    if (again.empty()) again = entries;
    if (!Relist(&again, error)) return false;
    std::remove(path.c_str());
    changed = false;
    error->clear();
    if (WriteOnce(path, again, options, &changed, error)) return true;
  }
  return false;
}

}  // namespace oxlip::archive
