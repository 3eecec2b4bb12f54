#pragma once
// Long work behind the status window, off the GUI thread.
#include <functional>
#include <string>

#include "app/ui.h"

namespace oxlip::app {

// Opens the status window with `title` and `text`, runs `work` on a worker while the window
// keeps drawing, closes the window and returns what `work` returned.
int BehindStatus(Ui& ui, const std::string& title, const std::string& text, bool hide_progress,
                 const std::function<int(ProgressSink&)>& work);

}  // namespace oxlip::app
