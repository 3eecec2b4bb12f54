#include "backup/backup_list.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <tuple>

#include "platform/fs.h"

namespace oxlip::backup {
namespace {

// The date value that starts `name` and runs up to `end` (decimal digits only); none when
// the text is anything else or does not fit.
std::optional<platform::DateValue> DateOf(const std::string& name, std::size_t end) {
  if (end == 0 || end > name.size()) return std::nullopt;
  platform::DateValue date = 0;
  const char* last = name.data() + end;
  auto [stop, error] = std::from_chars(name.data(), last, date);
  if (error != std::errc() || stop != last || name[0] == '-') return std::nullopt;
  return date;
}

bool EndsWith7z(const std::string& name) { return name.ends_with(".7z"); }

void Add(std::vector<BackupArchive>& out, std::string world, const std::string& path,
         platform::DateValue date) {
  std::int64_t size = platform::FileSize(path);
  if (size >= 0) out.push_back({std::move(world), path, date, size});
}

// "<date>.7z" files of one world's backup folder.
void AddWorld(std::vector<BackupArchive>& out, const std::string& folder,
              const std::string& world) {
  for (const platform::DirEntry& entry : platform::ListFolder(folder)) {
    if (entry.is_folder || !EndsWith7z(entry.name)) continue;
    if (auto date = DateOf(entry.name, entry.name.size() - 3))
      Add(out, world, folder + "\\" + entry.name, *date);
  }
}

}  // namespace

std::vector<BackupArchive> ListBackups(const std::string& instance_folder) {
  std::vector<BackupArchive> out;
  const std::string backups = instance_folder + "\\backup";
  for (const platform::DirEntry& entry : platform::ListFolder(backups)) {
    if (entry.is_folder) {
      AddWorld(out, backups + "\\" + entry.name, entry.name);
    } else if (EndsWith7z(entry.name)) {
      std::size_t dash = entry.name.find(" - ");
      if (auto date = DateOf(entry.name, dash)) Add(out, "", backups + "\\" + entry.name, *date);
    }
  }
  std::sort(out.begin(), out.end(), [](const BackupArchive& a, const BackupArchive& b) {
    return std::tie(b.date, a.world, a.path) < std::tie(a.date, b.world, b.path);
  });
  return out;
}

}  // namespace oxlip::backup
