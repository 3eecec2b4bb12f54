#pragma once
// A Ui that records what was shown and answers from a script.
#include <string>
#include <vector>

#include "app/ui.h"

namespace oxlip::test {

struct ShownMessage {
  std::string title;
  std::string text;
};

class ScriptedUi : public Ui {
 public:
  void ShowMessage(const std::string& title, const std::string& text) override {
    messages.push_back({title, text});
  }

  std::vector<ShownMessage> messages;
};

}  // namespace oxlip::test
