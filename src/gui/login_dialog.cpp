#include "gui/login_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <initializer_list>

namespace oxlip::gui {
namespace {

// The design's sizes at the usual text size; larger text makes a gadget larger, never smaller.
constexpr int kMargin = 5;
constexpr int kLabelWidth = 50;
constexpr int kFieldWidth = 240;
constexpr int kRowHeight = 20;
constexpr int kRowGap = 10;
constexpr int kButtonWidth = 100;
constexpr int kButtonGap = 4;
constexpr QSize kDesignSize(300, 90);

QLineEdit* Field(QWidget* parent, const std::string& text) {
  return new QLineEdit(QString::fromStdString(text), parent);
}

QPushButton* Button(QWidget* parent, const char* text) {
  auto* button = new QPushButton(text, parent);
  // Return means Login wherever the focus is, also on "Cancel".
  button->setAutoDefault(false);
  return button;
}

int AtLeast(int design, std::initializer_list<int> needed) {
  return std::max(design, std::max(needed));
}

}  // namespace

LoginWindow::LoginWindow(QWidget* owner, app::LoginForm& form)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), form_(form) {
  setWindowTitle(app::LoginForm::kTitle);
  name_label_ = new QLabel("Name:", this);
  name_ = Field(this, form.user());
  password_label_ = new QLabel("Password:", this);
  password_ = Field(this, form.password());
  password_->setEchoMode(QLineEdit::Password);
  login_ = Button(this, "Login");
  offline_ = Button(this, "Play offline");
  cancel_ = Button(this, "Cancel");
  Layout();
  connect(login_, &QPushButton::clicked, this, &LoginWindow::accept);
  connect(offline_, &QPushButton::clicked, this, &LoginWindow::PlayOffline);
  connect(cancel_, &QPushButton::clicked, this, &LoginWindow::reject);
  auto follow_name = [this] {
    offline_->setEnabled(app::LoginForm::CanPlayOffline(name_->text().toStdString()));
  };
  connect(name_, &QLineEdit::textChanged, this, follow_name);
  follow_name();
  if (form.InitialFocus() == app::LoginField::kName)
    name_->setFocus();
  else
    password_->setFocus();
}

// The design's places, moved apart as far as the font needs.
void LoginWindow::Layout() {
  int label_width =
      AtLeast(kLabelWidth, {name_label_->sizeHint().width(), password_label_->sizeHint().width()});
  int row_height =
      AtLeast(kRowHeight, {name_label_->sizeHint().height(), name_->minimumSizeHint().height()});
  int field_width = AtLeast(kFieldWidth, {name_->minimumSizeHint().width()});
  int button_width = AtLeast(
      kButtonWidth,
      {login_->sizeHint().width(), offline_->sizeHint().width(), cancel_->sizeHint().width()});
  int button_height = AtLeast(kRowHeight, {login_->minimumSizeHint().height()});
  int width = AtLeast(kDesignSize.width(), {2 * kMargin + label_width + field_width,
                                            2 * kMargin + 3 * button_width + 2 * kButtonGap});
  int field_x = kMargin + label_width;
  int second_row = kMargin + row_height + kRowGap;
  int button_row = second_row + row_height + kRowGap;
  name_label_->setGeometry(kMargin, kMargin, label_width, row_height);
  name_->setGeometry(field_x, kMargin, width - kMargin - field_x, row_height);
  password_label_->setGeometry(kMargin, second_row, label_width, row_height);
  password_->setGeometry(field_x, second_row, width - kMargin - field_x, row_height);
  int x = (width - 3 * button_width - 2 * kButtonGap) / 2;
  for (QPushButton* button : {login_, offline_, cancel_}) {
    button->setGeometry(x, button_row, button_width, button_height);
    x += button_width + kButtonGap;
  }
  setFixedSize(width, AtLeast(kDesignSize.height(), {button_row + button_height + kMargin}));
}

void LoginWindow::accept() {
  form_.SetUser(name_->text().toStdString());
  form_.SetPassword(password_->text().toStdString());
  form_.Accept();
  QDialog::accept();
}

void LoginWindow::PlayOffline() {
  form_.SetUser(name_->text().toStdString());
  form_.SetPassword(password_->text().toStdString());
  form_.PlayOffline();
  QDialog::accept();
}

void LoginWindow::reject() {
  form_.Cancel();
  QDialog::reject();
}

void LoginWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    accept();
  else if (event->key() == Qt::Key_Escape)
    reject();
  else
    QDialog::keyPressEvent(event);
}

}  // namespace oxlip::gui
