#include "app/mod_rows.h"

namespace oxlip::app {

std::string ModRowText(const ModRecord& mod) { return "[" + mod.Version + "] " + mod.Name; }

int ModRows::Insert(int row, const ModRecord& mod) {
  if (row < 0 || row > size()) row = size();
  rows_.insert(rows_.begin() + row, mod);
  if (selected_ >= row) ++selected_;
  return row;
}

void ModRows::Remove(int row) {
  if (!Has(row)) return;
  rows_.erase(rows_.begin() + row);
  if (selected_ == row)
    selected_ = -1;
  else if (selected_ > row)
    --selected_;
}

void ModRows::Clear() {
  rows_.clear();
  selected_ = -1;
}

int ModRows::SortedPlace(const std::string& sort_key) const {
  int place = 0;
  for (int row = 0; row < size(); ++row)
    if (at(row).SortKey < sort_key) place = row + 1;
  return place;
}

std::vector<std::string> ModRows::Dirs() const {
  std::vector<std::string> dirs;
  dirs.reserve(rows_.size());
  for (const ModRecord& mod : rows_) dirs.push_back(mod.Dir);
  return dirs;
}

}  // namespace oxlip::app
