#include "gui/close_on_signal.h"

#include <QSocketNotifier>

#include "platform/termination_signal.h"

namespace oxlip::gui {

void CloseOnTerminationSignal(QWidget* window) {
  int fd = platform::WatchTerminationSignals();
  if (fd < 0) return;
  auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [window, fd] {
    platform::DrainTerminationSignal(fd);
    window->close();
  });
}

}  // namespace oxlip::gui
