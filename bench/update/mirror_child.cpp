#include "mirror_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

// The first line the child prints ("port N"), "" when none comes within 30 s.
std::string FirstLine(int fd) {
  std::string line;
  while (line.find('\n') == std::string::npos) {
    pollfd waiting{fd, POLLIN, 0};
    if (poll(&waiting, 1, 30000) <= 0) return "";
    char buffer[256];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return "";
    line.append(buffer, static_cast<size_t>(n));
  }
  return line.substr(0, line.find('\n'));
}

}  // namespace

MirrorChild::MirrorChild(const std::string& program, const std::string& root,
                         const std::string& log, const std::vector<std::string>& extra) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  std::vector<std::string> args = {program, "--root", root, "--port", "0", "--log", log};
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  out_ = fds[0];
  std::string line = pid_ > 0 ? FirstLine(out_) : "";
  if (line.starts_with("port ")) port_ = std::atoi(line.c_str() + 5);
}

MirrorChild::~MirrorChild() {
  if (out_ >= 0) close(out_);
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
}

std::string MirrorChild::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}
