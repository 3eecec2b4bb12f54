#include "gui/restore_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QVBoxLayout>

namespace oxlip::gui {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

RestoreDialog::RestoreDialog(QWidget* owner, app::RestoreChoiceModel& model)
    : QDialog(owner), model_(model) {
  setWindowTitle(Text(model.WindowTitle()));
  list_ = new QTreeWidget(this);
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  QStringList titles;
  for (const char* title : app::RestoreChoiceModel::kColumns) titles << title;
  list_->setHeaderLabels(titles);
  for (int row = 0; row < model.rows(); ++row) {
    QStringList cells;
    for (int column = 0; column < titles.size(); ++column) cells << Text(model.Cell(row, column));
    auto* item = new QTreeWidgetItem(cells);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    list_->addTopLevelItem(item);
  }
  for (int column = 0; column < titles.size(); ++column) list_->resizeColumnToContents(column);
  note_ = new QLabel(this);
  note_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(this);
  restore_ = buttons->addButton("Restore", QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(note_);
  layout->addWidget(buttons);
  resize(480, 320);

  if (QTreeWidgetItem* item = list_->topLevelItem(model.selected())) list_->setCurrentItem(item);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
    QList<QTreeWidgetItem*> chosen = list_->selectedItems();
    model_.Select(chosen.isEmpty() ? -1 : list_->indexOfTopLevelItem(chosen.front()));
    ShowChoice();
  });
  connect(list_, &QTreeWidget::itemActivated, this, [this] {
    if (model_.chosen()) accept();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  ShowChoice();
}

void RestoreDialog::ShowChoice() {
  note_->setText(Text(model_.Note()));
  restore_->setEnabled(model_.chosen() != nullptr);
}

}  // namespace oxlip::gui
