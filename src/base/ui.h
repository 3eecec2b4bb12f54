#pragma once
// How the core talks to the person. gui/ implements it with Qt; tests with a scripted double.
#include <functional>
#include <string>

#include "base/progress.h"

namespace oxlip {

// The main window's lists, for telling the window that one was rebuilt.
enum class ListKind { kInstances, kVersions, kMods };

class Ui {
 public:
  virtual ~Ui() = default;
  // A modal box with an OK button; returns when the person closed it.
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;

  // The small status window: opens it (disabling the main window) or, when open, only sets
  // its two texts and whether the progress bar shows.
  virtual void ShowStatusWindow(const std::string& title, const std::string& text,
                                bool hide_progress) = 0;
  virtual void CloseStatusWindow() = 0;
  // The status window's first text, second text and bar; harmless while it is closed.
  virtual ProgressSink& StatusProgress() = 0;

  // Runs `work` on a worker thread behind a progress window titled `title` whose name text
  // starts as `text`; the main window is disabled and events keep being handled until the
  // work ends. Returns what `work` returned.
  virtual int RunWithProgress(const std::string& title, const std::string& text,
                              const std::function<int(ProgressSink&)>& work) = 0;

  // A list of the program was rebuilt; the window redraws it from the state.
  virtual void ListChanged(ListKind list) = 0;
};

}  // namespace oxlip
