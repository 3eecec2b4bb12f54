#include "platform/termination_signal.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace oxlip::platform {
namespace {

int signal_pipe[2] = {-1, -1};

// Only a write is safe inside a signal handler; the event loop does the rest. The socket
// never blocks: one pending byte is enough to close.
void OnSignal(int) {
  int saved = errno;
  char byte = 1;
  [[maybe_unused]] ssize_t written = write(signal_pipe[0], &byte, 1);
  errno = saved;
}

}  // namespace

int WatchTerminationSignals() {
  if (signal_pipe[1] >= 0) return signal_pipe[1];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signal_pipe) != 0)
    return -1;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
  return signal_pipe[1];
}

void DrainTerminationSignal(int fd) {
  char bytes[16];
  while (read(fd, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace oxlip::platform
