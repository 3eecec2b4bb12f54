#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

#include "platform/path.h"

extern char** environ;

namespace oxlip::platform {

bool OpenWithShell(const std::string& path) {
  std::string native = NativePath(path);
  // Its own session keeps the opener out of our process group's signals.
  std::string opener = "xdg-open";
  char* argv[] = {opener.data(), native.data(), nullptr};
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, opener.c_str(), nullptr, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) return false;
  // Some desktops' openers stay until the browser closes: collect it aside, never wait here.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

}  // namespace oxlip::platform
