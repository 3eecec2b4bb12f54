#pragma once
// A deletion that the trash did not take: the item stays where it was and the user is told.
#include <string>

#include "app/ui.h"

namespace oxlip::app {

// Shows the message and returns 1, a command's "done".
int ReportNotTrashed(Ui& ui, const std::string& path);

}  // namespace oxlip::app
