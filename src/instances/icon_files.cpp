#include "instances/icon_files.h"

#include <string_view>

#include "image/image_loader.h"
#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip {
namespace {

// The file's name as the folder spells it; empty when there is none.
std::string FindFileNoCase(const std::string& folder, std::string_view name) {
  if (platform::IsFile(folder + std::string(name))) return std::string(name);
  for (const auto& entry : platform::ListFolder(folder))
    if (!entry.is_folder && platform::EqualsNoCase(entry.name, name)) return entry.name;
  return "";
}

}  // namespace

std::optional<image::Image> LoadIconFromFolder(const std::string& folder) {
  for (std::string_view name : {"icon.png", "icon.bmp", "icon.jpg"}) {
    std::string found = FindFileNoCase(folder, name);
    if (found.empty()) continue;
    if (auto image = image::LoadImageFile(folder + found)) return image;
  }
  return std::nullopt;
}

std::string FindIconFile(const std::string& folder) {
  for (std::string_view name : {"icon.png", "icon.bmp", "icon.jpg"}) {
    std::string found = FindFileNoCase(folder, name);
    if (!found.empty() && image::LoadImageFile(folder + found)) return folder + found;
  }
  return "";
}

void DeleteIconFiles(const std::string& folder) {
  for (const auto& entry : platform::ListFolder(folder))
    if (!entry.is_folder && platform::StartsWithNoCase(entry.name, "icon."))
      platform::DeleteFile(folder + entry.name);
}

std::string IconExtension(const std::string& file) {
  std::string name = platform::FileNamePart(file);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : name.substr(dot + 1);
}

void ApplyIconFile(const std::string& folder, const std::string& icon_file,
                   const std::string& default_icon_file) {
  if (icon_file.empty()) return;
  if (icon_file == default_icon_file) {
    DeleteIconFiles(folder);
    return;
  }
  // Read before deleting: the chosen file may be this folder's own icon file.
  // A chosen file that has gone since leaves the icon the instance has.
  std::optional<std::string> bytes = platform::ReadWholeFile(icon_file);
  if (!bytes) return;
  DeleteIconFiles(folder);
  platform::ReplaceFileContents(folder + "icon." + IconExtension(icon_file), *bytes);
}

}  // namespace oxlip
