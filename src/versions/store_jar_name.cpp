#include "versions/store_jar_name.h"

#include <string_view>

namespace oxlip::versions {
namespace {

constexpr std::string_view kHead = "minecraft - ";
constexpr std::string_view kTail = ".jar";

}  // namespace

std::string StoreJarName(const std::string& version) {
  return std::string(kHead) + version + std::string(kTail);
}

std::string StoredVersionName(const std::string& file) {
  std::size_t around = kHead.size() + kTail.size();
  return file.size() > around ? file.substr(kHead.size(), file.size() - around) : "";
}

}  // namespace oxlip::versions
