#include "app/stampit.h"

#include "altlauncher/stamp_profile.h"
#include "app/behind_status.h"
#include "app/check_result.h"
#include "base/error_text.h"

namespace oxlip {

void stampit(app::Ui& ui, const Instance& instance, const base::GlobalSettings& settings) {
  // The worker gets its own copies: the record and settings belong to the GUI thread.
  const altlauncher::StampPaths paths =
      altlauncher::StampPathsFor(settings.InstancesDir, instance.Folder, settings.StartFolder);
  altlauncher::StampOutcome outcome;
  app::BehindStatus(ui, "Import Mod-Settings from alternate", instance.Name, false,
                    [&outcome, paths](base::ProgressSink& progress) {
                      outcome = altlauncher::StampProfile(paths, progress);
                      return 1;
                    });
  switch (outcome.kind) {
    case altlauncher::StampOutcome::Kind::kFailed:
      SetErrorText(outcome.message);
      CheckResult(ui, 0);
      break;
    case altlauncher::StampOutcome::Kind::kPatched:
      ui.ShowMessage("Oxlip", "Profile " + outcome.profile_name + " patched!");
      break;
    case altlauncher::StampOutcome::Kind::kNothing:
      break;
  }
}

}  // namespace oxlip
