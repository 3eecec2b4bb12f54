#pragma once
// How the core talks to the person. gui/ implements it with Qt; tests with a scripted double.
#include <string>

namespace oxlip {

class Ui {
 public:
  virtual ~Ui() = default;
  // A modal box with an OK button; returns when the person closed it.
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
};

}  // namespace oxlip
