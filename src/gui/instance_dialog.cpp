#include "gui/instance_dialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

namespace oxlip::gui {
namespace {

using app::ModListSide;

// The label column and the indent of gadgets that belong to the option above them.
constexpr int kLabelWidth = 100;
constexpr int kIndent = 20;
constexpr int kSmallButtonWidth = 30;
constexpr int kButtonWidth = 100;
constexpr int kIconBox = 56;
constexpr int kIconSide = 48;
constexpr int kMemoryFieldWidth = 50;

// A page whose rows are a label column and a gadget column, top to bottom.
class PageRows {
 public:
  explicit PageRows(QWidget* page) : grid_(new QGridLayout(page)) {
    grid_->setContentsMargins(5, 5, 5, 5);
    grid_->setHorizontalSpacing(5);
    grid_->setVerticalSpacing(0);
    grid_->setColumnMinimumWidth(0, kLabelWidth);
    grid_->setColumnStretch(1, 1);
  }
  // A row with a label (or none) and a gadget; labels of a group stand by its first row.
  void Add(const char* label, QWidget* gadget, Qt::Alignment label_align = Qt::AlignVCenter) {
    if (label) grid_->addWidget(new QLabel(label), row_, 0, Qt::AlignLeft | label_align);
    grid_->addWidget(gadget, row_++, 1);
  }
  void Add(const char* label, QLayout* gadgets, Qt::Alignment label_align = Qt::AlignVCenter) {
    if (label) grid_->addWidget(new QLabel(label), row_, 0, Qt::AlignLeft | label_align);
    grid_->addLayout(gadgets, row_++, 1);
  }
  void End() { grid_->setRowStretch(row_, 1); }

 private:
  QGridLayout* grid_;
  int row_ = 0;
};

QHBoxLayout* Row(int indent) {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(indent, 0, 0, 0);
  row->setSpacing(0);
  return row;
}

// Wide enough for five digits at any text size, and never narrower than the design's 50.
class DigitsField : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  QSize sizeHint() const override {
    QSize hint = QLineEdit::sizeHint();
    int digits = fontMetrics().horizontalAdvance("00000") + minimumSizeHint().width();
    hint.setWidth(std::max(kMemoryFieldWidth, digits));
    return hint;
  }
};

// The "..." button beside a path field: at least the design's 30 wide, wider when its text
// needs it.
class BrowseButton : public QToolButton {
 public:
  BrowseButton() { setText("..."); }
  QSize sizeHint() const override {
    QSize hint = QToolButton::sizeHint();
    hint.setWidth(std::max(kSmallButtonWidth, hint.width()));
    return hint;
  }
};

QLineEdit* ReadOnlyField() {
  auto* field = new QLineEdit;
  field->setReadOnly(true);
  return field;
}

QLineEdit* NewDigitsField(QObject* owner) {
  auto* field = new DigitsField;
  field->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), owner));
  return field;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

InstanceConfigDialog::InstanceConfigDialog(QWidget* owner, app::InstanceDialogModel& model)
    : QDialog(owner), model_(model) {
  setWindowTitle(app::kInstanceDialogTitle);
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(5, 5, 5, 5);
  frame->setSpacing(5);
  tabs_ = new QTabWidget;
  tabs_->addTab(BuildGeneralPage(), "General");
  tabs_->addTab(BuildJavaPage(), "Java");
  tabs_->addTab(BuildModPage(), "Modification");
  frame->addWidget(tabs_, 1);
  frame->addWidget(BuildButtons());
  ShowFields();
  ShowPreview();
  ShowMods();
  BindGeneral();
  BindJava();
  BindMods(installed_);
  BindMods(available_);
  resize(kInnerWidth, kInnerHeight);
}

QCheckBox* InstanceConfigDialog::NewCheckBox(const char* text,
                                             bool app::InstanceDialogFields::*field) {
  auto* box = new QCheckBox(text);
  connect(box, &QCheckBox::toggled, this,
          [this, field](bool checked) { model_.fields().*field = checked; });
  return box;
}

QWidget* InstanceConfigDialog::BuildGeneralPage() {
  auto* page = new QWidget;
  PageRows rows(page);
  using F = app::InstanceDialogFields;
  rows.Add("Title", title_ = new QLineEdit);
  icon_ = new QToolButton;
  icon_->setFixedSize(kIconBox, kIconBox);
  icon_->setIconSize(QSize(kIconSide, kIconSide));
  icon_->setAccessibleName("Icon");
  QHBoxLayout* icon_row = Row(0);
  icon_row->addWidget(icon_);
  icon_row->addStretch();
  rows.Add("Icon", icon_row, Qt::AlignTop);

  rows.Add("MineCraft Version", release_ = new QRadioButton("Release"));
  rows.Add(nullptr, beta_ = new QRadioButton("Beta / Weekly"));
  QHBoxLayout* pinned_row = Row(0);
  pinned_ = new QRadioButton;
  pinned_->setAccessibleName("Pinned version");
  pinned_->setMinimumWidth(kIndent);
  versions_ = new QComboBox;
  for (const std::string& file : model_.version_files()) versions_->addItem(Text(file));
  pinned_row->addWidget(pinned_);
  pinned_row->addWidget(versions_, 1);
  rows.Add(nullptr, pinned_row);
  for (QRadioButton* option : {release_, beta_, pinned_}) version_group_.addButton(option);

  rows.Add("Backup", backup_saves_ = NewCheckBox("Automatic Backup Saves", &F::auto_backup_saves));
  rows.Add(nullptr,
           backup_update_ = NewCheckBox("Backup before an update", &F::backup_before_update));

  rows.Add("Launcher", internal_ = new QRadioButton("use internal Launcher"));
  rows.Add(nullptr, minecraft_ = new QRadioButton("use MineCraft Launcher"));
  rows.Add(nullptr, alternate_ = new QRadioButton("use alternate Launcher"));
  for (QRadioButton* option : {internal_, minecraft_, alternate_})
    launcher_group_.addButton(option);
  QHBoxLayout* launcher_row = Row(kIndent);
  launcher_row->addWidget(launcher_ = ReadOnlyField(), 1);
  launcher_row->addWidget(launcher_button_ = new BrowseButton);
  rows.Add(nullptr, launcher_row);
  rows.Add(nullptr, auto_login_ = new QCheckBox("automatic login (internal only)"));
  rows.Add(nullptr, maximize_ = NewCheckBox("Maximize window", &F::maximize));
  rows.End();
  return page;
}

QWidget* InstanceConfigDialog::BuildJavaPage() {
  auto* page = new QWidget;
  PageRows rows(page);
  using F = app::InstanceDialogFields;
  rows.Add("Memory", set_memory_ = NewCheckBox("Set Memory Limits", &F::set_memory));
  // The two limits share their columns, so the fields line up.
  auto* limits = new QGridLayout;
  limits->setContentsMargins(0, 0, 0, 0);
  limits->setHorizontalSpacing(4);
  limits->setVerticalSpacing(0);
  int line = 0;
  for (auto [text, field] :
       {std::pair<const char*, QLineEdit**>{"Min:", &min_memory_}, {"Max:", &max_memory_}}) {
    limits->addWidget(new QLabel(text), line, 0);
    limits->addWidget(*field = NewDigitsField(this), line, 1);
    limits->addWidget(new QLabel("MB"), line++, 2);
  }
  limits->setColumnStretch(3, 1);
  rows.Add(nullptr, limits);
  rows.Add("Java-Version", custom_java_ = NewCheckBox("Use this Java-Path:", &F::custom_java));
  QHBoxLayout* java_row = Row(0);
  java_row->addWidget(java_ = ReadOnlyField(), 1);
  java_row->addWidget(java_button_ = new BrowseButton);
  rows.Add(nullptr, java_row);
  rows.End();
  return page;
}

QWidget* InstanceConfigDialog::BuildModPage() {
  auto* page = new QWidget;
  auto* lists = new QHBoxLayout(page);
  lists->setContentsMargins(5, 5, 5, 5);
  lists->setSpacing(12);
  // Names this dialog in this process: drags of another window mean nothing here.
  QByteArray token = QByteArray::number(QCoreApplication::applicationPid()) + ":" +
                     QByteArray::number(reinterpret_cast<quintptr>(this));
  installed_ = new ModDragList(page, "Installed Mods", ModListSide::kInstalled, token);
  available_ = new ModDragList(page, "Available Mods", ModListSide::kAvailable, token);
  lists->addWidget(installed_, 1);
  lists->addWidget(available_, 1);
  return page;
}

QWidget* InstanceConfigDialog::BuildButtons() {
  auto* bar = new QWidget;
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  ok_ = new QPushButton("OK");
  cancel_ = new QPushButton("Cancel");
  for (QPushButton* button : {ok_, cancel_}) button->setMinimumWidth(kButtonWidth);
  row->addStretch();
  row->addWidget(ok_);
  row->addWidget(cancel_);
  row->addStretch();
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  return bar;
}

}  // namespace oxlip::gui
