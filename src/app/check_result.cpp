#include "base/check_result.h"

#include <cstdlib>

#include "base/error_text.h"

namespace oxlip {

int CheckResult(Ui& ui, int result) {
  if (result == 0) ui.ShowMessage("Oxlip", LastErrorText());
  return result;
}

int RequireOrEnd(const std::string& message, int result) {
  if (result == 0) {
    SetErrorText(message);
    std::_Exit(1);
  }
  return result;
}

}  // namespace oxlip
