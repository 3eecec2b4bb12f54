#include "platform/replace_file.h"

#include <cerrno>
#include <cstdio>

#include "platform/path.h"

namespace oxlip::platform {

bool ReplaceFile(const std::string& from, const std::string& to, Error* error) {
  return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0 ||
         Fail(error, "replace", to, errno);
}

}  // namespace oxlip::platform
