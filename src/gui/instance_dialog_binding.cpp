// What the instance dialog's gadgets do: each event goes to the model, and what the model
// changed is drawn again.
#include <QCursor>
#include <QMenu>
#include <QSignalBlocker>

#include "gui/file_requester.h"
#include "gui/image_convert.h"
#include "gui/instance_dialog.h"

namespace oxlip::gui {
namespace {

using app::LauncherOption;
using app::ModListSide;
using app::VersionOption;

QString Text(const std::string& text) { return QString::fromStdString(text); }

void SetChecked(QAbstractButton* button, bool checked) {
  QSignalBlocker quiet(button);
  button->setChecked(checked);
}

void SetText(QLineEdit* field, const std::string& text) {
  QSignalBlocker quiet(field);
  field->setText(Text(text));
}

}  // namespace

void InstanceConfigDialog::ShowFields() {
  const app::InstanceDialogFields& f = model_.fields();
  SetText(title_, f.title);
  SetChecked(release_, f.version == VersionOption::kRelease);
  SetChecked(beta_, f.version == VersionOption::kBeta);
  SetChecked(pinned_, f.version == VersionOption::kPinned);
  {
    QSignalBlocker quiet(versions_);
    versions_->setCurrentIndex(f.version_index);
  }
  SetChecked(backup_saves_, f.auto_backup_saves);
  SetChecked(backup_update_, f.backup_before_update);
  SetChecked(internal_, f.launcher == LauncherOption::kInternal);
  SetChecked(minecraft_, f.launcher == LauncherOption::kMineCraft);
  SetChecked(alternate_, f.launcher == LauncherOption::kAlternate);
  SetText(launcher_, f.alt_launcher);
  SetChecked(auto_login_, f.auto_login);
  SetChecked(maximize_, f.maximize);
  SetChecked(set_memory_, f.set_memory);
  SetText(min_memory_, f.min_memory);
  SetText(max_memory_, f.max_memory);
  SetChecked(custom_java_, f.custom_java);
  SetText(java_, f.java_path);
}

void InstanceConfigDialog::ShowPreview() {
  const std::optional<image::Image>& preview = model_.preview();
  bool drawable = preview && preview->width > 0 && preview->height > 0;
  icon_->setIcon(drawable ? QIcon(QPixmap::fromImage(ToQImage(*preview))) : QIcon());
}

void InstanceConfigDialog::ShowMods() {
  installed_->Show(model_.installed());
  available_->Show(model_.available());
}

void InstanceConfigDialog::BindGeneral() {
  connect(title_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.fields().title = text.toStdString(); });
  connect(icon_, &QToolButton::clicked, this, [this] {
    model_.IconChosen(RunFileRequester(this, model_.IconFileRequester()));
    ShowPreview();
  });
  for (auto [option, value] : {std::pair{release_, VersionOption::kRelease},
                               {beta_, VersionOption::kBeta},
                               {pinned_, VersionOption::kPinned}}) {
    connect(option, &QRadioButton::toggled, this, [this, value = value](bool on) {
      if (on) model_.fields().version = value;
    });
  }
  connect(versions_, &QComboBox::activated, this, [this](int index) {
    model_.SelectVersion(index);
    ShowFields();
  });
  for (auto [option, value] : {std::pair{internal_, LauncherOption::kInternal},
                               {minecraft_, LauncherOption::kMineCraft},
                               {alternate_, LauncherOption::kAlternate}}) {
    connect(option, &QRadioButton::toggled, this, [this, value = value](bool on) {
      if (on) model_.fields().launcher = value;
    });
  }
  connect(launcher_button_, &QToolButton::clicked, this, [this] {
    model_.LauncherChosen(RunFileRequester(this, model_.LauncherFileRequester()));
    ShowFields();
  });
  connect(auto_login_, &QCheckBox::clicked, this, [this](bool checked) {
    model_.ClickAutoLogin(checked);
    ShowFields();
  });
}

void InstanceConfigDialog::BindJava() {
  connect(min_memory_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.fields().min_memory = text.toStdString(); });
  connect(max_memory_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.fields().max_memory = text.toStdString(); });
  connect(java_button_, &QToolButton::clicked, this, [this] {
    model_.JavaChosen(RunFileRequester(this, model_.JavaFileRequester()));
    ShowFields();
  });
}

void InstanceConfigDialog::BindMods(ModDragList* list) {
  ModListSide side = list->side();
  connect(list, &QTreeWidget::itemSelectionChanged, this,
          [this, list, side] { model_.SelectRow(side, list->SelectedRow()); });
  connect(list, &QTreeWidget::itemDoubleClicked, this, [this, side] {
    model_.DoubleClick(side);
    ShowMods();
  });
  connect(list, &QWidget::customContextMenuRequested, this, [this, side] { PopUpModMenu(side); });
  connect(list, &ModDragList::dragStarting, this, [this, side] { model_.StartDrag(side); });
  connect(list, &ModDragList::modDropped, this, [this, side](int kind) {
    model_.DropMod(side, kind);
    ShowMods();
  });
  // Queued: the import (and its dialogs) runs after the desktop has its drop answered.
  connect(
      list, &ModDragList::filesDropped, this,
      [this, side](const QString& names) {
        model_.DropFiles(side, names.toStdString());
        ShowMods();
      },
      Qt::QueuedConnection);
}

void InstanceConfigDialog::PopUpModMenu(ModListSide side) {
  model_.RightClick(side);
  QMenu menu(this);
  for (const app::PopupItem& item : app::kModPopupItems)
    menu.addAction(item.text)->setData(item.id);
  QAction* chosen = menu.exec(QCursor::pos());
  if (!chosen) return;
  if (chosen->data().toInt() == app::kPopupNewMod)
    model_.NewModFromMenu();
  else
    model_.ImportModFromMenu(RunFileRequester(this, model_.ModFileRequester()));
  ShowMods();
}

}  // namespace oxlip::gui
