#include "versions/beta_jar.h"

#include <cctype>
#include <string>

namespace oxlip {

bool IsBetaJar(const RemoteFile& entry) {
  std::string path = "\\" + entry.Path;
  for (char& c : path) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  constexpr std::string_view kSuffix = "\\MINECRAFT.JAR";
  return path.size() >= kSuffix.size() && path.ends_with(kSuffix);
}

int NewestBetaJar(const RemoteFileList& list) {
  int newest = -1;
  platform::DateValue newest_date = 0;
  for (int i = 0; i < static_cast<int>(list.files.size()); ++i) {
    const RemoteFile& entry = list.files[i];
    if (IsBetaJar(entry) && entry.Date > newest_date) {
      newest = i;
      newest_date = entry.Date;
    }
  }
  return newest;
}

}  // namespace oxlip
