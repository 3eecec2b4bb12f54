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
      : pid_(std::exchange(other.pid_, -1)), ended_(std::exchange(other.ended_, true)) {}
  Process& operator=(Process&& other) noexcept {
    pid_ = std::exchange(other.pid_, -1);
    ended_ = std::exchange(other.ended_, true);
    return *this;
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  int id() const { return pid_; }
  // True once it has ended; the first call that sees the end releases it.
  bool HasEnded();

 private:
  explicit Process(int pid) : pid_(pid) {}
  int pid_ = -1;
  bool ended_ = false;
};

// True when `pid` is `ancestor` or one of its descendants among the running processes.
bool InProcessTree(int pid, int ancestor);

}  // namespace oxlip::platform
