#include "app/update_instance.h"

#include "instances/save_instance.h"
#include "versions/instance_update.h"

namespace oxlip {

int UpdateInstance(versions::DownloadContext& context, app::Ui& ui, Instance& record, bool force,
                   const versions::ReleaseDates& dates, bool* cancelled) {
  // The worker sees copies: the record belongs to the GUI thread.
  const std::string folder = record.Folder;
  const std::string file = record.MineCraftFile;
  bool stopped = false;
  int result =
      ui.RunWithProgress("Download", "Gather information", [&](base::ProgressSink& progress) {
        int done = DownloadMinecraft(context, folder, force, file, &progress);
        stopped = done == 0 && progress.Cancelled();
        return done;
      });
  if (cancelled) *cancelled = stopped;
  if (!result) return 0;
  record.BetaVersion = file == instances::kBetaChannel ? dates.newest_beta : dates.remote_release;
  SaveInstance(record, "", context.settings);
  return 1;
}

}  // namespace oxlip
