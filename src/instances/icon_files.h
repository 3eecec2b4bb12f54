#pragma once
// The instance's own icon file, "icon." plus the extension of the file it was copied from.
#include <optional>
#include <string>

#include "image/image.h"

namespace oxlip::instances {

// The first of "icon.png", "icon.bmp", "icon.jpg" in the folder (ending with a separator)
// that loads as an image. Names match without regard to letter case, as on Windows.
std::optional<image::Image> LoadIconFromFolder(const std::string& folder);

// That image as the instance list shows it, 48 x 48: all a record keeps of an icon loaded at
// start, so that thousands of instances fit in memory.
std::optional<image::Image> LoadListIcon(const std::string& folder);

// The path of the file LoadIconFromFolder would load; empty when there is none.
std::string FindIconFile(const std::string& folder);

// Deletes every file of the folder named "icon." with any extension.
void DeleteIconFiles(const std::string& folder);

// The text after the last dot of the file's name; empty when the name has no dot.
std::string IconExtension(const std::string& file);

// The chosen icon file as a save applies it: nothing when empty, only the deletion when it is
// the default icon file, otherwise the deletion and a copy. Failures are silent.
void ApplyIconFile(const std::string& folder, const std::string& icon_file,
                   const std::string& default_icon_file);

}  // namespace oxlip::instances
