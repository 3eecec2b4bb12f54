#pragma once
// The command step that rebuilds an instance's game files behind the "Download" window.
#include "app/ui.h"
#include "instances/instance.h"
#include "versions/download_context.h"
#include "versions/release_dates.h"

namespace oxlip {

// Runs DownloadMinecraft on a worker behind the progress window; on success, back on the
// calling thread, records the installed build's date in the instance and saves its settings.
// The window offers Cancel: the update then stops within a poll and `cancelled` (when given)
// is set; the files already in place stay, the ones still arriving are removed.
int UpdateInstance(versions::DownloadContext& context, app::Ui& ui, Instance& record, bool force,
                   const versions::ReleaseDates& dates, bool* cancelled = nullptr);

}  // namespace oxlip
