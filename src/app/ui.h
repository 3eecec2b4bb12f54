#pragma once
// How the core talks to the person. gui/ implements it with Qt; tests with a scripted double.
#include <functional>
#include <optional>
#include <string>

#include "app/instance_dialog_model.h"
#include "app/login_form.h"
#include "app/mod_dialog_model.h"
#include "app/restore_choice_model.h"
#include "base/progress.h"

namespace oxlip::app {

// The main window's lists, for telling the window that one was rebuilt.
enum class ListKind { kInstances, kVersions, kMods };

// How one row of the instance list changed: appended at the end, its name or icon edited, or
// removed.
enum class RowChange { kAdded, kEdited, kRemoved };

// Rows `first` to `last` of a list; empty when `last` < `first`.
struct RowRange {
  int first = 0;
  int last = -1;
  bool operator==(const RowRange&) const = default;
};

class Ui {
 public:
  virtual ~Ui() = default;
  // A modal box with an OK button; returns when the person closed it.
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
  // A modal box like ShowMessage that offers one action besides closing it; true when the
  // person chose the action.
  virtual bool ShowOffer(const std::string& title, const std::string& text,
                         const std::string& action) = 0;

  // The small status window: opens it (disabling the main window) or, when open, only sets
  // its two texts and whether the progress bar shows.
  virtual void ShowStatusWindow(const std::string& title, const std::string& text,
                                bool hide_progress) = 0;
  virtual void CloseStatusWindow() = 0;
  // The status window's first text, second text and bar; harmless while it is closed.
  virtual base::ProgressSink& StatusProgress() = 0;

  // Runs `work` on a worker thread behind a progress window titled `title` whose name text
  // starts as `text`; the main window is disabled and events keep being handled until the
  // work ends. The window offers Cancel, which the sink given to `work` reports. Returns what
  // `work` returned.
  virtual int RunWithProgress(const std::string& title, const std::string& text,
                              const std::function<int(base::ProgressSink&)>& work) = 0;

  // Runs `work` on a worker thread while events keep being handled and the main window stays
  // disabled; it reports into the status window (open it first). Returns what `work` returned.
  virtual int RunBehindStatus(const std::function<int(base::ProgressSink&)>& work) = 0;
  // The same, with the status window offering Cancel meanwhile, for work that asks
  // ProgressSink::Cancelled.
  virtual int RunCancellableBehindStatus(const std::function<int(base::ProgressSink&)>& work) {
    return RunBehindStatus(work);
  }

  // A list of the program was rebuilt; the window redraws it from the state.
  virtual void ListChanged(ListKind list) = 0;
  // One row of the instance list changed; the window redraws that row alone, so the others
  // keep their selection, scroll position and images.
  virtual void InstanceRowChanged(int row, RowChange change) = 0;
  // Gives the instance list the keyboard focus with the row selected and in view.
  virtual void SelectInstanceRow(int row) = 0;
  // The rows of the instance list that its window shows now.
  virtual RowRange InstanceRowsInView() = 0;

  // The open-file dialog. `filters` is "name|patterns|name|patterns..." with patterns separated
  // by ";"; `selected_filter` counts from 0. The chosen path, or "" when cancelled.
  virtual std::string OpenFileDialog(const std::string& title, const std::string& filters,
                                     int selected_filter) = 0;
  // The one-line input box; nothing when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                              const std::string& preset) = 0;
  // Shows a folder in the desktop's file browser.
  virtual void OpenFolder(const std::string& path) = 0;

  // Modal dialogs over their models; true when the person confirmed.
  virtual bool RunLoginDialog(LoginForm& form) = 0;
  virtual bool RunModDialog(ModDialogModel& model) = 0;
  virtual bool RunInstanceDialog(InstanceDialogModel& model) = 0;
  // The list of an instance's backups to restore one from.
  virtual bool RunRestoreDialog(RestoreChoiceModel& model) = 0;

  // Opens the window that shows a game's log ("game.log", its run before a click away) and
  // follows it while the game writes, or brings it to the front when open already. Returns at
  // once; the window lives on its own.
  virtual void ShowGameLog(const std::string& title, const std::string& log_file) = 0;
};

}  // namespace oxlip::app
