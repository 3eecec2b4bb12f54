#include "base/folder_name.h"

#include <cstdio>
#include <string_view>

#include "platform/dates.h"
#include "platform/fs.h"

namespace oxlip {
namespace {

constexpr std::string_view kFolderNameChars =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789[]()!.,-_#+";

}  // namespace

std::string MakeFolderName(const std::string& title, const std::string& parent) {
  std::string tail = " - ";
  for (char c : title) tail += kFolderNameChars.find(c) != std::string_view::npos ? c : '_';
  for (platform::DateValue date = platform::NowDateValue();; ++date) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(date));
    std::string name = hex + tail;
    if (!platform::Exists(parent + name)) return name;
  }
}

}  // namespace oxlip
