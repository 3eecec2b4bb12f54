#pragma once
// Child processes that run on their own: started with a working folder and an environment of
// their own, polled, never waited for.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/error.h"

namespace oxlip::platform {

struct ProcessStart {
  // The program first: a path, or a bare name looked up in PATH.
  std::vector<std::string> args;
  std::string working_folder;  // "" keeps ours
  // Set (or replaced) in the child's environment only; ours stays as it is.
  std::vector<std::pair<std::string, std::string>> environment;
  // Receives standard output and error, emptied first; "" or unwritable: discarded.
  std::string output_file;
};

class Process {
 public:
  // Runs in a session of its own, so our end or our terminal's signals do not end it.
  // nullopt when it could not be started (no such program, no such working folder), and then
  // `error` says why.
  static std::optional<Process> Start(const ProcessStart& start, Error* error = nullptr);

  Process(Process&& other) noexcept
      : pid_(std::exchange(other.pid_, -1)),
        ended_(std::exchange(other.ended_, true)),
        exit_code_(std::exchange(other.exit_code_, std::nullopt)),
        end_signal_(std::exchange(other.end_signal_, 0)) {}
  Process& operator=(Process&& other) noexcept {
    pid_ = std::exchange(other.pid_, -1);
    ended_ = std::exchange(other.ended_, true);
    exit_code_ = std::exchange(other.exit_code_, std::nullopt);
    end_signal_ = std::exchange(other.end_signal_, 0);
    return *this;
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  int id() const { return pid_; }
  // True once it has ended; the first call that sees the end releases it and keeps how it
  // ended.
  bool HasEnded();
  // Its exit code once it has ended by itself; none while it runs, when a signal ended it, or
  // when someone else collected its end.
  std::optional<int> exit_code() const { return exit_code_; }
  // The signal that ended it; 0 otherwise.
  int end_signal() const { return end_signal_; }
  // It ended because it was asked to (a logout, "kill", Ctrl+C): by such a signal, or with the
  // code a program exits with after handling one (128 + the signal, as Java and shells do).
  bool EndedOnRequest() const;

 private:
  explicit Process(int pid) : pid_(pid) {}
  int pid_ = -1;
  bool ended_ = false;
  std::optional<int> exit_code_;
  int end_signal_ = 0;
};

// True when `pid` is `ancestor` or one of its descendants among the running processes.
bool InProcessTree(int pid, int ancestor);

}  // namespace oxlip::platform
