#include "app/startup_update.h"

#include "app/check_result.h"
#include "app/instance_rebuild.h"
#include "app/update_instance.h"
#include "versions/version_store.h"

namespace oxlip::app {
namespace {

// One channel instance; the line it adds to the report, or "" when it was left alone.
std::string UpdateChannelInstance(AppState& state, Ui& ui, Instance& record,
                                  platform::DateValue newest, const std::string& suffix) {
  if (record.BetaVersion == newest) return "";
  if (record.BackupBeforUpdate && !BackupBehindStatus(state, ui, record)) return "";
  versions::DownloadContext context{state.settings, state.remote, state.downloads};
  bool cancelled = false;
  bool updated = UpdateInstance(context, ui, record, false, state.dates, &cancelled);
  if (cancelled) return "";
  CheckResult(ui, updated);
  return record.Name + (updated ? " updated" : " update failed") + suffix + "\n";
}

}  // namespace

void UpdateInstancesAtStart(AppState& state, Ui& ui) {
  std::string report;
  for (const auto& owned : state.instances) {
    Instance& record = *owned;
    if (record.MineCraftFile == instances::kReleaseChannel) {
      report += UpdateChannelInstance(state, ui, record, state.dates.remote_release, "");
    } else if (record.MineCraftFile == instances::kBetaChannel) {
      report += UpdateChannelInstance(state, ui, record, state.dates.newest_beta, " (beta)");
    } else if (record.BetaVersion != state.dates.remote_release) {
      std::string version =
          state.settings.InstancesDir + record.Folder + "\\.minecraft\\bin\\version";
      CheckResult(ui, SaveVersion(version, state.dates.remote_release));
      record.BetaVersion = state.dates.remote_release;
    }
  }
  if (!report.empty()) ui.ShowMessage("Oxlip", report);
}

}  // namespace oxlip::app
