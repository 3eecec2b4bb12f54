#include "support/served_buckets.h"

#include <algorithm>
#include <random>
#include <sstream>

#include "platform/dates.h"
#include "platform/fs.h"

namespace oxlip::test {

std::string FileBytes(const std::string& seed, std::size_t size) {
  std::mt19937 random(static_cast<unsigned>(std::hash<std::string>{}(seed)));
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

ServedBuckets::ServedBuckets() {
  settings.StartFolder = dir();
  settings.CacheDir = dir() + "Cache/";
  settings.InstancesDir = dir() + "Instances/";
  settings.VersionsDir = dir() + "mcversions/";
  for (const std::string* folder :
       {&settings.CacheDir, &settings.InstancesDir, &settings.VersionsDir})
    platform::CreateFolder(*folder);
}

void ServedBuckets::Serve(const std::string& relative, const std::string& data, std::time_t utc) {
  WriteFile(root_ + relative, data);
  platform::SetFileDate(root_ + relative, platform::ToDateValue(utc));
}

void ServedBuckets::StartMirror(const std::vector<std::string>& options, std::string root) {
  std::vector<std::string> all = {"--log", log_};
  all.insert(all.end(), options.begin(), options.end());
  platform::CreateFolder(root_);
  mirror_ = std::make_unique<MirrorProcess>(root.empty() ? root_ : root, all);
  ASSERT_GT(mirror_->port(), 0);
  settings.MCURL = mirror_->Url("download/");
  settings.MCRESURL = mirror_->Url("resources/");
  settings.MCASSETSURL = mirror_->Url("assets/");
}

std::vector<std::string> ServedBuckets::Requests() const {
  std::vector<std::string> lines;
  std::istringstream log(ReadFile(log_));
  for (std::string line; std::getline(log, line);)
    if (!line.starts_with("GET /_mirror/")) lines.push_back(line);
  return lines;
}

int ServedBuckets::CountRequests(const std::string& target) const {
  std::vector<std::string> lines = Requests();
  return static_cast<int>(std::count(lines.begin(), lines.end(), "GET " + target));
}

std::vector<std::string> ServedBuckets::Listed(const std::string& folder) const {
  std::vector<std::string> names;
  for (const platform::DirEntry& entry : platform::ListFolder(folder)) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace oxlip::test
