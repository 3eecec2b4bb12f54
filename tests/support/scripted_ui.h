#pragma once
// A Ui that records what was shown and answers from a script.
#include <atomic>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/ui.h"

namespace oxlip::test {

struct ShownMessage {
  std::string title;
  std::string text;
};

// Records every call, from whichever thread makes it.
class RecordingProgress : public base::ProgressSink {
 public:
  void SetName(const std::string& text) override { Add(names, text); }
  // The person's Cancel at a point that does not depend on speed: the answer turns to true
  // once the work has asked `cancel_after_asks` times (work asks before each file).
  bool Cancelled() override { return cancel_after_asks >= 0 && asks++ >= cancel_after_asks; }
  std::atomic<int> cancel_after_asks{-1};
  std::atomic<int> asks{0};
  void SetTime(const std::string& text) override { Add(times, text); }
  void SetPercent(int percent) override {
    std::lock_guard lock(mutex_);
    percents.push_back(percent);
  }

  std::vector<std::string> names;
  std::vector<std::string> times;
  std::vector<int> percents;

 private:
  void Add(std::vector<std::string>& to, const std::string& text) {
    std::lock_guard lock(mutex_);
    to.push_back(text);
  }
  std::mutex mutex_;
};

class ScriptedUi : public app::Ui {
 public:
  void ShowMessage(const std::string& title, const std::string& text) override {
    messages.push_back({title, text});
  }

  void ShowStatusWindow(const std::string& title, const std::string& text, bool) override {
    status_shown.push_back({title, text});
    status_open = true;
  }
  void CloseStatusWindow() override { status_open = false; }
  base::ProgressSink& StatusProgress() override { return status_progress; }

  int RunWithProgress(const std::string& title, const std::string& text,
                      const std::function<int(base::ProgressSink&)>& work) override {
    progress_windows.push_back({title, text});
    return std::async(std::launch::async, work, std::ref(window_progress)).get();
  }

  int RunCancellableBehindStatus(const std::function<int(base::ProgressSink&)>& work) override {
    ++cancel_offers;
    return RunBehindStatus(work);
  }
  int RunBehindStatus(const std::function<int(base::ProgressSink&)>& work) override {
    ++behind_status_runs;
    return std::async(std::launch::async, work, std::ref(status_progress)).get();
  }

  void ListChanged(app::ListKind list) override { lists_changed.push_back(list); }
  void InstanceRowChanged(int row, app::RowChange change) override {
    instance_rows_changed.push_back({row, change});
  }
  void SelectInstanceRow(int row) override { selected_instance_rows.push_back(row); }
  app::RowRange InstanceRowsInView() override { return rows_in_view; }

  std::string OpenFileDialog(const std::string& title, const std::string& filters,
                             int selected_filter) override {
    file_dialogs.push_back({title, filters, selected_filter});
    return open_file_answer;
  }
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& preset) override {
    input_boxes.push_back({title, prompt, preset});
    return input_answer;
  }
  void OpenFolder(const std::string& path) override { opened_folders.push_back(path); }

  bool RunLoginDialog(app::LoginForm& form) override { return on_login ? on_login(form) : false; }
  bool RunModDialog(app::ModDialogModel& model) override {
    return on_mod_dialog ? on_mod_dialog(model) : false;
  }
  bool RunInstanceDialog(app::InstanceDialogModel& model) override {
    return on_instance_dialog ? on_instance_dialog(model) : false;
  }
  bool RunRestoreDialog(app::RestoreChoiceModel& model) override {
    return on_restore_dialog ? on_restore_dialog(model) : false;
  }
  bool ShowOffer(const std::string& title, const std::string& text,
                 const std::string& action) override {
    offers.push_back({title, text, action});
    return offer_answer;
  }
  void ShowGameLog(const std::string& title, const std::string& log_file) override {
    game_logs.push_back({title, log_file});
  }

  struct FileDialog {
    std::string title;
    std::string filters;
    int selected_filter;
  };
  struct InputRequest {
    std::string title;
    std::string prompt;
    std::string preset;
  };
  std::vector<FileDialog> file_dialogs;
  std::string open_file_answer;  // "" acts as a cancelled dialog
  std::vector<InputRequest> input_boxes;
  std::optional<std::string> input_answer;
  std::vector<std::string> opened_folders;
  int behind_status_runs = 0;
  int cancel_offers = 0;
  // Each dialog is answered by its script; without one it counts as cancelled.
  std::function<bool(app::LoginForm&)> on_login;
  std::function<bool(app::ModDialogModel&)> on_mod_dialog;
  std::function<bool(app::InstanceDialogModel&)> on_instance_dialog;
  std::function<bool(app::RestoreChoiceModel&)> on_restore_dialog;
  struct Offer {
    std::string title;
    std::string text;
    std::string action;
  };
  std::vector<Offer> offers;
  bool offer_answer = false;
  std::vector<ShownMessage> game_logs;  // title and log file of each log window opened

  std::vector<ShownMessage> messages;
  std::vector<ShownMessage> status_shown;
  bool status_open = false;
  RecordingProgress status_progress;
  std::vector<ShownMessage> progress_windows;
  RecordingProgress window_progress;
  std::vector<app::ListKind> lists_changed;
  std::vector<std::pair<int, app::RowChange>> instance_rows_changed;
  std::vector<int> selected_instance_rows;
  app::RowRange rows_in_view;  // what the window shows of the instance list: none unless set
};

}  // namespace oxlip::test
