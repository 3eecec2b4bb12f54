#pragma once
// What the GUI tests share: answering the windows a step opens from inside its own event loop,
// drops as a drag ends them, the main window over a data folder, a layout check and screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/startup.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"
#include "support/temp_folder.h"

namespace oxlip::test {

// Calls `answer` once a popup or modal window of type T is up, from inside the event loop that
// waits for it.
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

// What a drag does when it ends at `at`: the action every step was answered with, or IgnoreAction
// when a step was refused or answered differently.
inline Qt::DropAction DropOn(QWidget* target, QPoint at, const QMimeData* data,
                             Qt::DropActions offered = Qt::CopyAction,
                             Qt::KeyboardModifiers keys = Qt::NoModifier) {
  QDragEnterEvent enter(at, offered, data, Qt::LeftButton, keys);
  QDragMoveEvent move(at, offered, data, Qt::LeftButton, keys);
  QDropEvent drop(at, offered, data, Qt::LeftButton, keys);
  Qt::DropAction answer = Qt::IgnoreAction;
  for (QDropEvent* event :
       {static_cast<QDropEvent*>(&enter), static_cast<QDropEvent*>(&move), &drop}) {
    QApplication::sendEvent(target, event);
    if (!event->isAccepted() || (event != &enter && event->dropAction() != answer))
      return Qt::IgnoreAction;
    answer = event->dropAction();
  }
  return answer;
}

// Every gadget of `page` shown whole, inside `window` and clear of the others.
inline void ExpectUsable(QWidget* page, QWidget* window, QList<QWidget*> gadgets = {}) {
  for (QWidget* w : page->findChildren<QWidget*>())
    if (w->inherits("QLabel") || w->inherits("QAbstractButton") || w->inherits("QLineEdit") ||
        w->inherits("QComboBox") || w->inherits("QTreeWidget"))
      gadgets << w;
  ASSERT_GE(gadgets.size(), 4);
  for (QWidget* g : gadgets) {
    QString name = g->metaObject()->className() + (" '" + g->property("text").toString() + "'");
    QRect box(g->mapTo(window, QPoint(0, 0)), g->size());
    EXPECT_TRUE(g->isVisible() && window->rect().contains(box)) << name.toStdString();
    QSize needed =
        g->inherits("QLabel") || g->inherits("QPushButton") ? g->sizeHint() : g->minimumSizeHint();
    EXPECT_TRUE(g->width() >= needed.width() && g->height() >= needed.height())
        << name.toStdString();
    for (QWidget* other : gadgets)
      EXPECT_TRUE(other == g ||
                  !box.intersects({other->mapTo(window, QPoint(0, 0)), other->size()}))
          << name.toStdString() << " overlaps " << other->metaObject()->className();
  }
}

// The whole virtual screen into <build folder>/screenshots/<name>.png, every window drawn anew.
inline void Screenshot(const std::string& name) {
  for (QWidget* window : QApplication::topLevelWidgets()) window->repaint();
  QApplication::processEvents();
  std::string folder = std::string(OXLIP_BINARY_DIR) + "/screenshots/";
  std::system(
      ("mkdir -p '" + folder + "' && import -window root '" + folder + name + ".png'").c_str());
}

// The main window with the Qt Ui over the data folder of the test.
class MainWindowFixture : public InTempFolder {
 protected:
  // Without `start`, over an empty state, as the boxes and windows of the Ui need no more.
  void Open(bool start = true) {
    if (start) {
      ASSERT_TRUE(app::StartUp(state));
    }
    window = std::make_unique<gui::MainWindow>(state);
    ui = std::make_unique<gui::QtUi>(window.get());
    window->set_ui(ui.get());
    window->PlaceFromSettings();
    window->show();
    if (start) app::FillLists(state, *ui);
    QApplication::processEvents();
  }

  static void SaveIcon(const std::string& file, QColor colour) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    QImage icon(20, 20, QImage::Format_ARGB32);
    icon.fill(colour);
    icon.save(QString::fromStdString(file));
  }
  // An instance folder, with an icon of `colour` unless it is invalid.
  void MakeInstance(const std::string& folder, QColor colour = {}) {
    WriteFile(dir() + "Instances/" + folder + "/settings.ini", "Name = " + folder + "\r\n");
    if (colour.isValid()) SaveIcon(dir() + "Instances/" + folder + "/icon.png", colour);
  }

  app::AppState state;
  std::unique_ptr<gui::MainWindow> window;
  std::unique_ptr<gui::QtUi> ui;
};

}  // namespace oxlip::test
