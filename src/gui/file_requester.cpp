#include "gui/file_requester.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "platform/path.h"

namespace oxlip::gui {

QString QtFilters(const std::string& filters, int selected, QString* selected_filter) {
  QStringList names = QString::fromStdString(filters).split('|');
  QStringList qt_filters;
  for (int i = 0; i + 1 < names.size(); i += 2)
    qt_filters << names[i] + " (" + names[i + 1].split(';').join(' ') + ")";
  if (selected_filter && selected >= 0 && selected < qt_filters.size())
    *selected_filter = qt_filters[selected];
  return qt_filters.join(";;");
}

std::string RunFileRequester(QWidget* owner, const app::FileRequester& request) {
  QString selected;
  QString filters = QtFilters(request.filters, request.selected_filter, &selected);
  // Relative starts, such as the icons folder, are relative to the program's working folder.
  QString start;
  if (!request.start.empty())
    start = QDir::current().absoluteFilePath(
        QString::fromStdString(platform::NativePath(request.start)));
  QString path = QFileDialog::getOpenFileName(owner, QString::fromStdString(request.title), start,
                                              filters, &selected);
  return path.toStdString();
}

}  // namespace oxlip::gui
