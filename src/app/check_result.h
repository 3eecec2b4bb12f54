#pragma once
#include <string>

#include "base/ui.h"

namespace oxlip {

// A zero result shows the last-error text in a box titled "Oxlip"; the result is returned.
int CheckResult(Ui& ui, int result);

// A zero result stores the message and ends the program at once: no box, nothing saved.
int RequireOrEnd(const std::string& message, int result);

}  // namespace oxlip
