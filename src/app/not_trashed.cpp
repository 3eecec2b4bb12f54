#include "app/not_trashed.h"

namespace oxlip::app {

int ReportNotTrashed(Ui& ui, const std::string& path) {
  ui.ShowMessage("Oxlip", "Delete: Can't move " + path + " to the trash; it was left in place.");
  return 1;
}

}  // namespace oxlip::app
