#include "instances/icon_files.h"

#include <string_view>
#include <vector>

#include "image/image_loader.h"
#include "image/image_scale.h"
#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::instances {
namespace {

constexpr std::string_view kIconNames[] = {"icon.png", "icon.bmp", "icon.jpg"};

// The icon files of the folder in the order they are tried, each as the folder spells it: the
// exact name when there is such a file, else the first that matches regardless of case. One
// listing serves all names, as thousands of folders are looked at on every start.
std::vector<std::string> IconFileCandidates(const std::string& folder) {
  std::vector<std::string> found;
  std::vector<platform::DirEntry> entries = platform::ListFolder(folder);
  for (std::string_view name : kIconNames) {
    const platform::DirEntry* match = nullptr;
    for (const platform::DirEntry& entry : entries) {
      if (entry.is_folder || !platform::EqualsNoCase(entry.name, name)) continue;
      if (entry.name == name) {
        match = &entry;
        break;
      }
      if (!match) match = &entry;
    }
    if (match) found.push_back(match->name);
  }
  return found;
}

}  // namespace

std::optional<image::Image> LoadIconFromFolder(const std::string& folder) {
  for (const std::string& name : IconFileCandidates(folder))
    if (auto image = image::LoadImageFile(folder + name)) return image;
  return std::nullopt;
}

std::optional<image::Image> LoadListIcon(const std::string& folder) {
  std::optional<image::Image> image = LoadIconFromFolder(folder);
  if (image && (image->width != image::kIconSide || image->height != image::kIconSide))
    *image = image::ScaleImage(*image, image::kIconSide, image::kIconSide);
  return image;
}

std::string FindIconFile(const std::string& folder) {
  for (const std::string& name : IconFileCandidates(folder))
    if (image::LoadImageFile(folder + name)) return folder + name;
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

}  // namespace oxlip::instances
