#include "base/start_folder.h"

#include "platform/path.h"

namespace oxlip::base {

std::string FromStartFolder(const std::string& start_folder, const std::string& path) {
  return platform::IsAbsolutePath(path) ? path : start_folder + path;
}

}  // namespace oxlip::base
