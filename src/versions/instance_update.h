#pragma once
// Rebuilding the game files of one instance: libraries, native libraries, game jar, resources.
#include <string>

#include "base/progress.h"
#include "instances/instance.h"
#include "versions/download_context.h"

namespace oxlip {

// Brings the game folder of instance `folder` up to date for `minecraft_file` (a channel or a
// store jar); with `force` every library and resource is checked against the listings. 1 on
// success, 0 with the error text set. `progress` may be null.
int DownloadMinecraft(versions::DownloadContext& context, const std::string& folder, bool force,
                      const std::string& minecraft_file, base::ProgressSink* progress);

}  // namespace oxlip
