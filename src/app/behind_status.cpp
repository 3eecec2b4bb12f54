#include "app/behind_status.h"

namespace oxlip::app {

int BehindStatus(Ui& ui, const std::string& title, const std::string& text, bool hide_progress,
                 const std::function<int(ProgressSink&)>& work) {
  ui.ShowStatusWindow(title, text, hide_progress);
  int result = ui.RunBehindStatus(work);
  ui.CloseStatusWindow();
  return result;
}

}  // namespace oxlip::app
