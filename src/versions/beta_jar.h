#pragma once
// The beta builds of the assets bucket: every "minecraft.jar", in any folder, any letter case.
#include "versions/remote_list.h"

namespace oxlip::versions {

// True for "minecraft.jar" and for any path ending in "\minecraft.jar", ignoring case.
bool IsBetaJar(const RemoteFile& entry);

// Index of the beta jar with the greatest date (the first of equal dates; a date of 0 never
// counts); -1 when there is none.
int NewestBetaJar(const RemoteFileList& list);

}  // namespace oxlip::versions
