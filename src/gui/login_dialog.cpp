#include "gui/login_dialog.h"

#include <QKeyEvent>
#include <QLabel>

namespace oxlip::gui {
namespace {

QLineEdit* Field(QWidget* parent, int y, const std::string& text) {
  auto* field = new QLineEdit(QString::fromStdString(text), parent);
  field->setGeometry(55, y, 240, 20);
  return field;
}

QPushButton* Button(QWidget* parent, int x, const char* text) {
  auto* button = new QPushButton(text, parent);
  button->setGeometry(x, 65, 100, 20);
  // Return means Login wherever the focus is, also on "Cancel".
  button->setAutoDefault(false);
  return button;
}

}  // namespace

LoginWindow::LoginWindow(QWidget* owner, app::LoginForm& form)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), form_(form) {
  setWindowTitle(app::LoginForm::kTitle);
  setFixedSize(300, 90);
  (new QLabel("Name:", this))->setGeometry(5, 5, 50, 20);
  name_ = Field(this, 5, form.user());
  (new QLabel("Password:", this))->setGeometry(5, 35, 50, 20);
  password_ = Field(this, 35, form.password());
  password_->setEchoMode(QLineEdit::Password);
  login_ = Button(this, 48, "Login");
  cancel_ = Button(this, 152, "Cancel");
  connect(login_, &QPushButton::clicked, this, &LoginWindow::accept);
  connect(cancel_, &QPushButton::clicked, this, &LoginWindow::reject);
  if (form.InitialFocus() == app::LoginField::kName)
    name_->setFocus();
  else
    password_->setFocus();
}

void LoginWindow::accept() {
  form_.SetUser(name_->text().toStdString());
  form_.SetPassword(password_->text().toStdString());
  form_.Accept();
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
