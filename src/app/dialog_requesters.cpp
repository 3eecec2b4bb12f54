#include "app/dialog_requesters.h"

#include "platform/path.h"

namespace oxlip::app {

FileRequester JavaRequester(const std::string& java_path,
                            const platform::Conventions& conventions) {
  std::string program(conventions.java_program);
  return {"Select " + program, java_path, program + "|" + program + "|all|*.*", 0};
}

FileRequester LauncherRequester(const std::string& launcher) {
  return {"Select alternate launcher", launcher, "jar|*.jar|all|*.*", 0};
}

FileRequester ModRequester() { return {"Oxlip - Import mod", "", "mod|*.zip;*.7z|all|*.*", 1}; }

FileRequester IconRequester(const std::string& chosen_icon_file, const std::string& icon_folder) {
  return {"Select a Icon", chosen_icon_file.empty() ? icon_folder : chosen_icon_file,
          "Image (BMP,JPG,PNG)|*.bmp;*.jpg;*.png|All|*.*", 0};
}

std::string FolderOfFile(const std::string& file) {
  for (size_t i = file.size(); i > 0; --i)
    if (platform::IsSeparator(file[i - 1])) return file.substr(0, i);
  return "";
}

}  // namespace oxlip::app
