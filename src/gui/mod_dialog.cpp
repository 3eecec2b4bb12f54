#include "gui/mod_dialog.h"

#include <QLabel>

namespace oxlip::gui {
namespace {

constexpr const char* kHeaders[] = {"minecraft.jar", "add to .minecraft", "unused"};
constexpr int kListX[] = {5, 203, 401};

QLabel* Label(QWidget* parent, const QString& text, const QRect& place) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(place);
  return label;
}

}  // namespace

ModDialog::ModDialog(QWidget* parent, app::ModDialogModel& model) : QDialog(parent), model_(model) {
  setWindowTitle("Create new mod");
  setFixedSize(600, 425);
  BuildFields();
  for (int list = 0; list < app::kModDialogLists; ++list) BuildList(list, kListX[list]);
  ok_ = new QPushButton("OK", this);
  ok_->setGeometry(390, 400, 100, 20);
  ok_->setDefault(true);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setGeometry(495, 400, 100, 20);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  if (parent) move(parent->geometry().center() - QPoint(300, 212));
}

std::size_t ModDialog::Index(int list) {
  return list >= 0 && list < app::kModDialogLists ? static_cast<std::size_t>(list) : 0;
}

void ModDialog::BuildFields() {
  Label(this, "Version", {5, 5, 100, 20});
  Label(this, "Name", {110, 5, 485, 20});
  version_ = new QComboBox(this);
  version_->setGeometry(5, 25, 100, 20);
  for (const std::string& choice : model_.version_choices())
    version_->addItem(QString::fromStdString(choice));
  version_->setCurrentIndex(model_.selected_version());
  connect(version_, &QComboBox::currentIndexChanged, this,
          [this](int index) { model_.SelectVersion(index); });
  name_ = new QLineEdit(QString::fromStdString(model_.name()), this);
  name_->setGeometry(110, 25, 485, 20);
  connect(name_, &QLineEdit::textChanged, this,
          [this](const QString& text) { model_.SetName(text.toStdString()); });
}

void ModDialog::BuildList(int list, int x) {
  QLabel* header = Label(this, kHeaders[list], {x, 55, 193, 20});
  header->setAlignment(Qt::AlignCenter);
  header->setStyleSheet("background-color: white; color: black;");
  QLineEdit* path = new QLineEdit(this);
  path->setGeometry(x, 75, 173, 20);
  path->setReadOnly(true);
  paths_[Index(list)] = path;
  auto* up = new QPushButton("...", this);
  up->setGeometry(x + 173, 75, 20, 20);
  ups_[Index(list)] = up;
  auto* files = new ModFileList(this, model_, list);
  files->setGeometry(x, 95, 193, 300);
  lists_[Index(list)] = files;
  connect(files, &ModFileList::folderShown, this, &ModDialog::ShowPath);
  connect(up, &QPushButton::clicked, this, [this, list] {
    if (model_.Up(list)) file_list(list)->ShowFolder();
  });
  files->ShowFolder();
}

void ModDialog::ShowPath(int list) {
  path_field(list)->setText(QString::fromStdString(model_.PathField(list)));
}

}  // namespace oxlip::gui
