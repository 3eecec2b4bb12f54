#include "base/data_folder.h"

#include "base/create_path.h"
#include "base/settings.h"
#include "base/start_folder.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/user_folders.h"

namespace oxlip::base {
namespace {

constexpr const char* kProgramFolder = "oxlip";

}  // namespace

std::optional<DataFolder> ChooseDataFolder(const std::string& chosen, std::string* error) {
  std::string current = platform::CurrentFolder();
  if (!chosen.empty())
    return DataFolder{platform::WithTrailingSeparator(FromStartFolder(current, chosen)), ""};
  if (platform::IsFile(current + kSettingsFileName)) return DataFolder{current, ""};
  std::string data = platform::UserDataHome();
  if (data.empty()) {
    *error = "no data folder: HOME is not set; name one with --data";
    return std::nullopt;
  }
  std::string cache = platform::UserCacheHome();
  return DataFolder{data + kProgramFolder + platform::kNativeSeparator,
                    cache.empty() ? "" : cache + kProgramFolder + platform::kNativeSeparator};
}

bool EnterDataFolder(const DataFolder& place, std::string* error) {
  CreatePath(place.folder);
  if (!place.cache.empty()) CreatePath(place.cache.substr(0, place.cache.size() - 1));
  if (!platform::IsFolder(place.folder)) {
    *error = "Can't create the data folder " + platform::NativePath(place.folder);
    return false;
  }
  if (!platform::SetCurrentFolder(place.folder)) {
    *error = "Can't enter the data folder " + platform::NativePath(place.folder);
    return false;
  }
  return true;
}

}  // namespace oxlip::base
