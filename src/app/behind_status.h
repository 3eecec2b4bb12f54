#pragma once
// Long work behind the status window, off the GUI thread.
#include <functional>
#include <string>

#include "app/ui.h"

namespace oxlip::app {

// Opens the status window with `title` and `text`, runs `work` on a worker while the window
// keeps drawing, closes the window and returns what `work` returned.
int BehindStatus(Ui& ui, const std::string& title, const std::string& text, bool hide_progress,
                 const std::function<int(base::ProgressSink&)>& work);

// What work the person may cancel came to. Work that ended with 0 after Cancel was cancelled;
// work that was done before it noticed Cancel is done.
enum class WorkEnd { kFailed, kDone, kCancelled };

// `work` behind the open status window, which offers Cancel meanwhile.
WorkEnd RunCancellable(Ui& ui, const std::function<int(base::ProgressSink&)>& work);

// As BehindStatus, with Cancel offered.
WorkEnd CancellableBehindStatus(Ui& ui, const std::string& title, const std::string& text,
                                bool hide_progress,
                                const std::function<int(base::ProgressSink&)>& work);

// CheckResult for the end of cancellable work: a failure is shown, a cancel is not (the person
// asked for it). 1 when the work was done.
int ReportWorkEnd(Ui& ui, WorkEnd end);

}  // namespace oxlip::app
