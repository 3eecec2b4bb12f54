#include "base/create_path.h"

#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip {

void CreatePath(const std::string& path) {
  std::string copy = platform::RecordPath(path);
  for (size_t pos = copy.find('\\'); pos != std::string::npos; pos = copy.find('\\', pos + 1))
    if (pos > 0) platform::CreateFolder(copy.substr(0, pos));
}

}  // namespace oxlip
