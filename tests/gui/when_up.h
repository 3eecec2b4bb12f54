#pragma once
// Answering the windows that a step opens from inside its own event loop.
#include <QApplication>
#include <QTimer>
#include <functional>

namespace oxlip::test {

// Calls `answer` once a popup or modal window of type T is up, from inside the event loop
// that waits for it.
template <typename T>
void WhenUp(std::function<void(T*)> answer) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, answer] {
    T* window = qobject_cast<T*>(QApplication::activePopupWidget());
    if (!window) window = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!window || !window->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    answer(window);
  });
  poll->start(10);
}

}  // namespace oxlip::test
