#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/path.h"

extern char** environ;

namespace oxlip::platform {
namespace {

// Our environment with the changes applied, for the child alone.
std::vector<std::string> ChildEnvironment(
    const std::vector<std::pair<std::string, std::string>>& changes) {
  std::vector<std::string> out;
  for (char** entry = environ; *entry; ++entry) {
    std::string text = *entry;
    std::string name = text.substr(0, text.find('='));
    bool changed = false;
    for (const auto& change : changes) changed = changed || change.first == name;
    if (!changed) out.push_back(std::move(text));
  }
  for (const auto& [name, value] : changes) out.push_back(name + "=" + value);
  return out;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> out;
  for (std::string& text : texts) out.push_back(text.data());
  out.push_back(nullptr);
  return out;
}

int OpenOutput(const std::string& path) {
  int fd = -1;
  if (!path.empty())
    fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  return fd;
}

// The parent of a running process; -1 when it is gone or cannot be read.
int ParentOf(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::stringstream text;
  text << in.rdbuf();
  std::string stat = text.str();
  // "pid (name) state ppid ...": the name may hold blanks and parentheses.
  std::size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream rest(stat.substr(close + 1));
  std::string state;
  int parent = -1;
  rest >> state >> parent;
  return rest ? parent : -1;
}

}  // namespace

std::optional<Process> Process::Start(const ProcessStart& start, Error* error) {
  if (start.args.empty() || start.args[0].empty()) {
    Fail(error, "start", "", ENOENT);
    return std::nullopt;
  }
  std::vector<std::string> args = start.args;
  std::vector<std::string> env = ChildEnvironment(start.environment);
  std::vector<char*> argv = Pointers(args), envp = Pointers(env);
  int out = OpenOutput(start.output_file);
  int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (in >= 0) posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
  if (out >= 0) {
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDERR_FILENO);
  }
  // Descriptors that some library opened without close-on-exec stay ours.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  std::string folder = NativePath(start.working_folder);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // Default signal dispositions: the GUI may have set its own handlers.
  sigset_t all;
  sigfillset(&all);
  posix_spawnattr_setsigdefault(&attr, &all);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  int failed = posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), envp.data());
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (in >= 0) ::close(in);
  if (out >= 0) ::close(out);
  if (failed) {
    Fail(error, "start", start.args[0], failed);
    return std::nullopt;
  }
  return Process(pid);
}

bool Process::HasEnded() {
  if (ended_ || pid_ <= 0) return true;
  int status = 0;
  pid_t got = ::waitpid(pid_, &status, WNOHANG);
  if (got == 0 || (got < 0 && errno == EINTR)) return false;
  // Reaped now, or already reaped elsewhere (ECHILD): either way it no longer runs.
  ended_ = true;
  if (got == pid_ && WIFEXITED(status)) exit_code_ = WEXITSTATUS(status);
  if (got == pid_ && WIFSIGNALED(status)) end_signal_ = WTERMSIG(status);
  return true;
}

bool Process::EndedOnRequest() const {
  for (int request : {SIGTERM, SIGINT, SIGHUP})
    if (end_signal_ == request || exit_code_ == 128 + request) return true;
  return false;
}

bool InProcessTree(int pid, int ancestor) {
  // A chain longer than this is a loop of reused ids, not a real tree.
  for (int depth = 0; depth < 256 && pid > 1; ++depth) {
    if (pid == ancestor) return true;
    pid = ParentOf(pid);
  }
  return pid == ancestor;
}

}  // namespace oxlip::platform
