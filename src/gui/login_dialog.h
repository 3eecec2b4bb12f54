#pragma once
// The login dialog over the login form of the core.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/login_form.h"

namespace oxlip::gui {

// "MineCraft Login": the name and password fields over the core's form, and Login, Play offline
// and Cancel. No close box; Return is Login, Escape and a close request are Cancel.
class LoginWindow : public QDialog {
  Q_OBJECT

 public:
  LoginWindow(QWidget* owner, app::LoginForm& form);

  QLineEdit* name_field() const { return name_; }
  QLineEdit* password_field() const { return password_; }
  QPushButton* login_button() const { return login_; }
  QPushButton* offline_button() const { return offline_; }
  QPushButton* cancel_button() const { return cancel_; }

  void accept() override;
  void reject() override;
  void PlayOffline();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Layout();

  app::LoginForm& form_;
  QLabel* name_label_;
  QLabel* password_label_;
  QLineEdit* name_;
  QLineEdit* password_;
  QPushButton* login_;
  QPushButton* offline_;
  QPushButton* cancel_;
};

}  // namespace oxlip::gui
