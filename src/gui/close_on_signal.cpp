#include "gui/close_on_signal.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace oxlip::gui {
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

void CloseOnTerminationSignal(QWidget* window) {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signal_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(signal_pipe[1], QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
    char byte;
    [[maybe_unused]] ssize_t got = read(signal_pipe[1], &byte, 1);
    window->close();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

}  // namespace oxlip::gui
