#include "gui/qt_ui.h"

#include <QMessageBox>

namespace oxlip::gui {

void QtUi::ShowMessage(const std::string& title, const std::string& text) {
  QMessageBox::information(owner_, QString::fromStdString(title), QString::fromStdString(text));
}

}  // namespace oxlip::gui
