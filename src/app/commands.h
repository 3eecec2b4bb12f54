#pragma once
// Every menu command runs through this table by its identifier, so a command added later
// needs no change in the window code.
#include <functional>
#include <map>
#include <string>

#include "app/ui.h"

namespace oxlip {

struct Instance;

namespace app {

struct AppState;

// What the last right click remembered; commands act on this, not on the live selection.
struct MenuSelection {
  int row = -1;
  Instance* instance = nullptr;
  int drag_row = -1;
  std::string file;  // the dropped file, for the commands of a drop
};

using CommandHandler = std::function<int(AppState&, Ui&, const MenuSelection&)>;

class CommandTable {
 public:
  void Register(int id, CommandHandler handler) { handlers_[id] = std::move(handler); }
  bool Has(int id) const { return handlers_.count(id) != 0; }
  // The command's result; 1 for an identifier that has no command yet.
  int Run(int id, AppState& state, Ui& ui, const MenuSelection& selection) const {
    auto found = handlers_.find(id);
    return found == handlers_.end() ? 1 : found->second(state, ui, selection);
  }

 private:
  std::map<int, CommandHandler> handlers_;
};

}  // namespace app

}  // namespace oxlip
