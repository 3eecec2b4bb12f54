// The Modification tab of the instance dialog: the two mod lists and how mods move between
// them.
#include <algorithm>

#include "app/instance_dialog_model.h"

namespace oxlip::app {
namespace {

std::string FirstLine(const std::string& names) {
  std::string first = names.substr(0, names.find('\n'));
  if (!first.empty() && first.back() == '\r') first.pop_back();
  return first;
}

}  // namespace

// Folders that name no mod of the library are left out, so they drop out of the record's
// mods on confirm.
void InstanceDialogModel::Fill(const std::vector<std::string>& dirs) {
  installed_.Clear();
  available_.Clear();
  for (const ModRecord& mod : library_)
    if (std::find(dirs.begin(), dirs.end(), mod.Dir) == dirs.end()) available_.Insert(-1, mod);
  for (const std::string& dir : dirs) {
    auto found = std::find_if(library_.begin(), library_.end(),
                              [&](const ModRecord& mod) { return mod.Dir == dir; });
    if (found != library_.end()) installed_.Insert(-1, *found);
  }
}

// Position -2 or less leaves the mod out of the installed list, -1 appends it; a position
// past the end (a list that shrank since the click) appends too.
void InstanceDialogModel::AddNewMod(const std::string& dir, int position) {
  if (position == -1 || position > static_cast<int>(scratch_.size()))
    scratch_.push_back(dir);
  else if (position >= 0)
    scratch_.insert(scratch_.begin() + position, dir);
  if (services_.scan_mods) library_ = services_.scan_mods();
  Fill(scratch_);
}

void InstanceDialogModel::SelectRow(ModListSide list, int row) {
  (list == ModListSide::kInstalled ? installed_ : available_).Select(row);
}

void InstanceDialogModel::RightClick(ModListSide list) {
  remembered_row_ = list == ModListSide::kAvailable ? -2 : installed_.selected();
}

int InstanceDialogModel::StartDrag(ModListSide list) {
  if (list == ModListSide::kAvailable) {
    remembered_row_ = available_.selected();
    return kDragFromAvailable;
  }
  remembered_row_ = installed_.selected();
  return kDragFromInstalled;
}

void InstanceDialogModel::MoveToInstalled(int from, int before) {
  installed_.Insert(before, available_.at(from));
  available_.Remove(from);
}

void InstanceDialogModel::MoveToAvailable(int from) {
  const ModRecord& mod = installed_.at(from);
  available_.Insert(available_.SortedPlace(mod.SortKey), mod);
  installed_.Remove(from);
}

// The moved mod ends up selected where it landed.
void InstanceDialogModel::MoveWithinInstalled(int from, int target) {
  ModRecord mod = installed_.at(from);
  installed_.Remove(from);
  installed_.Select(installed_.Insert(target, mod));
}

void InstanceDialogModel::DoubleClick(ModListSide list) {
  if (list == ModListSide::kAvailable) {
    if (available_.Has(available_.selected())) MoveToInstalled(available_.selected(), -1);
  } else if (installed_.Has(installed_.selected())) {
    MoveToAvailable(installed_.selected());
  }
}

// The remembered row was taken when the drag started; a drop only ever moves that row.
void InstanceDialogModel::DropMod(ModListSide list, int kind) {
  if (!AcceptsModDrag(list, kind)) return;
  if (list == ModListSide::kAvailable) {
    if (installed_.Has(remembered_row_)) MoveToAvailable(remembered_row_);
  } else if (kind == kDragFromAvailable) {
    if (available_.Has(remembered_row_)) MoveToInstalled(remembered_row_, installed_.selected());
  } else if (installed_.Has(remembered_row_)) {
    MoveWithinInstalled(remembered_row_, installed_.selected());
  }
}

void InstanceDialogModel::DropFiles(ModListSide list, const std::string& names) {
  std::string file = FirstLine(names);
  if (file.empty() || !services_.import_mod) return;
  int position = list == ModListSide::kInstalled ? installed_.selected() : -2;
  scratch_ = installed_.Dirs();
  std::string dir = services_.import_mod(file);
  if (!dir.empty()) AddNewMod(dir, position);
}

void InstanceDialogModel::NewModFromMenu() {
  if (!services_.new_mod) return;
  int position = remembered_row_;
  scratch_ = installed_.Dirs();
  std::string dir = services_.new_mod();
  if (!dir.empty()) AddNewMod(dir, position);
}

void InstanceDialogModel::ImportModFromMenu(const std::string& file) {
  if (file.empty() || !services_.import_mod) return;
  int position = remembered_row_;
  scratch_ = installed_.Dirs();
  std::string dir = services_.import_mod(file);
  if (!dir.empty()) AddNewMod(dir, position);
}

}  // namespace oxlip::app
