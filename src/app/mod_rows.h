#pragma once
// One of the dialog's two mod lists: rows that each refer to a mod, and the one selected row.
// The selection stays with its row when rows are inserted or removed before it, as in a list
// view.
#include <string>
#include <vector>

#include "mods/mod_library.h"

namespace oxlip::app {

// How a mod reads in the dialog's lists: "[" version "] " name.
std::string ModRowText(const ModRecord& mod);

class ModRows {
 public:
  int size() const { return static_cast<int>(rows_.size()); }
  bool Has(int row) const { return row >= 0 && row < size(); }
  const ModRecord& at(int row) const { return rows_.at(static_cast<size_t>(row)); }
  std::string TextOf(int row) const { return ModRowText(at(row)); }
  // -1 when none.
  int selected() const { return selected_; }

  // Rows outside the list select nothing.
  void Select(int row) { selected_ = Has(row) ? row : -1; }
  // Appends when `row` is negative or past the end; the row where the mod went.
  int Insert(int row, const ModRecord& mod);
  void Remove(int row);
  void Clear();

  // The row after the last one whose sort key is byte-wise less than `sort_key`; 0 when
  // there is none. Inserting there keeps a list in library order.
  int SortedPlace(const std::string& sort_key) const;
  // Every row's folder, in row order.
  std::vector<std::string> Dirs() const;

 private:
  std::vector<ModRecord> rows_;
  int selected_ = -1;
};

}  // namespace oxlip::app
