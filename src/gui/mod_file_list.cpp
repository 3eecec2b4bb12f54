#include "gui/mod_file_list.h"

#include <QCoreApplication>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QUrl>

#include "platform/path.h"

namespace oxlip::gui {

ModFileList::ModFileList(QWidget* parent, app::ModDialogModel& model, int list)
    : QListView(parent), model_(model), list_(list), files_(new QFileSystemModel(this)) {
  files_->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  files_->setReadOnly(true);
  setModel(files_);
  setViewMode(QListView::ListMode);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDropIndicatorShown(false);
  connect(this, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    if (model_.Enter(list_, files_->fileName(index).toStdString())) ShowFolder();
  });
}

void ModFileList::ShowFolder() {
  QString folder =
      QDir::cleanPath(QString::fromStdString(platform::NativePath(model_.ShownFolder(list_))));
  setRootIndex(files_->setRootPath(folder));
  clearSelection();
  emit folderShown(list_);
}

QStringList ModFileList::ShownNames() const {
  QStringList names;
  QModelIndex root = rootIndex();
  for (int row = 0; row < files_->rowCount(root); ++row)
    names << files_->fileName(files_->index(row, 0, root));
  return names;
}

void ModFileList::SelectNames(const QStringList& names) {
  clearSelection();
  QModelIndex root = rootIndex();
  for (int row = 0; row < files_->rowCount(root); ++row) {
    QModelIndex index = files_->index(row, 0, root);
    if (names.contains(files_->fileName(index)))
      selectionModel()->select(index, QItemSelectionModel::Select);
  }
}

QMimeData* ModFileList::BeginDrag() {
  std::vector<std::string> names;
  for (const QModelIndex& index : selectionModel()->selectedIndexes())
    names.push_back(files_->fileName(index).toStdString());
  if (names.empty()) return nullptr;
  model_.StartDrag(list_, names);
  auto* data = new QMimeData;
  data->setData(kDragType, DragToken());
  return data;
}

void ModFileList::startDrag(Qt::DropActions) {
  QMimeData* data = BeginDrag();
  if (!data) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  drag->exec(Qt::MoveAction);
}

// The dialog's items in this process: a drag of our kind from another dialog means nothing.
QByteArray ModFileList::DragToken() const {
  return QByteArray::number(QCoreApplication::applicationPid()) + ":" +
         QByteArray::number(reinterpret_cast<quintptr>(&model_));
}

bool ModFileList::IsOwnDrag(const QDropEvent* event) const {
  return event->mimeData()->data(kDragType) == DragToken();
}

bool ModFileList::Accepts(const QDropEvent* event) const {
  if (IsOwnDrag(event)) return true;
  if (!app::ModDialogModel::AcceptsShellDrop(list_) || !event->mimeData()->hasUrls()) return false;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) return true;
  return false;
}

void ModFileList::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void ModFileList::dragMoveEvent(QDragMoveEvent* event) {
  if (!Accepts(event)) return event->ignore();
  event->setDropAction(IsOwnDrag(event) ? Qt::MoveAction : Qt::CopyAction);
  event->accept();
}

QString ModFileList::ItemAt(const QPoint& position) const {
  QModelIndex under = indexAt(position);
  return under.isValid() ? files_->fileName(under) : QString();
}

void ModFileList::dropEvent(QDropEvent* event) {
  if (!Accepts(event)) return event->ignore();
  std::string item = ItemAt(event->position().toPoint()).toStdString();
  if (IsOwnDrag(event)) {
    event->setDropAction(Qt::MoveAction);
    event->accept();
    model_.DropDragged(list_, item);
    return;
  }
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  event->setDropAction(Qt::CopyAction);
  event->accept();
  model_.DropShellFiles(list_, item, paths.join('\n').toStdString());
  ShowFolder();
}

}  // namespace oxlip::gui
