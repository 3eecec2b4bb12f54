#include "app/check_result.h"

#include "base/error_text.h"

namespace oxlip {

int CheckResult(app::Ui& ui, int result) {
  if (result == 0) ui.ShowMessage("Oxlip", base::LastErrorText());
  return result;
}

}  // namespace oxlip
