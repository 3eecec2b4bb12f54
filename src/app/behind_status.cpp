#include "app/behind_status.h"

#include "app/check_result.h"

namespace oxlip::app {

int BehindStatus(Ui& ui, const std::string& title, const std::string& text, bool hide_progress,
                 const std::function<int(base::ProgressSink&)>& work) {
  ui.ShowStatusWindow(title, text, hide_progress);
  int result = ui.RunBehindStatus(work);
  ui.CloseStatusWindow();
  return result;
}

WorkEnd RunCancellable(Ui& ui, const std::function<int(base::ProgressSink&)>& work) {
  bool cancelled = false;
  int result = ui.RunCancellableBehindStatus([&](base::ProgressSink& progress) {
    int done = work(progress);
    cancelled = done == 0 && progress.Cancelled();
    return done;
  });
  return result ? WorkEnd::kDone : cancelled ? WorkEnd::kCancelled : WorkEnd::kFailed;
}

WorkEnd CancellableBehindStatus(Ui& ui, const std::string& title, const std::string& text,
                                bool hide_progress,
                                const std::function<int(base::ProgressSink&)>& work) {
  ui.ShowStatusWindow(title, text, hide_progress);
  WorkEnd end = RunCancellable(ui, work);
  ui.CloseStatusWindow();
  return end;
}

int ReportWorkEnd(Ui& ui, WorkEnd end) {
  if (end == WorkEnd::kCancelled) return 0;
  return CheckResult(ui, end == WorkEnd::kDone ? 1 : 0);
}

}  // namespace oxlip::app
