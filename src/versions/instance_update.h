#pragma once
// Rebuilding the game files of one instance: libraries, native libraries, game jar, resources.
#include <string>

#include "app/progress.h"
#include "app/ui.h"
#include "instances/instance.h"
#include "versions/download_context.h"
#include "versions/download_job.h"

namespace oxlip {

// Brings the game folder of instance `folder` up to date for `minecraft_file` (a channel or a
// store jar); with `force` every library and resource is checked against the listings. 1 on
// success, 0 with the error text set. `progress` may be null.
int DownloadMinecraft(DownloadContext& context, const std::string& folder, bool force,
                      const std::string& minecraft_file, ProgressSink* progress);

// Runs DownloadMinecraft behind the "Download" progress window; on success records the
// installed build's date in the instance and saves its settings.
int UpdateInstance(DownloadContext& context, Ui& ui, Instance& record, bool force,
                   const ReleaseDates& dates);

}  // namespace oxlip
