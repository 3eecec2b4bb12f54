#pragma once
// The one place where a command's failure becomes visible.
#include "app/ui.h"

namespace oxlip {

// A zero result shows the last-error text in a box titled "Oxlip"; the result is returned.
int CheckResult(app::Ui& ui, int result);

}  // namespace oxlip
