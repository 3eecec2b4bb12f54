#include "versions/beta_jar.h"

#include "platform/ascii_case.h"

namespace oxlip::versions {

bool IsBetaJar(const RemoteFile& entry) {
  return platform::EndsWithNoCase("\\" + entry.Path, "\\minecraft.jar");
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

}  // namespace oxlip::versions
